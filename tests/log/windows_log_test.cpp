// The score log on Windows: its place in the Windows directory, the folder
// it never creates, and the sharing modes under which copies of the program
// may read the log while one appends, but never append two at a time.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "log/platform.h"
#include "log/platform_win32.h"
#include "log/score_log.h"
#include "tests/support/files.h"
#include "tests/support/io_errors.h"
#include "tests/support/temp_folder.h"

namespace tandrel::log {
namespace {

using test::ErrorMessageOf;
using test::LogLines;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;
using Lines = std::vector<std::string>;

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

// The log in the Windows directory and the copy a user without the right to
// write there keeps in the VirtualStore; both removed at the end.
class WindowsDirectoryLog : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("LOCALAPPDATA"), nullptr);
        if (std::filesystem::exists(windowsCopy_) || std::filesystem::exists(storeCopy_)) {
            GTEST_SKIP() << "a score log already exists on this machine";
        }
    }
    void TearDown() override {
        platform::SetFaultInjector(nullptr);
        std::filesystem::remove(windowsCopy_);
        std::filesystem::remove(storeCopy_);
    }

    // Appends as a user whom the Windows directory refuses: the first open,
    // the one in the Windows directory, is denied.
    static void AppendRefusedByTheWindowsDirectory(std::string_view line) {
        auto refused = std::make_shared<bool>(false);
        platform::SetFaultInjector([refused](platform::SysCall call) {
            const bool refuse = call == platform::SysCall::kOpen && !*refused;
            *refused = *refused || refuse;
            return platform::InjectedFault{refuse ? ERROR_ACCESS_DENIED : 0};
        });
        AppendLine(ScoreLogPath(), line);
        platform::SetFaultInjector(nullptr);
    }

    // Whether this user may create files in the Windows directory.
    static bool WindowsDirectoryWritable() {
        const std::string probe = WindirVariable() + "\\tandrel-probe.tmp";
        const HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return false;
        }
        CloseHandle(file);
        return true;
    }

    std::string windowsCopy_ = WindirVariable() + "\\trl.txt";
    std::string storeCopy_ =
        std::string(std::getenv("LOCALAPPDATA")) + "\\VirtualStore" + windowsCopy_.substr(2);
};

TEST_F(WindowsDirectoryLog, FirstAppendCreatesTheLogWhereItIsReadBack) {
    AppendLine(ScoreLogPath(), "12/7/26    Ann    2 out of 3");
    EXPECT_EQ(LogLines(ScoreLogPath()), Lines{"12/7/26    Ann    2 out of 3"});
    const bool writable = WindowsDirectoryWritable();
    EXPECT_EQ(ReadBytes(writable ? windowsCopy_ : storeCopy_), "12/7/26    Ann    2 out of 3\r\n");
    EXPECT_FALSE(std::filesystem::exists(writable ? storeCopy_ : windowsCopy_));
}

TEST_F(WindowsDirectoryLog, RefusedAppendsGoToTheVirtualStoreWhichIsReadBack) {
    AppendRefusedByTheWindowsDirectory("first");
    AppendRefusedByTheWindowsDirectory("second");
    EXPECT_EQ(ReadBytes(storeCopy_), "first\r\nsecond\r\n");
    EXPECT_FALSE(std::filesystem::exists(windowsCopy_));
    EXPECT_EQ(LogLines(ScoreLogPath()), (Lines{"first", "second"}));
}

TEST_F(WindowsDirectoryLog, AppendsGoWhereverTheWindowsDirectoryLetsThem) {
    if (!WindowsDirectoryWritable()) {
        GTEST_SKIP() << "no right to write to the Windows directory";
    }
    std::filesystem::create_directories(std::filesystem::path(storeCopy_).parent_path());
    WriteBytes(storeCopy_, "kept\r\n");
    AppendLine(ScoreLogPath(), "new");
    EXPECT_EQ(ReadBytes(windowsCopy_), "new\r\n");
    EXPECT_EQ(ReadBytes(storeCopy_), "kept\r\n");
    // Reading sees the VirtualStore copy while there is one, as Windows shows it.
    EXPECT_EQ(LogLines(ScoreLogPath()), Lines{"kept"});
}

TEST(WindowsLogText, IsInTheAnsiCodePage) {
    ASSERT_EQ(GetACP(), 1252u) << "Wine's default locale";
    const TempFolder folder;
    const std::string path = folder.File("trl.txt");
    // "Zo\u00eb" and "\u0142", which code page 1252 lacks.
    AppendLine(path, "Zo\xc3\xab \xc5\x82");
    EXPECT_EQ(ReadBytes(path), "Zo\xeb ?\r\n");
    EXPECT_EQ(LogLines(path), Lines{"Zo\xc3\xab ?"});
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
