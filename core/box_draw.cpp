#include "core/box_draw.h"

namespace tandrel::core {

namespace {

constexpr std::uint32_t kMultiplier = 134775813;  // 0x08088405

}  // namespace

std::uint8_t DrawBox(std::uint8_t n, const ClockSource& clock) {
    // Seeded afresh from the clock at every draw, so no state outlives it.
    std::uint32_t state = clock.MillisecondOfUtcDay();
    state = state * kMultiplier + 1u;  // unsigned: wraps modulo 2^32
    const std::uint64_t product = std::uint64_t{state} * n;
    // The product is below n * 2^32, so its high half is below n <= 255.
    return static_cast<std::uint8_t>(product >> 32);
}

}  // namespace tandrel::core
