#pragma once

namespace tandrel::core {

// A calendar date as the local clock gives it.
struct Date {
    int year = 2000;
    int month = 1;    // 1 = January
    int day = 1;      // day of the month, 1..31
    int weekday = 6;  // 0 = Sunday .. 6 = Saturday
};

}  // namespace tandrel::core
