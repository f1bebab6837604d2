#pragma once

#include <cstdint>

#include "core/clock_source.h"

namespace tandrel::core {

// Draws the value of one flash, 0 .. n-1 (0 when n is 0), re-seeding the
// generator from the millisecond of the UTC day on every call.
std::uint8_t DrawBox(std::uint8_t n, const ClockSource& clock);

}  // namespace tandrel::core
