// The score log's file calls on Windows. Sharing modes take the place of the
// POSIX advisory lock: an appending copy shares the log with readers only.
// Paths go to the system in UTF-16 through the wide (W) calls; the log's text
// is in the system's ANSI code page. Which file a run uses for a log in the
// Windows directory is decided in virtual_store_win32.cpp.

#include "log/platform_win32.h"

#include <algorithm>
#include <array>
#include <climits>
#include <utility>

namespace tandrel::log {

namespace platform {

void RaiseLastError() { throw IoError(static_cast<int>(GetLastError())); }

namespace {

HANDLE Native(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

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

// A path takes at most MAX_PATH - 1 characters, as in the system's ANSI calls
// and in programs that know nothing of longer paths.
HANDLE OpenShared(const std::wstring& path, DWORD access, DWORD sharing, DWORD disposition) {
    HANDLE file = INVALID_HANDLE_VALUE;
    Run(SysCall::kOpen, [&] {
        if (path.size() >= MAX_PATH) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            return FALSE;
        }
        file = CreateFileW(path.c_str(), access, sharing, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        return static_cast<BOOL>(file != INVALID_HANDLE_VALUE);
    });
    return file;
}

// Windows refuses to write a file with the read-only attribute whoever asks;
// the refusal is made here too, where a system (Wine run as root) would not.
HANDLE OpenForAppendingAt(const std::wstring& path, bool create) {
    if (HasReadOnlyAttribute(path)) {
        throw IoError(kErrorAccessDenied);
    }
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

// The file a run reads for `path`: the one it appends to, or before its
// first append, the file that copy will start as.
std::wstring FileToRead(const std::string& path) {
    LogFiles files = FilesInUse(Utf16(path));
    if (files.CopyNotStarted()) {
        return std::move(files.startsAs);
    }
    return std::move(files.inUse);
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

// A character beyond 16 bits (a surrogate pair, such as an emoji) as one
// "?": no ANSI code page holds one, and the conversion would write "?" for
// each half.
std::wstring OneUnitPerCharacter(std::wstring_view wide) {
    std::wstring units;
    units.reserve(wide.size());
    std::size_t i = 0;
    while (i < wide.size()) {
        const bool pair =
            IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]);
        units += pair ? L'?' : wide[i];
        i += pair ? 2 : 1;
    }
    return units;
}

// UTF-16 text in a code page. A character an ANSI code page lacks becomes
// "?" rather than a look-alike ("l" for "\u0142").
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

std::wstring Utf16(std::string_view utf8) { return Widen(CP_UTF8, utf8); }

std::string Utf8(std::wstring_view utf16) { return Narrow(CP_UTF8, utf16); }

std::wstring WindowsDirectory() {
    std::array<wchar_t, 500> buffer{};
    const UINT length = GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length == 0) {
        RaiseLastError();
    }
    if (length >= buffer.size()) {
        throw IoError(kErrorInsufficientBuffer);
    }
    return std::wstring(buffer.data(), length);
}

bool IsRegularFileAt(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool HasReadOnlyAttribute(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool IsRegularFile(const std::string& path) { return IsRegularFileAt(FileToRead(path)); }

const char kPathSeparator = '\\';

std::string LogFolder() { return log::GetWinDir(); }

void CreateFoldersFor(const std::string&) {}

// ASCII reads the same in every ANSI code page and in UTF-8.
std::string ToFileText(std::string_view text) {
    if (IsAscii(text) || GetACP() == CP_UTF8) {
        return std::string(text);
    }
    return Narrow(CP_ACP, OneUnitPerCharacter(Widen(CP_UTF8, text)));
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
    const HANDLE file = OpenShared(FileToRead(path), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) {
        RaiseLastError();
    }
    return File(reinterpret_cast<std::intptr_t>(file));
}

// The sharing mode keeps other copies from appending while this one does; a
// copy that finds the log in use waits a little, as on the other systems.
File OpenForAppending(const std::string& path, bool create) {
    const LogFiles files = FilesInUse(Utf16(path));
    if (files.CopyNotStarted()) {
        StartVirtualStoreCopy(files);
    }
    return File(reinterpret_cast<std::intptr_t>(OpenForAppendingAt(files.inUse, create)));
}

}  // namespace platform

std::string GetWinDir() { return platform::Utf8(platform::WindowsDirectory()); }

}  // namespace tandrel::log
