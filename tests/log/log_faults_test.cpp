// Failures of the log's file steps: real ones that root cannot get around,
// and those injected through the platform layer.

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>

#include "log/error_codes.h"
#include "log/platform.h"
#include "log/score_log.h"
#include "tests/support/files.h"
#include "tests/support/io_errors.h"
#include "tests/support/temp_folder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tandrel::log {
namespace {

using platform::InjectedFault;
using platform::SysCall;
using test::ErrorCodeOf;
using test::LogLines;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

#ifdef _WIN32
constexpr int kTooManyFiles = ERROR_TOO_MANY_OPEN_FILES;
constexpr int kNoSpace = ERROR_DISK_FULL;
constexpr int kDeviceFailure = ERROR_IO_DEVICE;
#else
constexpr int kTooManyFiles = EMFILE;
constexpr int kNoSpace = ENOSPC;
constexpr int kDeviceFailure = EIO;
#endif

#ifdef _WIN32
// True while a handle still holds `path`: an open without sharing is refused then.
bool HeldOpen(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_SHARING_VIOLATION;
    }
    CloseHandle(file);
    return false;
}
#endif

std::size_t OpenFileCount() {
#ifdef __linux__
    const std::filesystem::directory_iterator entries("/proc/self/fd");
    return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
#else
    return 0;
#endif
}

class LogFaults : public ::testing::Test {
  protected:
    void SetUp() override { openFilesBefore_ = OpenFileCount(); }
    void TearDown() override {
        platform::SetFaultInjector({});
        EXPECT_EQ(OpenFileCount(), openFilesBefore_) << "a failure left the file open";
#ifdef _WIN32
        EXPECT_FALSE(HeldOpen(path_)) << "a failure left the file open";
#endif
    }
    // Fails the `nth` call (from 1) of the kind `which` with `fault`.
    static void InjectAt(SysCall which, int nth, InjectedFault fault) {
        platform::SetFaultInjector([which, nth, fault, seen = 0](SysCall call) mutable {
            return call == which && ++seen == nth ? fault : InjectedFault{};
        });
    }

    TempFolder folder_;
    std::string path_ = folder_.File("trl.txt");
    std::size_t openFilesBefore_ = 0;
};

TEST_F(LogFaults, FolderNamedLikeTheLogIsAccessDenied) {
    std::filesystem::create_directory(path_);
    std::string message;
    EXPECT_EQ(ErrorCodeOf([&] { AppendLine(path_, "x"); }, &message), 5);
    EXPECT_EQ(message, "File access denied");
}

TEST_F(LogFaults, PathThroughARegularFileIsInvalidFilename) {
    WriteBytes(folder_.File("plain"), "not a folder");
    std::string message;
    EXPECT_EQ(ErrorCodeOf([&] { AppendLine(folder_.File("plain") + "/trl.txt", "x"); }, &message),
              3);
    EXPECT_EQ(message, "Invalid filename");
    EXPECT_EQ(ErrorCodeOf([&] { AppendLine(folder_.File("plain") + "/sub/trl.txt", "x"); }), 3);
}

// Never cut to a shorter name that the system would take: too long a name
// for a folder entry here, too long a path for the ANSI calls on Windows.
TEST_F(LogFaults, OverlongNameRaisesTheSystemError) {
    const std::string overlong = folder_.File(std::string(300, 'n'));
    EXPECT_EQ(ErrorCodeOf([&] { AppendLine(overlong, "x"); }), kErrorFilenameExcedRange);
    EXPECT_TRUE(std::filesystem::is_empty(folder_.Path()));
}

TEST_F(LogFaults, OpenFailuresOfAppendAndRead) {
    WriteBytes(path_, "kept\r\n");
    std::string message;
    InjectAt(SysCall::kOpen, 1, {kTooManyFiles});
    EXPECT_EQ(ErrorCodeOf([&] { AppendLine(path_, "x"); }, &message), 4);
    EXPECT_EQ(message, "Too many open files");
    InjectAt(SysCall::kOpen, 1, {kTooManyFiles});
    EXPECT_EQ(ErrorCodeOf([&] { LogLines(path_); }), 4);
    EXPECT_EQ(ReadBytes(path_), "kept\r\n");
}

TEST_F(LogFaults, DiskFullPartWayLeavesOnlyWholeLines) {
    AppendLine(path_, "whole line");
    InjectAt(SysCall::kWrite, 1, {kNoSpace, 5});
    std::string message;
    EXPECT_EQ(ErrorCodeOf([&] { AppendLine(path_, "never half written"); }, &message), 112);
    EXPECT_EQ(message, "I/O error 112");
    EXPECT_EQ(ReadBytes(path_), "whole line\r\n");

    platform::SetFaultInjector({});
    AppendLine(path_, "after the fault");
    EXPECT_EQ(ReadBytes(path_), "whole line\r\nafter the fault\r\n");
}

TEST_F(LogFaults, ReadFailureKeepsTheLinesHandedOnBefore) {
    std::string text;
    for (int line = 0; line < 10000; ++line) {
        text += "line " + std::to_string(line) + "\r\n";
    }
    WriteBytes(path_, text);
    InjectAt(SysCall::kRead, 2, {kDeviceFailure});
    std::size_t linesSeen = 0;
    const int code = ErrorCodeOf([&] { ReadLines(path_, [&](std::string_view) { ++linesSeen; }); });
    EXPECT_EQ(code, kErrorIoDevice);
    EXPECT_GT(linesSeen, 0u);
    EXPECT_LT(linesSeen, 10000u);
}

TEST_F(LogFaults, ThrowingReaderStillClosesTheFile) {
    WriteBytes(path_, "a\r\nb\r\n");
    EXPECT_THROW(ReadLines(path_, [](std::string_view) { throw std::runtime_error("stop"); }),
                 std::runtime_error);
}

#ifndef _WIN32
// A child process that holds the lock of the log until told to let go.
class LockHolder {
  public:
    explicit LockHolder(const std::string& path) {
        int held[2];
        int release[2];
        EXPECT_EQ(pipe(held), 0);
        EXPECT_EQ(pipe(release), 0);
        child_ = fork();
        if (child_ == 0) {
            close(held[0]);
            close(release[1]);
            alarm(10);  // never outlives a test that went wrong
            const int fd = open(path.c_str(), O_RDWR);
            char signal = flock(fd, LOCK_EX) == 0 ? 'L' : 'E';
            (void)!write(held[1], &signal, 1);
            (void)!read(release[0], &signal, 1);  // returns when the parent closes its end
            _exit(0);
        }
        close(held[1]);
        close(release[0]);
        char signal = 0;
        EXPECT_EQ(read(held[0], &signal, 1), 1);
        EXPECT_EQ(signal, 'L');
        close(held[0]);
        releaseFd_ = release[1];
    }
    ~LockHolder() { Release(); }
    void Release() {
        if (releaseFd_ >= 0) {
            close(releaseFd_);
            releaseFd_ = -1;
            waitpid(child_, nullptr, 0);
        }
    }

  private:
    pid_t child_ = -1;
    int releaseFd_ = -1;
};

TEST_F(LogFaults, LogLockedByAnotherCopyFailsAfterAboutASecond) {
    AppendLine(path_, "first");
    LockHolder holder(path_);
    const auto start = std::chrono::steady_clock::now();
    std::string message;
    EXPECT_EQ(ErrorCodeOf([&] { AppendLine(path_, "blocked"); }, &message), 32);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(message, "I/O error 32");
    EXPECT_GE(waited, std::chrono::milliseconds(900));
    EXPECT_LT(waited, std::chrono::seconds(5));
    EXPECT_EQ(LogLines(path_), std::vector<std::string>{"first"});  // reading takes no lock

    holder.Release();
    AppendLine(path_, "later");
    EXPECT_EQ(ReadBytes(path_), "first\r\nlater\r\n");
}

// A network file system without a lock service refuses every lock: the log
// is then appended to and read without one.
TEST_F(LogFaults, FileSystemThatCannotLockStillAppendsAndReads) {
    for (const int refusal : {ENOLCK, EOPNOTSUPP, ENOTSUP, ENOSYS}) {
        SCOPED_TRACE(refusal);
        std::filesystem::remove(path_);
        platform::SetFaultInjector([refusal](SysCall call) {
            return call == SysCall::kLock ? InjectedFault{refusal} : InjectedFault{};
        });
        AppendLine(path_, "first");
        AppendLine(path_, "second");
        EXPECT_EQ(LogLines(path_), (std::vector<std::string>{"first", "second"}));
    }
}

TEST_F(LogFaults, ConcurrentAppendersNeverMixLines) {
    constexpr int kCopies = 3;
    constexpr int kLinesEach = 200;
    WriteBytes(path_, "tail to cut\x1a");
    std::vector<pid_t> children;
    for (int copy = 0; copy < kCopies; ++copy) {
        const pid_t child = fork();
        if (child == 0) {
            try {
                for (int line = 0; line < kLinesEach; ++line) {
                    AppendLine(path_, "copy " + std::to_string(copy) + std::string(100, '#'));
                }
            } catch (...) {
                _exit(1);
            }
            _exit(0);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::vector<std::string> lines = LogLines(path_);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kCopies * kLinesEach) + 1);
    EXPECT_EQ(lines.front(), "tail to cut");
    for (std::size_t index = 1; index < lines.size(); ++index) {
        EXPECT_EQ(lines[index].size(), 106u) << index;
    }
}
#endif

}  // namespace
}  // namespace tandrel::log
