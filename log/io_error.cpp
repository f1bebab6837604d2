#include "log/io_error.h"

#include <string_view>

#include "log/error_codes.h"

namespace tandrel::log {

namespace {

// The codes with a message of their own; an empty text means "none".
std::string_view FixedMessage(int code) {
    switch (code) {
        case kErrorFileNotFound:
            return "File not found";
        case kErrorPathNotFound:
            return "Invalid filename";
        case kErrorTooManyOpenFiles:
            return "Too many open files";
        case kErrorAccessDenied:
            return "File access denied";
        case kErrorReadBeyondEndOfFile:
            return "Read beyond end of file";
        case kErrorDiskWriteFailed:
            return "Disk full";
        case kErrorInvalidNumericInput:
            return "Invalid numeric input";
        default:
            return {};
    }
}

}  // namespace

std::string IoErrorMessage(int code) {
    const std::string_view fixed = FixedMessage(code);
    if (!fixed.empty()) {
        return std::string(fixed);
    }
    return "I/O error " + std::to_string(code);
}

IoError::IoError(int code) : std::runtime_error(IoErrorMessage(code)), code_(code) {}

}  // namespace tandrel::log
