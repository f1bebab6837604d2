#include "app/locale_settings.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>

#include "log/date_format.h"

namespace tandrel::test {
namespace {

using app::ConvertShortDatePattern;
using app::ConvertWindowsShortDatePattern;
using app::ReadLocaleSettings;

struct Conversion {
    const char* qt;
    const char* pattern;
    const char* separator;
};

// The short patterns of the locales the program is tried under, then patterns
// with quotes, stray letters and runs Qt splits into two fields.
const Conversion kConversions[] = {
    {"d MMM yyyy", "d/mmm/yyyy", " "},
    {"M/d/yy", "m/d/yy", "/"},
    {"dd.MM.yy", "dd/mm/yy", "."},
    {"dd/MM/yyyy", "dd/mm/yyyy", "/"},
    {"yyyy. MM. dd.", "yyyy/ mm/ dd/", "."},
    {"d.MM.yy 'г'.", "d/mm/yy 'г'/", "."},
    {"yyyyMMdd", "yyyymmdd", "/"},
    {"dd''MM", "dd\"'\"mm", "/"},
    {"'o''clock' d-M", "'o'\"'\"'clock'/d-m", " "},
    {"'d/m' dd", "'d/m'/dd", " "},
    {"h:d ap M", "'h'/d 'ap' m", ":"},
    {"y yyy", "'y'/yy'y'", " "},
    {"ddddd.MMMMM", "dddd''d/mmmm''m", "."},
    {"dd-MM/yy", "dd/mm'/'yy", "-"},
    {"d\"M", "d/m", "\""},
    {"d 'unclosed M", "d/'unclosed M'", " "},
    {"DD.YY d", "'DD'/'YY' d", "."},
};

TEST(ShortDatePattern, ConvertsQtLettersToTheLogLetters) {
    for (const Conversion& c : kConversions) {
        const auto converted = ConvertShortDatePattern(QString::fromUtf8(c.qt));
        ASSERT_TRUE(converted.has_value()) << c.qt;
        EXPECT_EQ(converted->pattern, c.pattern) << c.qt;
        EXPECT_EQ(converted->separator, c.separator) << c.qt;
    }
}

// Windows names the separator beside the pattern; other characters are text.
TEST(ShortDatePattern, GivenSeparatorAloneBecomesTheSlash) {
    const Conversion conversions[] = {
        {"dd.MM.yyyy", "dd/mm/yyyy", "."},
        {"d/M/yyyy", "d'/'m'/'yyyy", "."},
        {"yyyy-MM-dd 'г.'", "yyyy/mm/dd 'г.'", "-"},
        {"d.M", "d.m", ".."},
    };
    for (const Conversion& c : conversions) {
        const auto converted =
            ConvertWindowsShortDatePattern(QString::fromUtf8(c.qt), QString::fromUtf8(c.separator));
        ASSERT_TRUE(converted.has_value()) << c.qt;
        EXPECT_EQ(converted->pattern, c.pattern) << c.qt;
        EXPECT_EQ(converted->separator, c.separator) << c.qt;
    }
}

TEST(ShortDatePattern, KeepsACharacterBeyondSixteenBitsWhole) {
    const auto converted = ConvertShortDatePattern(QString::fromUtf8("d\U0001F600M\U0001F600yy"));
    ASSERT_TRUE(converted.has_value());
    EXPECT_EQ(converted->pattern, "d/m/yy");
    EXPECT_EQ(converted->separator, "\U0001F600");
}

TEST(ShortDatePattern, EmptyPatternGivesNone) {
    EXPECT_FALSE(ConvertShortDatePattern(QString()).has_value());
}

log::Date LogDate(QDate date) {
    return {date.year(), date.month(), date.day(), date.dayOfWeek() % 7};
}

// The converted pattern must write every date the way Qt writes it with the
// original pattern, names and separator included.
TEST(ShortDatePattern, WritesTheSameDateAsQt) {
    const QLocale locales[] = {QLocale(QLocale::C), QLocale(QLocale::German, QLocale::Germany),
                               QLocale(QLocale::Bulgarian, QLocale::Bulgaria)};
    const QDate dates[] = {QDate(2026, 12, 6), QDate(2003, 1, 2), QDate(1999, 9, 30)};
    for (const QLocale& locale : locales) {
        log::DateSettings settings = ReadLocaleSettings(locale).dates;
        if (locale.language() == QLocale::C) settings = log::DateSettings{};
        for (const Conversion& c : kConversions) {
            const QString qtPattern = QString::fromUtf8(c.qt);
            const auto converted = ConvertShortDatePattern(qtPattern);
            ASSERT_TRUE(converted.has_value());
            settings.pattern = converted->pattern;
            settings.separator = converted->separator;
            for (const QDate& date : dates) {
                EXPECT_EQ(log::FormatShortDate(LogDate(date), settings),
                          locale.toString(date, qtPattern).toStdString())
                    << c.qt << " in " << locale.name().toStdString();
            }
        }
    }
}

TEST(LocaleSettings, CLocaleGivesTheDefaults) {
    const app::LocaleSettings settings = ReadLocaleSettings(QLocale::c());
    const log::DateSettings defaults;
    EXPECT_EQ(settings.dates.pattern, "m/d/yy");
    EXPECT_EQ(settings.dates.separator, "/");
    EXPECT_EQ(settings.dates.shortMonthNames, defaults.shortMonthNames);
    EXPECT_EQ(settings.dates.longDayNames, defaults.longDayNames);
    EXPECT_EQ(settings.decimalSeparator, QLatin1Char('.'));
}

TEST(LocaleSettings, GermanGivesItsPatternNamesAndComma) {
    const app::LocaleSettings settings =
        ReadLocaleSettings(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(settings.dates.pattern, "dd/mm/yy");
    EXPECT_EQ(settings.dates.separator, ".");
    EXPECT_EQ(settings.dates.shortDayNames[0], "So.");
    EXPECT_EQ(settings.dates.longDayNames[0], "Sonntag");
    EXPECT_EQ(settings.dates.longDayNames[6], "Samstag");
    EXPECT_EQ(settings.dates.shortMonthNames[8], "Sept.");
    EXPECT_EQ(settings.dates.longMonthNames[2], "M\u00e4rz");
    EXPECT_EQ(settings.decimalSeparator, QLatin1Char(','));
}

TEST(LocaleSettings, EnglishLocalesKeepTheirOrderOfFields) {
    EXPECT_EQ(ReadLocaleSettings(QLocale(QLocale::English, QLocale::UnitedStates)).dates.pattern,
              "m/d/yy");
    const app::LocaleSettings british =
        ReadLocaleSettings(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(british.dates.pattern, "dd/mm/yyyy");
    EXPECT_EQ(british.dates.shortDayNames[0], "Sun");
}

}  // namespace
}  // namespace tandrel::test
