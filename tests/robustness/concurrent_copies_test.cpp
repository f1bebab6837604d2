// Two copies of the program appending to one log at the same time, with a
// third reading it all along: every line arrives whole and exactly once, and
// the reader never sees a torn line.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>

#include "log/score_log.h"
#include "robustness_support.h"
#include "test_lines.h"
#include "tests/support/files.h"

namespace tandrel::test {
namespace {

constexpr int kLinesPerWriter = 5000;

// Each writer's lines are all there, once each and in its own order.
void ExpectEveryLineOnceInOrder(const std::vector<std::string>& lines) {
    std::map<char, int> nextIndex{{'A', 0}, {'B', 0}};
    int torn = 0;
    for (const std::string& line : lines) {
        const auto id = ParseWholeLine(line);
        if (!id) {
            if (torn++ == 0) ADD_FAILURE() << "torn or interleaved line: " << line;
            continue;
        }
        EXPECT_EQ(id->index, nextIndex[id->writer]++) << "writer " << id->writer;
    }
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(nextIndex['A'], kLinesPerWriter);
    EXPECT_EQ(nextIndex['B'], kLinesPerWriter);
}

// How often the writers took turns: a log written one after the other
// would switch once.
int WriterSwitches(const std::vector<std::string>& lines) {
    int switches = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        switches += lines[i].front() != lines[i - 1].front() ? 1 : 0;
    }
    return switches;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

TEST(ConcurrentCopies, TwoWritersAndAReaderMeetOnlyWholeLines) {
    TempFolder temp;
    const std::string logPath = temp.File("trl.txt");
    const std::string goFile = temp.File("go");
    const std::string stopFile = temp.File("stop");
    const std::string count = std::to_string(kLinesPerWriter);

    ChildProcess reader({"read", logPath, stopFile});
    ChildProcess writerA({"append", logPath, "A", count, goFile});
    ChildProcess writerB({"append", logPath, "B", count, goFile});
    const auto start = std::chrono::steady_clock::now();
    std::ofstream{goFile};

    EXPECT_EQ(writerA.Wait(), 0) << writerA.Output();
    EXPECT_EQ(writerB.Wait(), 0) << writerB.Output();
    const std::chrono::duration<double> writing = std::chrono::steady_clock::now() - start;
    std::ofstream{stopFile};
    EXPECT_EQ(reader.Wait(), 0) << reader.Output();

    const std::vector<std::string> lines = LogLines(logPath);
    ASSERT_EQ(lines.size(), 2u * kLinesPerWriter);
    ExpectEveryLineOnceInOrder(lines);
    EXPECT_TRUE(HoldsOnlyWholeLines(logPath));
    EXPECT_GT(WriterSwitches(lines), 1) << "the writers never ran side by side";

    std::printf("[ figure ] %zu lines in %.2f s, writers took turns %d times\n", lines.size(),
                writing.count(), WriterSwitches(lines));
    std::printf("[ figure ] writer A %s, writer B %s\n", Trimmed(writerA.Output()).c_str(),
                Trimmed(writerB.Output()).c_str());
    std::printf("[ figure ] reader: %s\n", Trimmed(reader.Output()).c_str());
}

// Another copy caught in the middle of its append, with half its line on
// disk (as after a short write of the system) and the lock still held. A
// reader at that moment must show the whole lines and leave the line in
// progress out; once the append is done the line is there in full.
TEST(ConcurrentCopies, ReaderLeavesOutALineStillBeingWritten) {
    TempFolder temp;
    const std::string logPath = temp.File("trl.txt");
    const std::vector<std::string> whole{MakeLine({'A', 0}), MakeLine({'A', 1})};
    for (const std::string& line : whole) log::AppendLine(logPath, line);
    const std::string inProgress = MakeLine({'B', 7});

    ChildProcess writer({"append-slowly", logPath, inProgress});
    ASSERT_EQ(writer.ReadLine(), "half written");
    EXPECT_EQ(LogLines(logPath), whole) << "the reader took a half line for a whole one";

    writer.CloseInput();
    EXPECT_EQ(writer.Wait(), 0);
    std::vector<std::string> all = whole;
    all.push_back(inProgress);
    EXPECT_EQ(LogLines(logPath), all);
}

}  // namespace
}  // namespace tandrel::test
