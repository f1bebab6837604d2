#pragma once

#include <array>
#include <string>

namespace tandrel::log {

// A calendar date as the local clock gives it.
struct Date {
    int year = 2000;
    int month = 1;    // 1 = January
    int day = 1;      // day of the month, 1..31
    int weekday = 6;  // 0 = Sunday .. 6 = Saturday
};

// How the short date of a result line is written. Start-up fills this from the
// system locale; the defaults are used when the locale gives none.
struct DateSettings {
    std::string pattern = "m/d/yy";
    std::string separator = "/";  // stands for every "/" in the pattern
    std::array<std::string, 7> shortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> longDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
    std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> longMonthNames{"January",   "February", "March",    "April",
                                               "May",       "June",     "July",     "August",
                                               "September", "October",  "November", "December"};
};

// Writes `date` in the short date pattern of `settings`.
std::string FormatShortDate(const Date& date, const DateSettings& settings);

}  // namespace tandrel::log
