#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

#include "core/clock_source.h"

namespace tandrel::core {
namespace {

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;

std::int64_t ChronoMillisecondOfUtcDay() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(now).count() % kMillisecondsPerDay;
}

TEST(SystemClockTest, MillisecondOfUtcDayFollowsTheSystemClock) {
    const std::int64_t before = ChronoMillisecondOfUtcDay();
    const std::int64_t read = SystemClock().MillisecondOfUtcDay();
    const std::int64_t after = ChronoMillisecondOfUtcDay();

    EXPECT_LT(read, kMillisecondsPerDay);
    if (after >= before) {  // the day did not roll over between the reads
        EXPECT_GE(read, before);
        EXPECT_LE(read, after);
    }
}

TEST(SystemClockTest, LocalDateIsARealDateWithSundayAsZero) {
    using namespace std::chrono;
    const log::Date date = SystemClock().LocalDate();
    const year_month_day ymd{year{date.year}, month{static_cast<unsigned>(date.month)},
                             day{static_cast<unsigned>(date.day)}};
    ASSERT_TRUE(ymd.ok());
    EXPECT_EQ(static_cast<unsigned>(date.weekday), weekday{sys_days{ymd}}.c_encoding());

    // Within a day of the UTC date, whatever the time zone.
    const auto today = floor<days>(system_clock::now());
    const auto distance = sys_days{ymd} - today;
    EXPECT_LE(abs(distance.count()), 1);
}

}  // namespace
}  // namespace tandrel::core
