// Opens and closes scores windows one after another on a 100,000-line log,
// as a player would through View > Scores, and reports how much the
// process's resident memory grew. Closed windows stay owned until exit.
//
//   scores_memory_bench [windows [lines]]   default: 50 windows, 100,000 lines

#include <QApplication>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/ui/bench_score_log.h"
#include "tests/support/temp_folder.h"
#include "ui/scores.h"
#include "ui/window_owner.h"

namespace {

constexpr int kDefaultWindows = 50;
constexpr int kDefaultLogLines = 100'000;

// The process's resident memory in KiB, from /proc/self/status.
long ResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int windows = argc > 1 ? std::atoi(argv[1]) : kDefaultWindows;
    const int logLines = argc > 2 ? std::atoi(argv[2]) : kDefaultLogLines;
    const tandrel::test::TempFolder folder;
    const std::string logPath = folder.File("trl.txt");
    tandrel::bench::WriteBenchScoreLog(logPath, static_cast<std::size_t>(std::max(logLines, 0)));

    const long atStart = ResidentKiB();
    for (int window = 0; window < windows; ++window) {
        tandrel::ui::ShowScores([&logPath] { return logPath; });
        QApplication::processEvents();  // painted, as the player sees it
        scoreform->close();
        QApplication::processEvents();
    }
    const long atEnd = ResidentKiB();
    std::printf("%d scores windows opened and closed on a %d-line log, %zu still owned\n", windows,
                logLines, tandrel::ui::WindowOwner::Instance().Count());
    std::printf("resident memory before the first window: %ld KiB\n", atStart);
    std::printf("resident memory after the last one:      %ld KiB\n", atEnd);
    std::printf("growth: %.1f MiB in all, %.1f MiB per window\n",
                static_cast<double>(atEnd - atStart) / 1024.0,
                static_cast<double>(atEnd - atStart) / 1024.0 / windows);
    tandrel::ui::WindowOwner::Instance().DestroyAll();
    return 0;
}
