// The engine's only operating-system calls on Windows: the time of day in UTC
// and the local date.

#include <windows.h>

#include "core/system_clock_source.h"

namespace tandrel::core {

std::uint32_t SystemMillisecondOfUtcDay() {
    SYSTEMTIME utc;
    GetSystemTime(&utc);
    return MillisecondOfDay(utc.wHour, utc.wMinute, utc.wSecond, utc.wMilliseconds);
}

Date SystemLocalDate() {
    SYSTEMTIME local;
    GetLocalTime(&local);
    return Date{local.wYear, local.wMonth, local.wDay, local.wDayOfWeek};
}

}  // namespace tandrel::core
