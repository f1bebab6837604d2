// How appending and reading the score log scale with its size: an append to a
// 100 MB log should cost about what it costs on a one-line log, and a log of
// a million lines should be read end to end in well under half a second
// without holding it in memory.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "log/score_log.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using tandrel::log::AppendLine;
using tandrel::log::FormatResultLine;
using tandrel::log::ReadLines;
using tandrel::test::TempFolder;
using tandrel::test::WriteLines;

const std::string kResultLine = FormatResultLine("12/6/26", "Benchmark Player", 17, 20);

const TempFolder& Folder() {
    static const TempFolder folder;
    return folder;
}

// Writes result lines (at least one) until the file holds at least `minBytes`.
std::string MakeLog(const std::string& name, std::uint64_t minBytes) {
    const std::string path = Folder().File(name);
    const std::uint64_t lineBytes = kResultLine.size() + 2;  // CR LF
    const std::uint64_t lines = std::max<std::uint64_t>(1, (minBytes + lineBytes - 1) / lineBytes);
    WriteLines(path, lines, [](std::size_t) { return kResultLine; });
    return path;
}

long PeakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_ReadMillionLineLog(benchmark::State& state) {
    const std::string path = Folder().File("million.txt");
    WriteLines(path, 1'000'000, [](std::size_t line) {
        return "12/6/26    Player " + std::to_string(line % 1000) + "    " +
               std::to_string(line % 21) + " out of 20";
    });
    const long rssBefore = PeakRssKiB();
    std::size_t lines = 0;
    for (auto _ : state) {
        lines = 0;
        ReadLines(path, [&](std::string_view line) {
            benchmark::DoNotOptimize(line.data());
            ++lines;
        });
    }
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["MB"] = static_cast<double>(fs::file_size(path)) / 1e6;
    state.counters["peak_rss_growth_KiB"] = static_cast<double>(PeakRssKiB() - rssBefore);
    state.counters["peak_rss_KiB"] = static_cast<double>(PeakRssKiB());
    fs::remove(path);
}
BENCHMARK(BM_ReadMillionLineLog)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void AppendTo(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        AppendLine(path, kResultLine);
    }
    state.counters["MB_at_end"] = static_cast<double>(fs::file_size(path)) / 1e6;
}

void BM_AppendToOneLineLog(benchmark::State& state) {
    const std::string path = MakeLog("small.txt", 0);
    AppendTo(state, path);
    fs::remove(path);
}

void BM_AppendTo100MBLog(benchmark::State& state) {
    const std::string path = MakeLog("large.txt", 100'000'000);
    AppendTo(state, path);
    fs::remove(path);
}
BENCHMARK(BM_AppendToOneLineLog)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(BM_AppendTo100MBLog)->Unit(benchmark::kMicrosecond)->Repetitions(3);

// Keeps the best time of each benchmark so that main can print the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) {
                continue;
            }
            const std::string name = run.run_name.function_name;
            const double perIteration = run.GetAdjustedRealTime();
            auto [entry, inserted] = best_.try_emplace(name, perIteration);
            if (!inserted && perIteration < entry->second) {
                entry->second = perIteration;
            }
        }
    }
    double Best(const std::string& name) const {
        const auto found = best_.find(name);
        return found == best_.end() ? 0.0 : found->second;
    }

  private:
    std::map<std::string, double> best_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double small = reporter.Best("BM_AppendToOneLineLog");
    const double large = reporter.Best("BM_AppendTo100MBLog");
    if (small > 0.0 && large > 0.0) {
        std::printf(
            "append 100 MB log: %.2f us, one-line log: %.2f us, ratio %.2f (target <= 1.5)\n",
            large, small, large / small);
    }
    const double read = reporter.Best("BM_ReadMillionLineLog");
    if (read > 0.0) {
        std::printf("read 1,000,000-line log: %.1f ms (target < 500 ms)\n", read);
    }
    benchmark::Shutdown();
    return 0;
}
