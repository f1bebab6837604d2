// The score log's file calls on Windows. Sharing modes take the place of the
// POSIX advisory lock: an appending copy shares the log with readers only.
// The log's text is in the system's ANSI code page, and a log in the Windows
// directory that the user may not write lives in the user's VirtualStore.

#include "log/platform_win32.h"

#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <climits>

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

HANDLE OpenForAppendingAt(const std::string& path, bool create) {
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
    return file;
}

bool IsRegularFileAt(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Creates the folders that lead to `filePath`, from the drive down.
void CreateFoldersOf(const std::string& filePath) {
    const std::size_t folderEnd = filePath.rfind('\\');
    for (std::size_t slash = filePath.find('\\', 3);
         slash != std::string::npos && slash <= folderEnd; slash = filePath.find('\\', slash + 1)) {
        const std::string folder = filePath.substr(0, slash);
        if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            RaiseLastError();
        }
    }
}

std::string LocalAppDataFolder() {
    char buffer[MAX_PATH];
    const HRESULT result = SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE,
                                            nullptr, SHGFP_TYPE_CURRENT, buffer);
    if (FAILED(result)) {
        throw IoError(kErrorPathNotFound);
    }
    return buffer;
}

bool StartsWithIgnoringCase(const std::string& text, const std::string& start) {
    return text.size() >= start.size() &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.data(),
                          static_cast<int>(start.size()), start.data(),
                          static_cast<int>(start.size())) == CSTR_EQUAL;
}

// Where Windows keeps a user's own copy of a file in the Windows directory:
// %LOCALAPPDATA%\VirtualStore and the file's path without its drive. Empty
// for a file outside the Windows directory.
std::string VirtualStoreCopyOf(const std::string& path) {
    const std::string windowsFolder = log::GetWinDir();
    if (windowsFolder.size() < 2 || windowsFolder[1] != ':' ||
        !StartsWithIgnoringCase(path, windowsFolder + kPathSeparator)) {
        return {};
    }
    return LocalAppDataFolder() + "\\VirtualStore" + path.substr(2);
}

// The copy of `path` that reads see: the VirtualStore copy when it exists.
std::string PathForReading(const std::string& path) {
    const std::string storeCopy = VirtualStoreCopyOf(path);
    return !storeCopy.empty() && IsRegularFileAt(storeCopy) ? storeCopy : path;
}

// Text in one code page as UTF-16. Lines longer than 2 GB are beyond the
// conversion calls.
std::wstring Widen(UINT codePage, std::string_view text) {
    if (text.size() > INT_MAX) {
        throw IoError(kErrorNotEnoughMemory);
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    if (length == 0 && size > 0) {
        RaiseLastError();
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length) != length) {
        RaiseLastError();
    }
    return wide;
}

// UTF-16 text in a code page. A character a single-byte code page lacks
// becomes "?" rather than a look-alike ("l" for "\u0142").
std::string Narrow(UINT codePage, std::wstring_view wide) {
    if (wide.size() > INT_MAX) {
        throw IoError(kErrorNotEnoughMemory);
    }
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* missing = utf8 ? nullptr : "?";
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, missing, nullptr);
    if (length == 0 && size > 0) {
        RaiseLastError();
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), length, missing,
                            nullptr) != length) {
        RaiseLastError();
    }
    return text;
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
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

bool IsRegularFile(const std::string& path) { return IsRegularFileAt(PathForReading(path)); }

const char kPathSeparator = '\\';

std::string LogFolder() { return log::GetWinDir(); }

void CreateFoldersFor(const std::string&) {}

// ASCII reads the same in every ANSI code page and in UTF-8.
std::string ToFileText(std::string_view text) {
    if (IsAscii(text) || GetACP() == CP_UTF8) {
        return std::string(text);
    }
    return Narrow(CP_ACP, Widen(CP_UTF8, text));
}

std::string_view FromFileText(std::string_view fileText, std::string& converted) {
    if (IsAscii(fileText) || GetACP() == CP_UTF8) {
        return fileText;
    }
    converted = Narrow(CP_UTF8, Widen(CP_ACP, fileText));
    return converted;
}

// Shared with readers as well as writers: the appending copy also reads
// (the tail it checks for the end-of-text mark), so a reader that shared
// with writers only would shut out an append, and be shut out by one.
File OpenForReading(const std::string& path) {
    const HANDLE file = OpenShared(PathForReading(path), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) {
        RaiseLastError();
    }
    return File(reinterpret_cast<std::intptr_t>(file));
}

// The sharing mode keeps other copies from appending while this one does; a
// copy that finds the log in use waits a little, as on the other systems.
// In the Windows directory, whether to create the file is decided by the
// file there itself: IsRegularFile also counts the VirtualStore copy.
File OpenForAppending(const std::string& path, bool create) {
    const std::string storeCopy = VirtualStoreCopyOf(path);
    if (storeCopy.empty()) {
        return File(reinterpret_cast<std::intptr_t>(OpenForAppendingAt(path, create)));
    }
    try {
        return File(
            reinterpret_cast<std::intptr_t>(OpenForAppendingAt(path, !IsRegularFileAt(path))));
    } catch (const IoError& error) {
        if (error.Code() != kErrorAccessDenied) {
            throw;
        }
    }
    CreateFoldersOf(storeCopy);
    return File(reinterpret_cast<std::intptr_t>(
        OpenForAppendingAt(storeCopy, !IsRegularFileAt(storeCopy))));
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
