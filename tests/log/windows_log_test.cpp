// The score log on Windows: its place in the Windows directory or the
// user's VirtualStore, the folder it never creates, and the sharing modes
// under which copies of the program may read the log while one appends, but
// never append two at a time. Run also by a user whom the Windows directory
// refuses, in Wine prefixes whose local application data folder has a name
// the ANSI code page lacks, or one whose code page has "\" as the second
// byte of a character.

#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "log/platform.h"
#include "log/platform_win32.h"
#include "log/score_log.h"
#include "tests/support/files.h"
#include "tests/support/io_errors.h"
#include "tests/support/temp_folder.h"

namespace tandrel::log {
namespace {

namespace fs = std::filesystem;
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

// A folder the system announces to every process, as UTF-16.
fs::path FolderVariable(const wchar_t* name) {
    const wchar_t* folder = _wgetenv(name);
    return folder != nullptr ? folder : L"";
}

// The user's local application data folder as the system names it now, also
// after a change since the user logged on (the environment tells the old one).
fs::path LocalAppDataFolder() {
    PWSTR folder = nullptr;
    const HRESULT result =
        SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DONT_VERIFY, nullptr, &folder);
    fs::path path = SUCCEEDED(result) ? folder : L"";
    CoTaskMemFree(folder);
    return path;
}

std::string Utf8Of(const fs::path& path) {
    const std::u8string utf8 = path.u8string();
    return {utf8.begin(), utf8.end()};
}

TEST(WindowsScoreLog, LivesInTheWindowsDirectory) {
    const std::string windir = Lowercase(Utf8Of(FolderVariable(L"windir")));
    ASSERT_FALSE(windir.empty());
    EXPECT_EQ(Lowercase(GetWinDir()), windir);
    EXPECT_EQ(Lowercase(ScoreLogPath()), windir + "\\trl.txt");
}

// Everything in the folders on the way to `path`, from the drive's root down.
std::set<fs::path> EntriesOnTheWayTo(const fs::path& path) {
    std::set<fs::path> entries;
    for (fs::path folder = path.parent_path();; folder = folder.parent_path()) {
        std::error_code missing;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, missing)) {
            entries.insert(entry.path());
        }
        if (folder == folder.parent_path()) {
            return entries;
        }
    }
}

// The log in the Windows directory and the copy a user without the right to
// write there keeps in the VirtualStore; both removed at the end.
class WindowsDirectoryLog : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(localAppData_.empty());
        // A Wine prefix set up with a folder name beyond ASCII names a character
        // that name must hold, in hex digits that no code page garbles, so that
        // a name garbled on the way fails here instead of passing as another.
        if (const char* character = std::getenv("TANDREL_TEST_PROFILE_CHARACTER")) {
            const auto unit = static_cast<wchar_t>(std::stoul(character, nullptr, 16));
            ASSERT_TRUE(localAppData_.native().find(unit) != std::wstring::npos)
                << Utf8Of(localAppData_) << " lacks U+" << character;
        }
        if (fs::exists(windowsCopy_) || fs::exists(storeCopy_)) {
            GTEST_SKIP() << "a score log already exists on this machine";
        }
    }
    void TearDown() override {
        platform::SetFaultInjector(nullptr);
        SetFileAttributesW(windowsCopy_.c_str(), FILE_ATTRIBUTE_NORMAL);
        std::error_code ignored;
        fs::remove(windowsCopy_, ignored);
        fs::remove(storeCopy_, ignored);
    }

    // Makes the Windows directory refuse this user for the rest of the test,
    // as it refuses every user without administrator rights.
    static void RefuseTheWindowsDirectory() {
        platform::SetFaultInjector([](platform::SysCall call) {
            const bool refused = call == platform::SysCall::kAccessCheck;
            return platform::InjectedFault{refused ? ERROR_ACCESS_DENIED : 0};
        });
    }

    // Whether this user may create files in the Windows directory.
    bool WindowsDirectoryWritable() const {
        const fs::path probe = windowsCopy_.parent_path() / "tandrel-probe.tmp";
        const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return false;
        }
        CloseHandle(file);
        return true;
    }

    // The entries made since `before` on the way to the VirtualStore copy
    // that do not lead to it, such as a folder made from a path cut short.
    std::vector<fs::path> StrayEntriesSince(const std::set<fs::path>& before) const {
        std::set<fs::path> theWay;
        for (fs::path step = storeCopy_; step != step.parent_path(); step = step.parent_path()) {
            theWay.insert(step);
        }
        std::vector<fs::path> stray;
        for (const fs::path& entry : EntriesOnTheWayTo(storeCopy_)) {
            if (before.count(entry) == 0 && theWay.count(entry) == 0) {
                stray.push_back(entry);
            }
        }
        return stray;
    }

    fs::path windowsCopy_ = FolderVariable(L"windir") / "trl.txt";
    fs::path localAppData_ = LocalAppDataFolder();
    fs::path storeCopy_ = localAppData_ / "VirtualStore" / windowsCopy_.relative_path();
};

TEST_F(WindowsDirectoryLog, FirstAppendCreatesTheLogWhereItIsReadBack) {
    const bool writable = WindowsDirectoryWritable();
    const std::set<fs::path> before = EntriesOnTheWayTo(storeCopy_);
    AppendLine(ScoreLogPath(), "12/7/26    Ann    2 out of 3");
    EXPECT_EQ(LogLines(ScoreLogPath()), Lines{"12/7/26    Ann    2 out of 3"});
    EXPECT_EQ(ReadBytes(writable ? windowsCopy_ : storeCopy_), "12/7/26    Ann    2 out of 3\r\n");
    EXPECT_FALSE(fs::exists(writable ? storeCopy_ : windowsCopy_));
    EXPECT_EQ(StrayEntriesSince(before), std::vector<fs::path>{});
}

TEST_F(WindowsDirectoryLog, RefusedAppendsGoToTheVirtualStoreWhichIsReadBack) {
    RefuseTheWindowsDirectory();
    AppendLine(ScoreLogPath(), "first");
    AppendLine(ScoreLogPath(), "second");
    EXPECT_EQ(ReadBytes(storeCopy_), "first\r\nsecond\r\n");
    EXPECT_FALSE(fs::exists(windowsCopy_));
    EXPECT_EQ(LogLines(ScoreLogPath()), (Lines{"first", "second"}));
}

// A log written before (by an older copy of the game, a run as administrator
// or another user) stays in view: the user's copy starts as a copy of it, as
// Windows starts one. Until then it is read where it is, and reading writes
// nothing, also before the first game.
TEST_F(WindowsDirectoryLog, RefusedUserStartsTheVirtualStoreCopyFromTheLogThere) {
    if (!WindowsDirectoryWritable()) {
        GTEST_SKIP() << "no right to write to the Windows directory";
    }
    WriteBytes(windowsCopy_, "older\r\n");
    RefuseTheWindowsDirectory();
    const std::set<fs::path> before = EntriesOnTheWayTo(storeCopy_);
    EXPECT_EQ(LogLines(ScoreLogPath()), Lines{"older"});
    EXPECT_EQ(EntriesOnTheWayTo(storeCopy_), before);
    AppendLine(ScoreLogPath(), "new");
    EXPECT_EQ(ReadBytes(storeCopy_), "older\r\nnew\r\n");
    EXPECT_EQ(ReadBytes(windowsCopy_), "older\r\n");
    EXPECT_EQ(LogLines(ScoreLogPath()), (Lines{"older", "new"}));
}

// A run that may write the Windows directory (as administrator) reads the
// file it appends to, not a VirtualStore copy left by another run.
TEST_F(WindowsDirectoryLog, WritableWindowsDirectoryIsUsedEvenBesideAVirtualStoreCopy) {
    if (!WindowsDirectoryWritable()) {
        GTEST_SKIP() << "no right to write to the Windows directory";
    }
    fs::create_directories(storeCopy_.parent_path());
    WriteBytes(storeCopy_, "kept\r\n");
    AppendLine(ScoreLogPath(), "new");
    EXPECT_EQ(ReadBytes(windowsCopy_), "new\r\n");
    EXPECT_EQ(ReadBytes(storeCopy_), "kept\r\n");
    EXPECT_EQ(LogLines(ScoreLogPath()), Lines{"new"});
}

// The read-only attribute is the player's own choice: the log stays where it
// is and is read there, and a game's line is refused, also where the Windows
// directory refuses the user as well.
TEST_F(WindowsDirectoryLog, ReadOnlyLogIsReadWhereItIsAndRefusesTheLine) {
    if (!WindowsDirectoryWritable()) {
        GTEST_SKIP() << "no right to write to the Windows directory";
    }
    WriteBytes(windowsCopy_, "older\r\n");
    ASSERT_TRUE(SetFileAttributesW(windowsCopy_.c_str(), FILE_ATTRIBUTE_READONLY));
    for (const bool refusedToo : {false, true}) {
        if (refusedToo) {
            RefuseTheWindowsDirectory();
        }
        EXPECT_EQ(ErrorMessageOf([] { AppendLine(ScoreLogPath(), "new"); }), "File access denied")
            << "refused too: " << refusedToo;
        EXPECT_EQ(LogLines(ScoreLogPath()), Lines{"older"});
        EXPECT_FALSE(fs::exists(storeCopy_));
    }
    EXPECT_EQ(ReadBytes(windowsCopy_), "older\r\n");
}

TEST(WindowsLogText, IsInTheAnsiCodePage) {
    ASSERT_EQ(GetACP(), 1252u) << "Wine's default locale";
    const TempFolder folder;
    const std::string path = folder.File("trl.txt");
    // "Zo\u00eb", then "\u0142" and an emoji (two UTF-16 units), which code
    // page 1252 lacks: one "?" for each character.
    AppendLine(path, "Zo\xc3\xab \xc5\x82 \xf0\x9f\x98\x80");
    EXPECT_EQ(ReadBytes(path), "Zo\xeb ? ?\r\n");
    EXPECT_EQ(LogLines(path), Lines{"Zo\xc3\xab ? ?"});
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
    const HANDLE held = CreateFileW(fs::path(path_).c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ErrorMessageOf([&] { AppendLine(path_, "x"); }), "I/O error 32");
    EXPECT_EQ(ErrorMessageOf([&] { LogLines(path_); }), "I/O error 32");
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(path_), "kept\r\n");
}

}  // namespace
}  // namespace tandrel::log
