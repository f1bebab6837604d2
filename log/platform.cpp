// Every operating-system call of the score log. POSIX by default; the Win32
// branch opens files with sharing modes in place of the POSIX advisory lock.

#include "log/platform.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>
#include <utility>

#include "log/error_codes.h"
#include "log/io_error.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>
#endif

namespace tandrel::log {

namespace platform {

namespace {

// A copy of the program appends in well under a millisecond; one that holds
// the log longer than this is taken to be stuck.
constexpr auto kAppendWait = std::chrono::seconds(1);
constexpr auto kAppendRetryPause = std::chrono::milliseconds(10);

FaultInjector& Injector() {
    static FaultInjector injector;
    return injector;
}

InjectedFault FaultFor(SysCall call) {
    const FaultInjector& injector = Injector();
    return injector ? injector(call) : InjectedFault{};
}

// Calls `tryOnce` until it succeeds or reports anything but "another copy
// holds the log"; gives up with kErrorSharingViolation after kAppendWait.
template <typename TryOnce, typename HeldByOther>
void RetryWhileHeld(TryOnce tryOnce, HeldByOther heldByOther) {
    const auto deadline = std::chrono::steady_clock::now() + kAppendWait;
    while (!tryOnce()) {
        if (!heldByOther()) {
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            throw IoError(kErrorSharingViolation);
        }
        std::this_thread::sleep_for(kAppendRetryPause);
    }
}

}  // namespace

void SetFaultInjector(FaultInjector injector) { Injector() = std::move(injector); }

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        File closesOld(Release());
        handle_ = other.Release();
    }
    return *this;
}

std::intptr_t File::Release() noexcept {
    const std::intptr_t handle = handle_;
    handle_ = -1;
    return handle;
}

#ifndef _WIN32

namespace {

[[noreturn]] void RaiseErrno(int errnoValue, PathUse use = PathUse::kOpenExisting) {
    throw IoError(Win32CodeForErrno(errnoValue, use));
}

// Runs `call` unless a test injected a failure for it, which then shows as
// the call's own failure.
template <typename Call>
auto Run(SysCall which, Call call) -> decltype(call()) {
    const InjectedFault fault = FaultFor(which);
    if (fault.error != 0) {
        errno = fault.error;
        return -1;
    }
    return call();
}

ssize_t WriteOnce(int fd, std::string_view bytes) {
    const InjectedFault fault = FaultFor(SysCall::kWrite);
    if (fault.error != 0) {
        const std::size_t partSize = std::min(fault.bytesWrittenFirst, bytes.size());
        if (partSize > 0 && ::write(fd, bytes.data(), partSize) < 0) {
            return -1;
        }
        errno = fault.error;
        return -1;
    }
    return ::write(fd, bytes.data(), bytes.size());
}

int Descriptor(std::intptr_t handle) { return static_cast<int>(handle); }

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return home;
    }
    const long suggestedSize = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggestedSize > 0 ? static_cast<std::size_t>(suggestedSize) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] != '\0') {
        return found->pw_dir;
    }
    throw IoError(kErrorPathNotFound);
}

// A relative XDG_DATA_HOME is ignored, as the XDG base directory rules ask.
std::string DataHome() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') {
        return dataHome;
    }
    return HomeFolder() + "/.local/share";
}

// Creates `folder` when missing. Created folders are private to the user,
// as the XDG rules ask of the data home.
void MakeFolder(const std::string& folder) {
    struct stat status {};
    if (::stat(folder.c_str(), &status) == 0) {
        if (!S_ISDIR(status.st_mode)) {
            RaiseErrno(ENOTDIR, PathUse::kCreate);
        }
        return;
    }
    if (errno != ENOENT) {
        RaiseErrno(errno, PathUse::kCreate);
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        RaiseErrno(errno, PathUse::kCreate);
    }
}

void LockForAppending(int fd) {
    int lockError = 0;
    RetryWhileHeld(
        [&] {
            const int result = Run(SysCall::kLock, [&] { return flock(fd, LOCK_EX | LOCK_NB); });
            lockError = result == 0 ? 0 : errno;
            return result == 0;
        },
        [&] {
            if (lockError != EWOULDBLOCK && lockError != EINTR) {
                RaiseErrno(lockError);
            }
            return true;
        });
}

}  // namespace

File::~File() {
    if (handle_ >= 0) {
        ::close(Descriptor(handle_));
    }
}

std::uint64_t File::Size() {
    struct stat status {};
    if (::fstat(Descriptor(handle_), &status) != 0) {
        RaiseErrno(errno);
    }
    return static_cast<std::uint64_t>(status.st_size);
}

// A shared lock, held only while the size is taken, cannot be had while an
// append holds its exclusive lock.
std::optional<std::uint64_t> File::SizeBetweenAppends() {
    const int fd = Descriptor(handle_);
    if (Run(SysCall::kLock, [&] { return flock(fd, LOCK_SH | LOCK_NB); }) != 0) {
        if (errno == EWOULDBLOCK || errno == EINTR) {
            return std::nullopt;
        }
        RaiseErrno(errno);
    }
    const std::uint64_t size = Size();
    flock(fd, LOCK_UN);
    return size;
}

std::size_t File::Read(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t count =
            Run(SysCall::kRead, [&] { return ::read(Descriptor(handle_), buffer, size); });
        if (count >= 0) {
            return static_cast<std::size_t>(count);
        }
        if (errno != EINTR) {
            RaiseErrno(errno);
        }
    }
}

std::size_t File::ReadAt(std::uint64_t offset, char* buffer, std::size_t size) {
    std::size_t total = 0;
    while (total < size) {
        const ssize_t count = Run(SysCall::kRead, [&] {
            return ::pread(Descriptor(handle_), buffer + total, size - total,
                           static_cast<off_t>(offset + total));
        });
        if (count == 0) {
            break;
        }
        if (count < 0 && errno != EINTR) {
            RaiseErrno(errno);
        }
        total += count > 0 ? static_cast<std::size_t>(count) : 0;
    }
    return total;
}

void File::Truncate(std::uint64_t size) {
    while (Run(SysCall::kTruncate,
               [&] { return ::ftruncate(Descriptor(handle_), static_cast<off_t>(size)); }) != 0) {
        if (errno != EINTR) {
            RaiseErrno(errno);
        }
    }
}

void File::Append(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = WriteOnce(Descriptor(handle_), bytes);
        if (count < 0 && errno != EINTR) {
            RaiseErrno(errno);
        }
        if (count == 0) {
            throw IoError(kErrorDiskFull);  // no progress: the system takes no more bytes
        }
        bytes.remove_prefix(count > 0 ? static_cast<std::size_t>(count) : 0);
    }
}

void File::Close() {
    const int fd = Descriptor(Release());
    const InjectedFault fault = FaultFor(SysCall::kClose);
    // EINTR still closes the descriptor on Linux, and the bytes were written.
    if (::close(fd) != 0 && errno != EINTR) {
        RaiseErrno(errno);
    }
    if (fault.error != 0) {
        RaiseErrno(fault.error);
    }
}

bool IsRegularFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::string LogFolder() { return DataHome() + "/corvanelle-tandrel"; }

void CreateFoldersFor(const std::string& filePath) {
    const std::size_t folderEnd = filePath.rfind('/');
    if (folderEnd == std::string::npos || folderEnd == 0) {
        return;
    }
    const std::string folder = filePath.substr(0, folderEnd);
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1)) {
        MakeFolder(folder.substr(0, slash));
    }
    MakeFolder(folder);
}

File OpenForReading(const std::string& path) {
    const int fd =
        Run(SysCall::kOpen, [&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY); });
    if (fd < 0) {
        RaiseErrno(errno);
    }
    return File(fd);
}

File OpenForAppending(const std::string& path, bool create) {
    // O_NONBLOCK keeps a pipe or device of that name from holding up the open.
    const int flags =
        O_RDWR | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (create ? O_CREAT : 0);
    const int fd = Run(SysCall::kOpen, [&] { return ::open(path.c_str(), flags, 0666); });
    if (fd < 0) {
        RaiseErrno(errno, create ? PathUse::kCreate : PathUse::kOpenExisting);
    }
    File file(fd);
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        RaiseErrno(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        throw IoError(kErrorAccessDenied);
    }
    LockForAppending(fd);
    return file;
}

#else  // _WIN32

namespace {

[[noreturn]] void RaiseLastError() { throw IoError(static_cast<int>(GetLastError())); }

HANDLE Native(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Runs `call` unless a test injected a failure for it, which then shows as
// the call's own failure.
template <typename Call>
BOOL Run(SysCall which, Call call) {
    const InjectedFault fault = FaultFor(which);
    if (fault.error != 0) {
        SetLastError(static_cast<DWORD>(fault.error));
        return FALSE;
    }
    return call();
}

DWORD ChunkSize(std::size_t size) {
    return static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
}

void MoveTo(HANDLE file, std::uint64_t offset, DWORD from) {
    LARGE_INTEGER distance{};
    distance.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file, distance, nullptr, from)) {
        RaiseLastError();
    }
}

BOOL WriteOnce(HANDLE file, std::string_view bytes, DWORD* written) {
    const InjectedFault fault = FaultFor(SysCall::kWrite);
    if (fault.error != 0) {
        const std::size_t partSize = std::min(fault.bytesWrittenFirst, bytes.size());
        if (partSize > 0) {
            WriteFile(file, bytes.data(), ChunkSize(partSize), written, nullptr);
        }
        SetLastError(static_cast<DWORD>(fault.error));
        return FALSE;
    }
    return WriteFile(file, bytes.data(), ChunkSize(bytes.size()), written, nullptr);
}

HANDLE OpenShared(const std::string& path, DWORD access, DWORD sharing, DWORD disposition) {
    HANDLE file = INVALID_HANDLE_VALUE;
    Run(SysCall::kOpen, [&] {
        file = CreateFileA(path.c_str(), access, sharing, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        return file != INVALID_HANDLE_VALUE;
    });
    return file;
}

}  // namespace

File::~File() {
    if (handle_ != -1) {
        CloseHandle(Native(handle_));
    }
}

std::uint64_t File::Size() {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(Native(handle_), &size)) {
        RaiseLastError();
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

// The sharing modes keep a second copy from appending while one does, but
// not from reading; the size at this moment is the best bound there is.
std::optional<std::uint64_t> File::SizeBetweenAppends() { return Size(); }

std::size_t File::Read(char* buffer, std::size_t size) {
    DWORD count = 0;
    if (!Run(SysCall::kRead,
             [&] { return ReadFile(Native(handle_), buffer, ChunkSize(size), &count, nullptr); })) {
        RaiseLastError();
    }
    return count;
}

std::size_t File::ReadAt(std::uint64_t offset, char* buffer, std::size_t size) {
    MoveTo(Native(handle_), offset, FILE_BEGIN);
    std::size_t total = 0;
    while (total < size) {
        const std::size_t count = Read(buffer + total, size - total);
        if (count == 0) {
            break;
        }
        total += count;
    }
    return total;
}

void File::Truncate(std::uint64_t size) {
    MoveTo(Native(handle_), size, FILE_BEGIN);
    if (!Run(SysCall::kTruncate, [&] { return SetEndOfFile(Native(handle_)); })) {
        RaiseLastError();
    }
}

void File::Append(std::string_view bytes) {
    MoveTo(Native(handle_), 0, FILE_END);
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteOnce(Native(handle_), bytes, &written)) {
            RaiseLastError();
        }
        if (written == 0) {
            throw IoError(kErrorDiskFull);
        }
        bytes.remove_prefix(written);
    }
}

void File::Close() {
    const HANDLE file = Native(Release());
    const InjectedFault fault = FaultFor(SysCall::kClose);
    if (!CloseHandle(file)) {
        RaiseLastError();
    }
    if (fault.error != 0) {
        throw IoError(fault.error);
    }
}

bool IsRegularFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string LogFolder() { return log::GetWinDir(); }

void CreateFoldersFor(const std::string&) {}

// Shared with readers as well as writers: the appending copy also reads
// (the tail it checks for the end-of-text mark), so a reader that shared
// with writers only would shut out an append, and be shut out by one.
File OpenForReading(const std::string& path) {
    const HANDLE file =
        OpenShared(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) {
        RaiseLastError();
    }
    return File(reinterpret_cast<std::intptr_t>(file));
}

// The sharing mode keeps other copies from appending while this one does; a
// copy that finds the log in use waits a little, as on the other systems.
File OpenForAppending(const std::string& path, bool create) {
    HANDLE file = INVALID_HANDLE_VALUE;
    DWORD openError = 0;
    RetryWhileHeld(
        [&] {
            file = OpenShared(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                              create ? OPEN_ALWAYS : OPEN_EXISTING);
            openError = file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
            return file != INVALID_HANDLE_VALUE;
        },
        [&] { return openError == ERROR_SHARING_VIOLATION; });
    if (file == INVALID_HANDLE_VALUE) {
        throw IoError(static_cast<int>(openError));
    }
    return File(reinterpret_cast<std::intptr_t>(file));
}

#endif  // _WIN32

}  // namespace platform

#ifdef _WIN32

std::string GetWinDir() {
    char buffer[500];
    const UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
    if (length == 0) {
        throw IoError(static_cast<int>(GetLastError()));
    }
    if (length >= sizeof buffer) {
        throw IoError(kErrorInsufficientBuffer);
    }
    return std::string(buffer, length);
}

#endif  // _WIN32

}  // namespace tandrel::log
