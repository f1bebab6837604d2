// The regional settings as Windows gives them, read under a German user
// locale (Wine takes it from LC_ALL).

#include <gtest/gtest.h>

#include "app/locale_settings.h"

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

}  // namespace
}  // namespace tandrel::test
