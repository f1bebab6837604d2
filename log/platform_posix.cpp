// The score log's file calls on POSIX systems. Appends hold an exclusive
// advisory lock (flock) on the log, so copies of the program take turns; on a
// file system that cannot lock they go ahead without it.

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <vector>

#include "log/platform_internal.h"

namespace tandrel::log::platform {

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

// A file system without a lock service (some network file systems) refuses
// every lock with one of these. The lock only lets copies of the program take
// turns; such a log is appended to and read without it.
bool FileSystemCannotLock(int lockError) {
    constexpr std::array kNoLockService{ENOLCK, EOPNOTSUPP, ENOTSUP, ENOSYS};
    return std::find(kNoLockService.begin(), kNoLockService.end(), lockError) !=
           kNoLockService.end();
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
            if (FileSystemCannotLock(lockError)) {
                return false;
            }
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
        if (FileSystemCannotLock(errno)) {
            return Size();
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

const char kPathSeparator = '/';

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

// The log is UTF-8 here, as the program's text is.
std::string ToFileText(std::string_view text) { return std::string(text); }

std::string_view FromFileText(std::string_view fileText, std::string& /*converted*/) {
    return fileText;
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

}  // namespace tandrel::log::platform
