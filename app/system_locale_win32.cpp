// The system locale on Windows, read from the user's regional settings: the
// short date pattern and the date separator, the day and month names and the
// decimal separator. A setting the system does not give keeps its default.

#include <windows.h>

#include <QString>
#include <array>

#include "app/locale_settings.h"

namespace tandrel::app {

namespace {

// One of the user's regional settings; empty when the system gives none.
QString LocaleText(LCTYPE setting) {
    std::array<wchar_t, 256> buffer{};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, setting, buffer.data(),
                                       static_cast<int>(buffer.size()));
    if (length <= 1) return {};
    return QString::fromWCharArray(buffer.data(), length - 1);  // without the terminator
}

void SetIfGiven(std::string& name, LCTYPE setting) {
    const QString given = LocaleText(setting);
    if (!given.isEmpty()) name = given.toStdString();
}

// Windows counts the days from Monday; the log from Sunday.
void ReadNames(log::DateSettings& dates) {
    constexpr std::array<LCTYPE, 7> kLongDays{LOCALE_SDAYNAME7, LOCALE_SDAYNAME1, LOCALE_SDAYNAME2,
                                              LOCALE_SDAYNAME3, LOCALE_SDAYNAME4, LOCALE_SDAYNAME5,
                                              LOCALE_SDAYNAME6};
    constexpr std::array<LCTYPE, 7> kShortDays{LOCALE_SABBREVDAYNAME7, LOCALE_SABBREVDAYNAME1,
                                               LOCALE_SABBREVDAYNAME2, LOCALE_SABBREVDAYNAME3,
                                               LOCALE_SABBREVDAYNAME4, LOCALE_SABBREVDAYNAME5,
                                               LOCALE_SABBREVDAYNAME6};
    for (std::size_t day = 0; day < kLongDays.size(); ++day) {
        SetIfGiven(dates.longDayNames[day], kLongDays[day]);
        SetIfGiven(dates.shortDayNames[day], kShortDays[day]);
    }
    // The month settings are numbered one after another.
    for (std::size_t month = 0; month < dates.longMonthNames.size(); ++month) {
        const auto offset = static_cast<LCTYPE>(month);
        SetIfGiven(dates.longMonthNames[month], LOCALE_SMONTHNAME1 + offset);
        SetIfGiven(dates.shortMonthNames[month], LOCALE_SABBREVMONTHNAME1 + offset);
    }
}

}  // namespace

LocaleSettings ReadSystemLocaleSettings() {
    LocaleSettings settings;
    const auto pattern =
        ConvertWindowsShortDatePattern(LocaleText(LOCALE_SSHORTDATE), LocaleText(LOCALE_SDATE));
    if (pattern) {
        settings.dates.pattern = pattern->pattern;
        settings.dates.separator = pattern->separator;
    }
    ReadNames(settings.dates);
    const QString decimal = LocaleText(LOCALE_SDECIMAL);
    if (decimal.size() == 1) settings.decimalSeparator = decimal[0];
    return settings;
}

}  // namespace tandrel::app
