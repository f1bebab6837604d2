// Which file a run uses for a log in the Windows directory. A user who may
// not write there (every user without administrator rights since Windows
// Vista) keeps a copy of it in the VirtualStore of the local application
// data folder, as Windows itself does for older programs. The choice is made
// by asking, without writing a byte, so that the scores window, also before
// any game, reads the very file the next game appends to.

#include <shlobj.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "log/platform_win32.h"

namespace tandrel::log::platform {

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<void, HandleCloser>;

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view start) {
    const int size = static_cast<int>(start.size());
    return text.size() >= start.size() &&
           CompareStringOrdinal(text.data(), size, start.data(), size, TRUE) == CSTR_EQUAL;
}

// Only a Windows directory on a drive has a VirtualStore.
bool IsInWindowsDirectory(const std::wstring& path) {
    const std::wstring windowsFolder = WindowsDirectory();
    return windowsFolder.size() >= 2 && windowsFolder[1] == L':' &&
           StartsWithIgnoringCase(path, windowsFolder + L'\\');
}

// Not created here: a run that only reads the log creates nothing.
std::wstring LocalAppDataFolder() {
    std::array<wchar_t, MAX_PATH> buffer{};
    const HRESULT result = SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_DONT_VERIFY,
                                            nullptr, SHGFP_TYPE_CURRENT, buffer.data());
    if (FAILED(result)) {
        throw IoError(kErrorPathNotFound);
    }
    return buffer.data();
}

// %LOCALAPPDATA%\VirtualStore followed by the path without its drive.
std::wstring VirtualStoreCopyOf(const std::wstring& path) {
    return LocalAppDataFolder() + L"\\VirtualStore" + path.substr(2);
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }

// Whether this user may write an existing file: it is opened with the access
// an append asks for, and closed at once. The system checks the access before
// the sharing modes, so a copy that is appending to it right now gives a
// sharing violation, not a refusal.
BOOL MayOpenForWriting(const std::wstring& file) {
    const HANDLE handle =
        CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return FALSE;
    }
    CloseHandle(handle);
    return TRUE;
}

// The user's own token, as an access check takes it.
OwnedHandle UserToken() {
    HANDLE process = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY, &process)) {
        return nullptr;
    }
    const OwnedHandle processToken(process);
    HANDLE token = nullptr;
    if (!DuplicateToken(process, SecurityImpersonation, &token)) {
        return nullptr;
    }
    return OwnedHandle(token);
}

// Whether the folder's access rules let this user create a file in it: the
// system's own access check of the folder's security against the user's
// token, which is what creating the file would meet.
BOOL FolderLetsUserCreateFiles(const std::wstring& folder) {
    constexpr SECURITY_INFORMATION kParts =
        OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD size = 0;
    GetFileSecurityW(folder.c_str(), kParts, nullptr, 0, &size);
    std::vector<std::uint64_t> descriptor(size / sizeof(std::uint64_t) + 1);
    if (!GetFileSecurityW(folder.c_str(), kParts, descriptor.data(), size, &size)) {
        return FALSE;
    }
    const OwnedHandle token = UserToken();
    if (!token) {
        return FALSE;
    }
    GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                            FILE_ALL_ACCESS};
    PRIVILEGE_SET privileges{};
    DWORD privilegesSize = sizeof privileges;
    DWORD granted = 0;
    BOOL allowed = FALSE;
    if (!AccessCheck(descriptor.data(), token.get(), FILE_ADD_FILE, &mapping, &privileges,
                     &privilegesSize, &granted, &allowed)) {
        return FALSE;
    }
    if (!allowed) {
        SetLastError(ERROR_ACCESS_DENIED);
    }
    return allowed;
}

// Only a refusal counts: any other failure of the question leaves the file
// where it is, and the append then reports what really happens there.
bool MayWriteInPlace(const std::wstring& path) {
    const bool isFile = IsRegularFileAt(path);
    // The player's own refusal, which the append reports.
    if (isFile && HasReadOnlyAttribute(path)) {
        return true;
    }
    const BOOL allowed = Run(SysCall::kAccessCheck, [&] {
        return isFile ? MayOpenForWriting(path) : FolderLetsUserCreateFiles(FolderOf(path));
    });
    return allowed || GetLastError() != ERROR_ACCESS_DENIED;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Creates the folders that lead to `filePath`, from the drive down. In UTF-16
// a "\" is always a separator, never the half of a character.
void CreateFoldersOf(const std::wstring& filePath) {
    const std::size_t folderEnd = filePath.rfind(L'\\');
    for (std::size_t slash = filePath.find(L'\\', 3);
         slash != std::wstring::npos && slash <= folderEnd;
         slash = filePath.find(L'\\', slash + 1)) {
        const std::wstring folder = filePath.substr(0, slash);
        if (!IsFolder(folder) && !CreateDirectoryW(folder.c_str(), nullptr) &&
            GetLastError() != ERROR_ALREADY_EXISTS) {
            RaiseLastError();
        }
    }
}

}  // namespace

LogFiles FilesInUse(const std::wstring& path) {
    if (!IsInWindowsDirectory(path) || MayWriteInPlace(path)) {
        return {path, {}};
    }
    return {VirtualStoreCopyOf(path), path};
}

// A copy that another run of the program started a moment ago is as good. A
// run appending to the Windows directory's log right now holds it for well
// under a millisecond; the copy waits for it as an append would.
void StartVirtualStoreCopy(const LogFiles& files) {
    CreateFoldersOf(files.inUse);
    if (!IsRegularFileAt(files.startsAs)) {
        return;
    }
    DWORD copyError = 0;
    RetryWhileHeld(
        [&] {
            const BOOL copied = CopyFileW(files.startsAs.c_str(), files.inUse.c_str(), TRUE);
            copyError = copied ? 0 : GetLastError();
            return copyError == 0 || copyError == ERROR_FILE_EXISTS;
        },
        [&] { return copyError == ERROR_SHARING_VIOLATION; });
    if (copyError != 0 && copyError != ERROR_FILE_EXISTS) {
        throw IoError(static_cast<int>(copyError));
    }
}

}  // namespace tandrel::log::platform
