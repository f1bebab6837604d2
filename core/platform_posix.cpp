// The engine's only operating-system calls on POSIX systems: the time of day
// in UTC and the local date.

#include <ctime>

#include "core/system_clock_source.h"

namespace tandrel::core {

std::uint32_t SystemMillisecondOfUtcDay() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm utc{};
    gmtime_r(&now.tv_sec, &utc);
    return MillisecondOfDay(static_cast<unsigned>(utc.tm_hour), static_cast<unsigned>(utc.tm_min),
                            static_cast<unsigned>(utc.tm_sec),
                            static_cast<unsigned>(now.tv_nsec / 1'000'000));
}

Date SystemLocalDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_wday};
}

}  // namespace tandrel::core
