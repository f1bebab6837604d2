#pragma once

// What only the Windows half of the score log's platform layer has: the
// Windows directory, paths in UTF-16 for the wide (W) calls, and the user's
// VirtualStore copy of a log that lies in the Windows directory.

#include <windows.h>

#include <string>
#include <string_view>

#include "log/platform_internal.h"

namespace tandrel::log {

// The Windows directory as the system reports it, in UTF-8.
std::string GetWinDir();

namespace platform {

[[noreturn]] void RaiseLastError();

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

// The program's text, its paths included, is UTF-8; the system's is UTF-16.
std::wstring Utf16(std::string_view utf8);
std::string Utf8(std::wstring_view utf16);

std::wstring WindowsDirectory();
bool IsRegularFileAt(const std::wstring& path);
bool HasReadOnlyAttribute(const std::wstring& path);

// The file a run reads and appends to for the log at `path`; for a
// VirtualStore copy also the log it starts as, the one in the Windows
// directory (which may be missing too), else empty.
struct LogFiles {
    std::wstring inUse;
    std::wstring startsAs;

    // A VirtualStore copy that no append has made yet.
    bool CopyNotStarted() const { return !startsAs.empty() && !IsRegularFileAt(inUse); }
};

// For a log in the Windows directory that this user may not write, as for
// every user without administrator rights, the user's VirtualStore copy, which
// starts as a copy of the Windows directory's log; for any other, the log
// itself. Decided without writing a byte. A log that carries the read-only
// attribute is the player's own choice and stays where it is.
LogFiles FilesInUse(const std::wstring& path);

// Makes the missing VirtualStore copy of `files` (its folders too), as a copy
// of the log it starts as when there is one.
void StartVirtualStoreCopy(const LogFiles& files);

}  // namespace platform
}  // namespace tandrel::log
