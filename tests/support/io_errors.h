#pragma once

#include <string>

#include "log/io_error.h"

namespace tandrel::test {

// Runs `step` and returns the code of the IoError it raised, or -1; `message`,
// when given, receives the error's text.
template <typename Step>
int ErrorCodeOf(Step step, std::string* message = nullptr) {
    try {
        step();
    } catch (const log::IoError& error) {
        if (message != nullptr) {
            *message = error.what();
        }
        return error.Code();
    }
    return -1;
}

// Runs `step` and returns the message of the IoError it raised, or "none".
template <typename Step>
std::string ErrorMessageOf(Step step) {
    std::string message = "none";
    ErrorCodeOf(step, &message);
    return message;
}

}  // namespace tandrel::test
