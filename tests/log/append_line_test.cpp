#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "log/score_log.h"
#include "tests/support/files.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace tandrel::log {
namespace {

using test::LogLines;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

TEST(FormatResultLine, FieldsJoinedWithFourSpaces) {
    EXPECT_EQ(FormatResultLine("12/6/26", "Ann", 2, 3), "12/6/26    Ann    2 out of 3");
    EXPECT_EQ(FormatResultLine("12/6/26", "", 0, 255), "12/6/26        0 out of 255");
    EXPECT_EQ(FormatResultLine("d", "  Zo\xc3\xab \xf0\x9f\x98\x80 ", 9, 10),
              "d      Zo\xc3\xab \xf0\x9f\x98\x80     9 out of 10");
}

TEST(FormatResultLine, LineBreaksAndEndOfTextInTheNameBecomeSpaces) {
    EXPECT_EQ(FormatResultLine("d",
                               "a\rb\nc\r\nd\x1a"
                               "e",
                               1, 3),
              "d    a b c  d e    1 out of 3");
}

TEST(AppendLine, CreatesTheFileThenAppends) {
    const TempFolder folder;
    const std::string path = folder.File("trl.txt");
    AppendLine(path, "first");
    EXPECT_EQ(ReadBytes(path), "first\r\n");
    AppendLine(path, "");
    AppendLine(path, "third");
    EXPECT_EQ(ReadBytes(path), "first\r\n\r\nthird\r\n");
    AppendLine(path, "a\rforged\nline\x1a");
    EXPECT_EQ(LogLines(path).back(), "a forged line ");
}

TEST(AppendLine, EndsALastLineLeftWithoutTerminatorFirst) {
    const TempFolder folder;
    const std::string path = folder.File("trl.txt");
    // A lone LF is part of its line's text, so it ends nothing.
    const std::pair<std::string, std::string> cases[] = {
        {"", "new\r\n"},
        {"by hand", "by hand\r\nnew\r\n"},
        {"a\r\nb\n", "a\r\nb\n\r\nnew\r\n"},
        {"a\r\n", "a\r\nnew\r\n"},
        {"a\r", "a\rnew\r\n"},
    };
    for (const auto& [before, after] : cases) {
        WriteBytes(path, before);
        AppendLine(path, "new");
        EXPECT_EQ(ReadBytes(path), after) << before;
    }
}

TEST(AppendLine, CutsAtFirstByte26WithinTheLast128BytesThenEndsTheLastLine) {
    const TempFolder folder;
    const std::string path = folder.File("trl.txt");
    const std::string filler(127, '.');
    const std::pair<std::string, std::string> cases[] = {
        {"a\r\nb\x1ajunk\x1amore", "a\r\nb\r\nnew\r\n"},
        {"a\r\n\x1ajunk", "a\r\nnew\r\n"},
        {"\x1ajunk", "new\r\n"},
        // The mark as the first of the last 128 bytes is cut; one byte earlier it stays.
        {"x\x1a" + filler, "x\r\nnew\r\n"},
        {"\x1ax" + filler, "\x1ax" + filler + "\r\nnew\r\n"},
    };
    for (const auto& [before, after] : cases) {
        WriteBytes(path, before);
        AppendLine(path, "new");
        EXPECT_EQ(ReadBytes(path), after) << before;
    }
}

// Windows creates no folders for the log, and its own path limit applies there.
#ifndef _WIN32
TEST(AppendLine, PathLongerThan259CharactersIsUsedWhole) {
    const TempFolder folder;
    std::filesystem::path deep = folder.Path();
    for (int level = 0; level < 6; ++level) {
        deep /= std::string(60, static_cast<char>('a' + level));
    }
    const std::string path = (deep / "trl.txt").string();
    ASSERT_GT(path.size(), 259u);
    AppendLine(path, "deep");
    EXPECT_EQ(ReadBytes(path), "deep\r\n");
    EXPECT_EQ(LogLines(path), std::vector<std::string>{"deep"});
}
#endif

#ifndef _WIN32
class ScoreLogPathTest : public ::testing::Test {
  protected:
    TempFolder folder_;
    test::ScopedEnv home_{"HOME", folder_.File("home")};
    test::ScopedEnv dataHome_{"XDG_DATA_HOME"};
};

TEST_F(ScoreLogPathTest, FollowsTheDataHomeAtEachCall) {
    const std::string home = folder_.File("home");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(ScoreLogPath(), home + "/.local/share/corvanelle-tandrel/trl.txt");
    setenv("XDG_DATA_HOME", "", 1);
    EXPECT_EQ(ScoreLogPath(), home + "/.local/share/corvanelle-tandrel/trl.txt");
    setenv("XDG_DATA_HOME", "relative/data", 1);
    EXPECT_EQ(ScoreLogPath(), home + "/.local/share/corvanelle-tandrel/trl.txt");
    setenv("XDG_DATA_HOME", folder_.File("data").c_str(), 1);
    EXPECT_EQ(ScoreLogPath(), folder_.File("data") + "/corvanelle-tandrel/trl.txt");
}

TEST_F(ScoreLogPathTest, FirstAppendCreatesTheMissingFolders) {
    unsetenv("XDG_DATA_HOME");
    AppendLine(ScoreLogPath(), "12/6/26    Ann    2 out of 3");
    EXPECT_EQ(ReadBytes(folder_.File("home/.local/share/corvanelle-tandrel/trl.txt")),
              "12/6/26    Ann    2 out of 3\r\n");
    const auto permissions =
        std::filesystem::status(folder_.File("home/.local/share/corvanelle-tandrel")).permissions();
    EXPECT_EQ(permissions, std::filesystem::perms::owner_all);
}
#endif

}  // namespace
}  // namespace tandrel::log
