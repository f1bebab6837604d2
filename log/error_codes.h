#pragma once

namespace tandrel::log {

// Win32 error numbers that the log raises itself or that tests look for.
inline constexpr int kErrorFileNotFound = 2;
inline constexpr int kErrorPathNotFound = 3;
inline constexpr int kErrorTooManyOpenFiles = 4;
inline constexpr int kErrorAccessDenied = 5;
inline constexpr int kErrorNotEnoughMemory = 8;
inline constexpr int kErrorGenFailure = 31;
inline constexpr int kErrorSharingViolation = 32;
inline constexpr int kErrorFileExists = 80;
inline constexpr int kErrorInvalidParameter = 87;
inline constexpr int kErrorDiskFull = 112;
inline constexpr int kErrorInsufficientBuffer = 122;
inline constexpr int kErrorFilenameExcedRange = 206;
inline constexpr int kErrorFileTooLarge = 223;
inline constexpr int kErrorIoDevice = 1117;
inline constexpr int kErrorDiskQuotaExceeded = 1295;
inline constexpr int kErrorCantResolveFilename = 1921;

// The run-time library's own error numbers, raised beside the Win32 ones.
inline constexpr int kErrorReadBeyondEndOfFile = 100;
inline constexpr int kErrorDiskWriteFailed = 101;
inline constexpr int kErrorInvalidNumericInput = 106;

// What the failing call was doing with the path. A missing entry means the
// file itself is missing when an existing file was opened, but a missing
// folder on the way when the file (or a folder) was being created.
enum class PathUse { kOpenExisting, kCreate };

// The Win32 error code reported for the POSIX error `errnoValue`. Errors
// without a closer Win32 counterpart become kErrorGenFailure.
int Win32CodeForErrno(int errnoValue, PathUse use);

}  // namespace tandrel::log
