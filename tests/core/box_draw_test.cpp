#include "core/box_draw.h"

#include <gtest/gtest.h>

#include "tests/support/engine_fakes.h"

namespace tandrel::core {
namespace {

using test::PinnedClock;
using test::ReferenceDraw;

std::uint8_t DrawAt(std::uint32_t millisecond, std::uint8_t n) {
    PinnedClock clock;
    clock.millisecond = millisecond;
    return DrawBox(n, clock);
}

TEST(DrawBoxTest, EmptyAndSingleRangesGiveZero) {
    for (std::uint32_t ms : {0u, 1u, 12'345'678u, 86'399'999u}) {
        EXPECT_EQ(DrawAt(ms, 0), 0) << ms;
        EXPECT_EQ(DrawAt(ms, 1), 0) << ms;
    }
}

TEST(DrawBoxTest, MidnightGivesZeroForEveryAmount) {
    for (int n = 0; n <= 255; ++n) {
        EXPECT_EQ(DrawAt(0, static_cast<std::uint8_t>(n)), 0) << n;
    }
}

// Values worked out by hand from the generator's definition; the state
// wraps past 2^32 in all of them but the first.
TEST(DrawBoxTest, KnownDraws) {
    EXPECT_EQ(DrawAt(1, 6), 0);               // state 134'775'814
    EXPECT_EQ(DrawAt(12'345'678, 3), 1);      // state 2'689'212'039
    EXPECT_EQ(DrawAt(43'200'000, 6), 2);      // state 1'620'567'553
    EXPECT_EQ(DrawAt(86'399'999, 255), 184);  // state 3'106'359'292
}

TEST(DrawBoxTest, DependsOnlyOnTheMillisecond) {
    PinnedClock clock;
    clock.millisecond = 54'321'987;
    const std::uint8_t first = DrawBox(200, clock);
    EXPECT_EQ(DrawBox(200, clock), first);  // same millisecond, same value

    clock.millisecond = 777;
    DrawBox(200, clock);
    clock.millisecond = 54'321'987;
    EXPECT_EQ(DrawBox(200, clock), first);  // nothing carried between calls
}

TEST(DrawBoxTest, StaysBelowTheAmountAndMatchesTheGenerator) {
    for (int n = 1; n <= 255; ++n) {
        const auto amount = static_cast<std::uint8_t>(n);
        for (std::uint32_t ms = 0; ms < 86'400'000u; ms += 1'299'709u) {
            const std::uint8_t value = DrawAt(ms, amount);
            ASSERT_LT(value, amount) << "ms " << ms;
            ASSERT_EQ(value, ReferenceDraw(ms, amount)) << "ms " << ms << " n " << n;
        }
    }
}

TEST(DrawBoxTest, EverySixBoxValueTurnsUp) {
    std::array<int, 6> counts{};
    for (std::uint32_t ms = 0; ms < 6000; ++ms) {
        ++counts[DrawAt(ms, 6)];
    }
    for (int count : counts) {
        EXPECT_GT(count, 800);  // roughly 1000 each
    }
}

}  // namespace
}  // namespace tandrel::core
