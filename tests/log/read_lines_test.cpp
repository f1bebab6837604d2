#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log/line_splitter.h"
#include "log/score_log.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace tandrel::log {
namespace {

using test::LogLines;
using test::TempFolder;
using test::WriteBytes;
using Lines = std::vector<std::string>;

Lines LinesOfText(const TempFolder& folder, std::string_view text) {
    const std::string path = folder.File("trl.txt");
    WriteBytes(path, text);
    return LogLines(path);
}

TEST(ReadLines, LineEnds) {
    const TempFolder folder;
    EXPECT_EQ(LinesOfText(folder, "a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(LinesOfText(folder, "a\rb\r"), (Lines{"a", "b"}));
    EXPECT_EQ(LinesOfText(folder, "a\nb\r\nc\n"), (Lines{"a\nb", "c\n"}));
    EXPECT_EQ(LinesOfText(folder, "a\r\r\n\r\nb"), (Lines{"a", "", "", "b"}));
    EXPECT_EQ(LinesOfText(folder, "last"), (Lines{"last"}));
    EXPECT_EQ(LinesOfText(folder, "\n"), (Lines{"\n"}));
    EXPECT_EQ(LinesOfText(folder, ""), Lines{});
}

TEST(ReadLines, Byte26EndsTheText) {
    const TempFolder folder;
    EXPECT_EQ(LinesOfText(folder, "a\r\nb\x1ajunk\r\nmore\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(LinesOfText(folder, "a\r\n\x1a"), (Lines{"a"}));
    EXPECT_EQ(LinesOfText(folder,
                          "\x1a"
                          "a\r\n"),
              Lines{});
}

TEST(ReadLines, NoRegularFileYieldsNothing) {
    const TempFolder folder;
    EXPECT_EQ(LogLines(folder.File("missing.txt")), Lines{});
    std::filesystem::create_directory(folder.Path() / "trl.txt");
    EXPECT_EQ(LogLines(folder.File("trl.txt")), Lines{});
    WriteBytes(folder.File("plain"), "x");
    EXPECT_EQ(LogLines(folder.File("plain") + "/trl.txt"), Lines{});
}

// Lines longer than the read buffer, and a CR LF split across two reads.
TEST(ReadLines, LinesAcrossReadBuffers) {
    const TempFolder folder;
    const std::size_t bufferSize = 64 * 1024;
    const std::string longLine(3 * bufferSize + 17, 'x');
    const std::string upToBoundary(bufferSize - 1, 'y');
    EXPECT_EQ(LinesOfText(folder, upToBoundary + "\r\nnext\r\n"), (Lines{upToBoundary, "next"}));
    EXPECT_EQ(LinesOfText(folder, upToBoundary + "\rnext"), (Lines{upToBoundary, "next"}));
    EXPECT_EQ(LinesOfText(folder, upToBoundary + "\r\n"), (Lines{upToBoundary}));
    EXPECT_EQ(LinesOfText(folder, longLine + "\r\n" + longLine), (Lines{longLine, longLine}));
}

// Wherever the text is cut into chunks, the lines are those of the whole text.
TEST(LineSplitter, ChunkBordersDoNotChangeTheLines) {
    const std::string text = "ab\r\ncd\re\nf\r\r\n\ng\r\nh\x1ai\r\n";
    Lines whole;
    LineSplitter wholeSplitter([&](std::string_view line) { whole.emplace_back(line); });
    wholeSplitter.Feed(text);
    wholeSplitter.Finish();
    ASSERT_EQ(whole, (Lines{"ab", "cd", "e\nf", "", "\ng", "h"}));

    for (std::size_t first = 0; first <= text.size(); ++first) {
        for (std::size_t second = first; second <= text.size(); ++second) {
            Lines pieces;
            LineSplitter splitter([&](std::string_view line) { pieces.emplace_back(line); });
            const std::string_view view = text;
            splitter.Feed(view.substr(0, first)) &&
                splitter.Feed(view.substr(first, second - first)) &&
                splitter.Feed(view.substr(second));
            splitter.Finish();
            EXPECT_EQ(pieces, whole) << "cut at " << first << " and " << second;
        }
    }
}

}  // namespace
}  // namespace tandrel::log
