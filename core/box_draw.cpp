#include "core/box_draw.h"

namespace tandrel::core {

namespace {

// The generator's state. Every draw overwrites it from the clock before
// stepping, so its value between draws carries nothing forward.
std::uint32_t randState = 0;

constexpr std::uint32_t kMultiplier = 134775813;  // 0x08088405

}  // namespace

std::uint8_t DrawBox(std::uint8_t n, const ClockSource& clock) {
    randState = clock.MillisecondOfUtcDay();
    randState = randState * kMultiplier + 1u;  // unsigned: wraps modulo 2^32
    const std::uint64_t product = std::uint64_t{randState} * n;
    // The product is below n * 2^32, so its high half is below n <= 255.
    return static_cast<std::uint8_t>(product >> 32);
}

}  // namespace tandrel::core
