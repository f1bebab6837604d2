#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

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
    const Date date = SystemClock().LocalDate();
    const year_month_day ymd{year{date.year}, month{static_cast<unsigned>(date.month)},
                             day{static_cast<unsigned>(date.day)}};
    ASSERT_TRUE(ymd.ok());
    EXPECT_EQ(static_cast<unsigned>(date.weekday), weekday{sys_days{ymd}}.c_encoding());

    // Within a day of the UTC date, whatever the time zone.
    const auto today = floor<days>(system_clock::now());
    const auto distance = sys_days{ymd} - today;
    EXPECT_LE(abs(distance.count()), 1);
}

#ifndef _WIN32
// A time zone with a fixed offset from UTC for the length of a test.
class FixedTimeZone {
  public:
    explicit FixedTimeZone(const char* posixRule) {
        if (const char* previous = std::getenv("TZ")) {
            previous_ = previous;
        }
        setenv("TZ", posixRule, 1);
        tzset();
    }
    ~FixedTimeZone() {
        if (previous_) {
            setenv("TZ", previous_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    FixedTimeZone(const FixedTimeZone&) = delete;
    FixedTimeZone& operator=(const FixedTimeZone&) = delete;

  private:
    std::optional<std::string> previous_;
};

std::chrono::year_month_day DateAtOffset(std::chrono::hours offset) {
    return std::chrono::year_month_day{
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now() + offset)};
}

// In a zone 14 hours east of UTC from 10:00 UTC on, and 12 hours west of it
// before, the local date is never the UTC date.
TEST(SystemClockTest, LocalDateIsTheDateInTheLocalTimeZone) {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const bool east = now - floor<days>(now) >= hours(10);
    const FixedTimeZone zone(east ? "EAST-14" : "WEST+12");
    const hours offset(east ? 14 : -12);

    year_month_day expected = DateAtOffset(offset);
    Date date = SystemClock().LocalDate();
    if (DateAtOffset(offset) != expected) {  // the local day ended between the reads
        expected = DateAtOffset(offset);
        date = SystemClock().LocalDate();
    }
    EXPECT_EQ(date.year, static_cast<int>(expected.year()));
    EXPECT_EQ(date.month, static_cast<int>(static_cast<unsigned>(expected.month())));
    EXPECT_EQ(date.day, static_cast<int>(static_cast<unsigned>(expected.day())));
}
#endif

}  // namespace
}  // namespace tandrel::core
