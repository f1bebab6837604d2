// The score log on Windows: its place in the Windows directory, the folder
// it never creates, and the sharing modes under which copies of the program
// may read the log while one appends, but never append two at a time.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "log/io_error.h"
#include "log/platform.h"
#include "log/score_log.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace tandrel::log {
namespace {

using test::LogLines;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;
using Lines = std::vector<std::string>;

// Runs `step` and returns the message of the IoError it raised, or "none".
template <typename Step>
std::string ErrorMessageOf(Step step) {
    try {
        step();
    } catch (const IoError& error) {
        return error.what();
    }
    return "none";
}

// Windows paths compare without regard to case.
std::string Lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The Windows directory as the system announces it to every process.
std::string WindirVariable() {
    const char* windir = std::getenv("windir");
    return windir != nullptr ? windir : "";
}

TEST(WindowsScoreLog, LivesInTheWindowsDirectory) {
    const std::string windir = WindirVariable();
    ASSERT_FALSE(windir.empty());
    EXPECT_EQ(Lowercase(GetWinDir()), Lowercase(windir));
    EXPECT_EQ(Lowercase(ScoreLogPath()), Lowercase(windir + "\\trl.txt"));
}

TEST(WindowsScoreLog, FirstAppendCreatesTheLogThere) {
    const std::string path = WindirVariable() + "\\trl.txt";
    if (std::filesystem::exists(path)) {
        GTEST_SKIP() << "a score log already exists in the Windows directory";
    }
    try {
        AppendLine(ScoreLogPath(), "12/7/26    Ann    2 out of 3");
    } catch (const IoError& error) {
        // A user without administrator rights, outside Wine.
        if (error.Code() == 5) {
            GTEST_SKIP() << "no right to write to the Windows directory";
        }
        throw;
    }
    EXPECT_EQ(ReadBytes(path), "12/7/26    Ann    2 out of 3\r\n");
    std::filesystem::remove(path);
}

TEST(WindowsScoreLog, MissingFolderIsInvalidFilenameAndStaysMissing) {
    const TempFolder folder;
    const std::string path = folder.File("missing") + "\\trl.txt";
    EXPECT_EQ(ErrorMessageOf([&] { AppendLine(path, "x"); }), "Invalid filename");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "missing"));
    EXPECT_EQ(LogLines(path), Lines{});
}

class LogSharing : public ::testing::Test {
  protected:
    TempFolder folder_;
    std::string path_ = folder_.File("trl.txt");
};

TEST_F(LogSharing, SecondAppenderIsRefusedWhileAReaderIsLetIn) {
    AppendLine(path_, "first");
    {
        // Another copy of the program between opening the log and closing it.
        platform::File appending = platform::OpenForAppending(path_, false);
        EXPECT_EQ(ErrorMessageOf([&] { AppendLine(path_, "second"); }), "I/O error 32");
        EXPECT_EQ(LogLines(path_), Lines{"first"});
    }
    AppendLine(path_, "third");
    EXPECT_EQ(ReadBytes(path_), "first\r\nthird\r\n");
}

TEST_F(LogSharing, AppendAndReadWhileAnotherCopyReads) {
    WriteBytes(path_, "a\r\nb\r\n");
    Lines seenByTheSecondReader;
    ReadLines(path_, [&](std::string_view line) {
        if (line == "a") {
            AppendLine(path_, "c");
            seenByTheSecondReader = LogLines(path_);
        }
    });
    EXPECT_EQ(seenByTheSecondReader, (Lines{"a", "b", "c"}));
    EXPECT_EQ(ReadBytes(path_), "a\r\nb\r\nc\r\n");
}

TEST_F(LogSharing, FileHeldWithoutSharingByAnotherProgram) {
    WriteBytes(path_, "kept\r\n");
    const HANDLE held = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ErrorMessageOf([&] { AppendLine(path_, "x"); }), "I/O error 32");
    EXPECT_EQ(ErrorMessageOf([&] { LogLines(path_); }), "I/O error 32");
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(path_), "kept\r\n");
}

}  // namespace
}  // namespace tandrel::log
