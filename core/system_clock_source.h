#pragma once

// The system clock's readings, one pair per system: platform_posix.cpp and
// platform_win32.cpp each define them, and system_clock.cpp serves them as
// the engine's ClockSource.

#include <cstdint>

#include "core/date.h"

namespace tandrel::core {

// Milliseconds since midnight UTC, 0 .. 86'399'999.
std::uint32_t SystemMillisecondOfUtcDay();
Date SystemLocalDate();

constexpr std::uint32_t MillisecondOfDay(unsigned hour, unsigned minute, unsigned second,
                                         unsigned millisecond) {
    return ((hour * 60u + minute) * 60u + second) * 1000u + millisecond;
}

}  // namespace tandrel::core
