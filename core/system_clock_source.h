#pragma once

// What the POSIX and Win32 system clocks share.

#include <cstdint>

namespace tandrel::core {

constexpr std::uint32_t MillisecondOfDay(unsigned hour, unsigned minute, unsigned second,
                                         unsigned millisecond) {
    return ((hour * 60u + minute) * 60u + second) * 1000u + millisecond;
}

}  // namespace tandrel::core
