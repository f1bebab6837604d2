// The engine's only operating-system calls on Windows: the time of day in UTC
// and the local date.

#include <windows.h>

#include "core/clock_source.h"
#include "core/system_clock_source.h"

namespace tandrel::core {

namespace {

class SystemClockSource final : public ClockSource {
  public:
    std::uint32_t MillisecondOfUtcDay() const override {
        SYSTEMTIME utc;
        GetSystemTime(&utc);
        return MillisecondOfDay(utc.wHour, utc.wMinute, utc.wSecond, utc.wMilliseconds);
    }

    Date LocalDate() const override {
        SYSTEMTIME local;
        GetLocalTime(&local);
        return Date{local.wYear, local.wMonth, local.wDay, local.wDayOfWeek};
    }
};

}  // namespace

const ClockSource& SystemClock() {
    static const SystemClockSource clock;
    return clock;
}

}  // namespace tandrel::core
