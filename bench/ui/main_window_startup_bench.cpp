// Start-up of the main window against an empty main window with a menu bar,
// side by side: each run is a fresh process (this program started again with
// a mode argument), alternating the two kinds. Each run reports the time from
// the start of the event loop to the window's first paint, and from just
// before the window is built to that paint.
//
//   main_window_startup_bench [runs-per-kind]   default: 9

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "core/game_state.h"
#include "log/score_log.h"
#include "results/log_result_writer.h"
#include "ui/Unit1.h"

namespace {

const char* const kMainMode = "--run-main-window";
const char* const kEmptyMode = "--run-empty-window";

// Notes the time of the window's first paint and ends the loop.
class FirstPaint : public QObject {
  public:
    explicit FirstPaint(const QElapsedTimer& clock) : clock_(clock) {}
    qint64 atNs = -1;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && atNs < 0) {
            atNs = clock_.nsecsElapsed();
            QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    const QElapsedTimer& clock_;
};

std::unique_ptr<QMainWindow> BuildEmptyWindow() {
    auto window = std::make_unique<QMainWindow>();
    window->setWindowTitle(QStringLiteral("Empty"));
    window->menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&Go"));
    window->move(202, 109);
    window->resize(237, 307);
    return window;
}

// One run in this process: prints "<build ns> <exec-to-paint ns>".
int RunOnce(int argc, char** argv, bool mainWindow) {
    QApplication application(argc, argv);
    QElapsedTimer clock;
    clock.start();
    // The program's own parts; the log goes to the data home the parent set.
    tandrel::results::LogResultWriter results(tandrel::log::DateSettings{},
                                              &tandrel::log::ScoreLogPath);
    std::unique_ptr<QMainWindow> window =
        mainWindow
            ? std::make_unique<Tmain>(tandrel::core::TheGameState(), results,
                                      tandrel::core::SystemClock(), &tandrel::log::ScoreLogPath)
            : BuildEmptyWindow();
    FirstPaint paint(clock);
    window->installEventFilter(&paint);
    window->show();
    const qint64 execAt = clock.nsecsElapsed();
    QCoreApplication::exec();
    std::printf("%lld %lld\n", static_cast<long long>(paint.atNs),
                static_cast<long long>(paint.atNs - execAt));
    return paint.atNs < 0 ? 1 : 0;
}

struct Run {
    double buildToPaintMs;
    double execToPaintMs;
};

bool RunChild(const QString& program, const char* mode, Run& run) {
    QProcess child;
    child.start(program, {QString::fromLatin1(mode)});
    if (!child.waitForFinished(30'000) || child.exitCode() != 0) {
        return false;
    }
    long long build = 0, exec = 0;
    if (std::sscanf(child.readAllStandardOutput().constData(), "%lld %lld", &build, &exec) != 2) {
        return false;
    }
    run = {static_cast<double>(build) / 1e6, static_cast<double>(exec) / 1e6};
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

int Compare(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    QCoreApplication application(argc, argv);
    // One private data home for every run, inherited by the children.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    const QString self = QCoreApplication::applicationFilePath();
    std::vector<double> mainExec, mainBuild, emptyExec, emptyBuild;
    Run main{}, empty{};
    // A first run of each kind warms the disk cache and is not counted.
    if (!RunChild(self, kMainMode, main) || !RunChild(self, kEmptyMode, empty)) {
        std::fprintf(stderr, "a run failed\n");
        return 2;
    }
    for (int i = 0; i < runs; ++i) {
        if (!RunChild(self, kMainMode, main) || !RunChild(self, kEmptyMode, empty)) {
            std::fprintf(stderr, "a run failed\n");
            return 2;
        }
        mainExec.push_back(main.execToPaintMs);
        mainBuild.push_back(main.buildToPaintMs);
        emptyExec.push_back(empty.execToPaintMs);
        emptyBuild.push_back(empty.buildToPaintMs);
    }
    const double execRatio = Median(mainExec) / Median(emptyExec);
    const double buildRatio = Median(mainBuild) / Median(emptyBuild);
    std::printf("Start-up to the first paint, median of %d runs each (ms); target ratio <= 1.2\n",
                runs);
    std::printf("%-28s %12s %12s %8s\n", "", "main window", "empty window", "ratio");
    std::printf("%-28s %12.2f %12.2f %8.2f\n", "exec to first paint", Median(mainExec),
                Median(emptyExec), execRatio);
    std::printf("%-28s %12.2f %12.2f %8.2f\n", "window built to first paint", Median(mainBuild),
                Median(emptyBuild), buildRatio);
    return execRatio <= 1.2 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (argc > 1 && std::string_view(argv[1]) == kMainMode) {
        return RunOnce(argc, argv, true);
    }
    if (argc > 1 && std::string_view(argv[1]) == kEmptyMode) {
        return RunOnce(argc, argv, false);
    }
    return Compare(argc, argv);
}
