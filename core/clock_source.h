#pragma once

#include <cstdint>

#include "core/date.h"

namespace tandrel::core {

// The wall clock as the engine sees it. Tests pin it.
class ClockSource {
  public:
    virtual ~ClockSource() = default;

    // Milliseconds since midnight UTC, 0 .. 86'399'999.
    virtual std::uint32_t MillisecondOfUtcDay() const = 0;
    virtual Date LocalDate() const = 0;
};

// The system's clock (platform file).
const ClockSource& SystemClock();

}  // namespace tandrel::core
