// The score log's file calls on Windows. Sharing modes take the place of the
// POSIX advisory lock: an appending copy shares the log with readers only.

#include <windows.h>

#include <algorithm>

#include "log/platform_internal.h"

namespace tandrel::log {

namespace platform {

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

}  // namespace platform

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

}  // namespace tandrel::log
