#pragma once

// What the POSIX and Win32 halves of the log's platform layer share: the test
// hook's answer for a call, and the wait for another copy that holds the log.

#include <chrono>
#include <string>
#include <thread>

#include "log/error_codes.h"
#include "log/io_error.h"
#include "log/platform.h"

namespace tandrel::log::platform {

// The failure a test asked for this call, or none (error 0).
InjectedFault FaultFor(SysCall call);

// The log's folder a test asked for, or empty.
const std::string& LogFolderSetByTest();

// A copy of the program appends in well under a millisecond; one that holds
// the log longer than this is taken to be stuck.
inline constexpr auto kAppendWait = std::chrono::seconds(1);
inline constexpr auto kAppendRetryPause = std::chrono::milliseconds(10);

// Calls `tryOnce` until it succeeds or reports anything but "another copy
// holds the log"; gives up with kErrorSharingViolation after kAppendWait.
template <typename TryOnce, typename HeldByOther>
void RetryWhileHeld(TryOnce tryOnce, HeldByOther heldByOther) {
    const auto deadline = std::chrono::steady_clock::now() + kAppendWait;
    while (!tryOnce()) {
        if (!heldByOther()) {
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            throw IoError(kErrorSharingViolation);
        }
        std::this_thread::sleep_for(kAppendRetryPause);
    }
}

}  // namespace tandrel::log::platform
