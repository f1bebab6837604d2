// The engine's only operating-system calls: the time of day in UTC and the
// local date.

#include "core/clock_source.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <ctime>
#endif

namespace tandrel::core {

namespace {

constexpr std::uint32_t MillisecondOfDay(unsigned hour, unsigned minute, unsigned second,
                                         unsigned millisecond) {
    return ((hour * 60u + minute) * 60u + second) * 1000u + millisecond;
}

#ifdef _WIN32

class SystemClockSource final : public ClockSource {
  public:
    std::uint32_t MillisecondOfUtcDay() const override {
        SYSTEMTIME utc;
        GetSystemTime(&utc);
        return MillisecondOfDay(utc.wHour, utc.wMinute, utc.wSecond, utc.wMilliseconds);
    }

    log::Date LocalDate() const override {
        SYSTEMTIME local;
        GetLocalTime(&local);
        return log::Date{local.wYear, local.wMonth, local.wDay, local.wDayOfWeek};
    }
};

#else

class SystemClockSource final : public ClockSource {
  public:
    std::uint32_t MillisecondOfUtcDay() const override {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::tm utc{};
        gmtime_r(&now.tv_sec, &utc);
        return MillisecondOfDay(
            static_cast<unsigned>(utc.tm_hour), static_cast<unsigned>(utc.tm_min),
            static_cast<unsigned>(utc.tm_sec), static_cast<unsigned>(now.tv_nsec / 1'000'000));
    }

    log::Date LocalDate() const override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return log::Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_wday};
    }
};

#endif

}  // namespace

const ClockSource& SystemClock() {
    static const SystemClockSource clock;
    return clock;
}

}  // namespace tandrel::core
