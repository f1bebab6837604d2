#pragma once

// The operating-system calls of the score log, one implementation per system
// (platform_posix.cpp, platform_win32.cpp). Every failure is raised as
// IoError with its Win32 error code. Paths are UTF-8.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tandrel::log::platform {

// An open file of the log, closed when it goes out of scope.
class File {
  public:
    File() = default;
    explicit File(std::intptr_t handle) : handle_(handle) {}
    File(File&& other) noexcept : handle_(other.Release()) {}
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    // Closes quietly: a failure path already carries its own error.
    ~File();

    std::uint64_t Size();
    // The size of the file at a moment when no copy of the program is
    // appending to it, so that it ends with a whole line; nothing when an
    // append is in progress right now. Never waits. On a file system that
    // cannot lock, the size as it stands.
    std::optional<std::uint64_t> SizeBetweenAppends();
    // Reads at the current position; returns 0 at the end of the file.
    std::size_t Read(char* buffer, std::size_t size);
    std::size_t ReadAt(std::uint64_t offset, char* buffer, std::size_t size);
    void Truncate(std::uint64_t size);
    // Writes all of `bytes` at the end of the file, in one call when the
    // system takes them all at once.
    void Append(std::string_view bytes);
    // Closes the file and reports a failure of the close.
    void Close();

  private:
    std::intptr_t Release() noexcept;
    std::intptr_t handle_ = -1;
};

// True when a regular file (not a folder) of that path exists. On Windows,
// the file the run reads for that path (see OpenForAppending).
bool IsRegularFile(const std::string& path);

// The folder that holds the log: the Windows directory, or the log's own
// folder in the XDG data home.
std::string LogFolder();

// Joins LogFolder() and the file name, as they are.
extern const char kPathSeparator;

// Creates the missing folders that lead to `filePath` (not on Windows,
// whose Windows directory always exists).
void CreateFoldersFor(const std::string& filePath);

// The log's text as the file holds it: on Windows the system's single-byte
// (ANSI) code page, where a character the code page lacks is written "?";
// UTF-8 elsewhere. The program's own text is UTF-8.
std::string ToFileText(std::string_view text);
// A line of the file as UTF-8: `fileText` itself when it needs no change,
// else a view of `converted`, which then holds the line.
std::string_view FromFileText(std::string_view fileText, std::string& converted);

// Opens for reading; on Windows shared with other readers and with writers.
// On Windows, the file a run appends to is the one it reads (see
// OpenForAppending).
File OpenForReading(const std::string& path);

// Opens for reading and writing, creating the file when `create` and it is
// missing, and keeps other copies of the program from appending until the
// file is closed (where the file system can lock). Waits about a second for a
// copy that is appending; after that raises kErrorSharingViolation.
// On Windows, a log in the Windows directory that the user may not write
// (the folder is read-only to users without administrator rights) is read
// and appended to in the user's VirtualStore copy instead, where Windows
// itself keeps such files for older programs; like Windows, the first append
// starts that copy as a copy of the Windows directory's log. A file with the
// read-only attribute is never appended to (kErrorAccessDenied).
File OpenForAppending(const std::string& path, bool create);

// Test hook: lets tests make the log's system calls fail the way a full disk,
// a failing drive or a process out of file handles would, which real files
// cannot bring about for a test run as root. Unset in the program.
// kAccessCheck: on Windows, whether the user may write the log where it lies.
enum class SysCall { kOpen, kLock, kRead, kWrite, kTruncate, kClose, kAccessCheck };
struct InjectedFault {
    int error = 0;                      // the system's own error number; 0 lets the call run
    std::size_t bytesWrittenFirst = 0;  // kWrite: bytes really written before the failure
};
using FaultInjector = std::function<InjectedFault(SysCall)>;
void SetFaultInjector(FaultInjector injector);

}  // namespace tandrel::log::platform
