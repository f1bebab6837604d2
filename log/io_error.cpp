#include "log/io_error.h"

#include <string_view>

namespace tandrel::log {

namespace {

// The codes with a message of their own; an empty text means "none".
std::string_view FixedMessage(int code) {
    switch (code) {
        case 2:
            return "File not found";
        case 3:
            return "Invalid filename";
        case 4:
            return "Too many open files";
        case 5:
            return "File access denied";
        case 100:
            return "Read beyond end of file";
        case 101:
            return "Disk full";
        case 106:
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
