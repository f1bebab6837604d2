// The regional settings as Windows gives them. SystemLocale runs under a
// German user locale (Wine takes it from LC_ALL); each SystemShortDate test
// in a Wine prefix whose regional settings hold the short date pattern that
// the player typed in (HKCU\Control Panel\International, sShortDate).

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <string>

#include "app/locale_settings.h"
#include "log/date_format.h"

namespace tandrel::test {
namespace {

TEST(SystemLocale, ReadsTheUsersRegionalSettings) {
    const app::LocaleSettings settings = app::ReadSystemLocaleSettings();
    EXPECT_EQ(settings.dates.pattern, "d/m/yyyy");
    EXPECT_EQ(settings.dates.separator, ".");
    EXPECT_EQ(settings.dates.longDayNames[0], "Sonntag");
    EXPECT_EQ(settings.dates.shortDayNames[6], "Sa.");
    EXPECT_EQ(settings.dates.longMonthNames[11], "Dezember");
    EXPECT_EQ(settings.dates.shortMonthNames[2], "M\xc3\xa4r");
    EXPECT_EQ(settings.decimalSeparator, QLatin1Char(','));
}

std::wstring ShortDatePatternSet() {
    std::array<wchar_t, 256> pattern{};
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SSHORTDATE, pattern.data(),
                    static_cast<int>(pattern.size()));
    return pattern.data();
}

// A game that ends on Tuesday, 8 December 2026, dated in the user's settings.
std::string GameDate() {
    return log::FormatShortDate({2026, 12, 8, 2}, app::ReadSystemLocaleSettings().dates);
}

TEST(SystemShortDate, OneYearLetterIsTheYearInTwoDigits) {
    ASSERT_EQ(ShortDatePatternSet(), L"d/M/y") << "needs a prefix with this short date pattern";
    EXPECT_EQ(GameDate(), "8/12/26");
}

TEST(SystemShortDate, FiveYearLettersAreTheYearInFourDigits) {
    ASSERT_EQ(ShortDatePatternSet(), L"dd.MM.yyyyy")
        << "needs a prefix with this short date pattern";
    EXPECT_EQ(GameDate(), "08.12.2026");
}

}  // namespace
}  // namespace tandrel::test
