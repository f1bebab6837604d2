#pragma once

// A score log of many games for the scores window's benchmarks.

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

namespace tandrel::bench {

// A log of `lineCount` games, one line each, in a fresh folder of its own.
class BenchScoreLog {
  public:
    explicit BenchScoreLog(int lineCount) {
        QFile file(QString::fromStdString(Path()));
        if (!file.open(QIODevice::WriteOnly)) std::abort();
        std::string line;
        for (int game = 1; game <= lineCount; ++game) {
            line = "12/6/26    Player " + std::to_string(game) + "    " + std::to_string(game % 4) +
                   " out of 3\r\n";
            file.write(line.data(), static_cast<qint64>(line.size()));
        }
    }

    std::string Path() const { return folder_.filePath(QStringLiteral("trl.txt")).toStdString(); }

  private:
    QTemporaryDir folder_;
};

}  // namespace tandrel::bench
