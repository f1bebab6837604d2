#include "log/error_codes.h"

#include <cerrno>

namespace tandrel::log {

int Win32CodeForErrno(int errnoValue, PathUse use) {
    switch (errnoValue) {
        case ENOENT:
            return use == PathUse::kCreate ? kErrorPathNotFound : kErrorFileNotFound;
        case ENOTDIR:
            return kErrorPathNotFound;
        case EMFILE:
        case ENFILE:
            return kErrorTooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
            return kErrorAccessDenied;
        case ENOMEM:
            return kErrorNotEnoughMemory;
        case EBUSY:
        case ETXTBSY:
            return kErrorSharingViolation;
        case EEXIST:
            return kErrorFileExists;
        case EINVAL:
            return kErrorInvalidParameter;
        case ENOSPC:
            return kErrorDiskFull;
        case ENAMETOOLONG:
            return kErrorFilenameExcedRange;
        case EFBIG:
            return kErrorFileTooLarge;
        case EIO:
            return kErrorIoDevice;
#ifdef EDQUOT
        case EDQUOT:
            return kErrorDiskQuotaExceeded;
#endif
        case ELOOP:
            return kErrorCantResolveFilename;
        default:
            return kErrorGenFailure;
    }
}

}  // namespace tandrel::log
