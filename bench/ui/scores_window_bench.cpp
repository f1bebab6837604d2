// Opens a scores window on score logs of many lines and reports how long it
// takes until the window is shown, filled and scrolled to its newest line.
// The target for a 100,000-line log is under 300 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <cstdio>
#include <string>

#include "ui/scores.h"
#include "ui/window_owner.h"

namespace {

void WriteLog(const QString& path, int lineCount) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) std::abort();
    std::string line;
    for (int game = 1; game <= lineCount; ++game) {
        line = "12/6/26    Player " + std::to_string(game) + "    " + std::to_string(game % 4) +
               " out of 3\r\n";
        file.write(line.data(), static_cast<qint64>(line.size()));
    }
}

int ShownLineCount(const Tscoreform& form) {
    const QString text = form.Memo1->toPlainText();
    return text.isEmpty() ? 0 : static_cast<int>(text.count(QChar::LineFeed)) + 1;
}

bool NewestLineInView(const Tscoreform& form) {
    QTextCursor end(form.Memo1->document());
    end.movePosition(QTextCursor::End);
    return form.Memo1->viewport()->rect().contains(form.Memo1->cursorRect(end));
}

void BM_OpenScoresWindow(benchmark::State& state) {
    const int lineCount = static_cast<int>(state.range(0));
    QTemporaryDir dataHome;
    const QString logPath = dataHome.path() + "/trl.txt";
    WriteLog(logPath, lineCount);

    for (auto _ : state) {
        tandrel::ui::ShowScores([&logPath] { return logPath.toStdString(); });
        QApplication::processEvents();  // the first paint of the filled window

        state.PauseTiming();
        const bool filledAndInView =
            ShownLineCount(*scoreform) == lineCount && NewestLineInView(*scoreform);
        tandrel::ui::WindowOwner::Instance().DestroyAll();
        scoreform = nullptr;
        if (!filledAndInView) {
            state.SkipWithError("window not filled or newest line not in view");
            break;
        }
        state.ResumeTiming();
    }
    state.counters["lines"] = lineCount;
}

BENCHMARK(BM_OpenScoresWindow)
    ->Arg(1'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    std::printf("Target: a 100,000-line log opens filled and in view in under 300 ms.\n");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
