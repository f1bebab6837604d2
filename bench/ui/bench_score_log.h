#pragma once

// A score log of many games for the scores window's benchmarks.

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

namespace tandrel::bench {

// Points the program's data home at a fresh folder holding a log of
// `lineCount` games, one line each.
class BenchScoreLog {
  public:
    explicit BenchScoreLog(int lineCount) {
        qputenv("XDG_DATA_HOME", dataHome_.path().toLocal8Bit());
        const QString folder = dataHome_.path() + QStringLiteral("/corvanelle-tandrel");
        QFile file(folder + QStringLiteral("/trl.txt"));
        if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly)) std::abort();
        std::string line;
        for (int game = 1; game <= lineCount; ++game) {
            line = "12/6/26    Player " + std::to_string(game) + "    " + std::to_string(game % 4) +
                   " out of 3\r\n";
            file.write(line.data(), static_cast<qint64>(line.size()));
        }
    }

  private:
    QTemporaryDir dataHome_;
};

}  // namespace tandrel::bench
