// Opens a scores window on score logs of many lines and reports how long it
// takes until the window is shown, filled and scrolled to its newest line.
// The target for a 100,000-line log is under 300 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QTextBlock>
#include <cstdio>
#include <string>

#include "bench/ui/bench_score_log.h"
#include "tests/support/temp_folder.h"
#include "ui/scores.h"
#include "ui/window_owner.h"

namespace {

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
    const tandrel::test::TempFolder folder;
    const std::string logPath = folder.File("trl.txt");
    tandrel::bench::WriteBenchScoreLog(logPath, static_cast<std::size_t>(lineCount));

    for (auto _ : state) {
        tandrel::ui::ShowScores([&logPath] { return logPath; });
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
