#include "log/date_format.h"

#include <gtest/gtest.h>

namespace tandrel::log {
namespace {

const Date kSixthOfDecember2026{2026, 12, 6, 0};  // a Sunday

std::string Format(std::string pattern, std::string separator = "/",
                   const Date& date = kSixthOfDecember2026) {
    DateSettings settings;
    settings.pattern = std::move(pattern);
    settings.separator = std::move(separator);
    return FormatShortDate(date, settings);
}

TEST(FormatShortDate, NumbersWithAndWithoutLeadingZeros) {
    EXPECT_EQ(FormatShortDate(kSixthOfDecember2026, DateSettings{}), "12/6/26");
    EXPECT_EQ(Format("dd.mm.yyyy", "."), "06.12.2026");
    EXPECT_EQ(Format("dd/mm/yyyy", "."), "06.12.2026");
    EXPECT_EQ(Format("d/m/y", " - ", Date{2009, 3, 1, 0}), "1 - 3 - 09");
    EXPECT_EQ(Format("yyy yyyy yyyyyy", "/", Date{5, 1, 1, 0}), "0005 0005 0005");
    EXPECT_EQ(Format("yy", "/", Date{2100, 1, 1, 0}), "00");
}

TEST(FormatShortDate, DayAndMonthNames) {
    EXPECT_EQ(Format("dddd, d mmmm yyyy"), "Sunday, 6 December 2026");
    EXPECT_EQ(Format("ddd mmm"), "Sun Dec");
    // Runs longer than the longest form write the longest form.
    EXPECT_EQ(Format("ddddd mmmmmm"), "Sunday December");

    DateSettings german;
    german.pattern = "dddd d. mmmm";
    german.longDayNames[0] = "Sonntag";
    german.longMonthNames[11] = "Dezember";
    EXPECT_EQ(FormatShortDate(kSixthOfDecember2026, german), "Sonntag 6. Dezember");
}

TEST(FormatShortDate, LettersInEitherCase) {
    EXPECT_EQ(Format("DD/MM/YY"), "06/12/26");
    EXPECT_EQ(Format("Dd-mM-yYyY"), "06-12-2026");
    EXPECT_EQ(Format("DDDD MMM"), "Sunday Dec");
}

TEST(FormatShortDate, QuotedAndOtherTextIsCopied) {
    EXPECT_EQ(Format("'day' d \"of\" m"), "day 6 of 12");
    EXPECT_EQ(Format("\"it's\" d"), "it's 6");
    EXPECT_EQ(Format("'d/m' d"), "d/m 6");
    EXPECT_EQ(Format("d 'unclosed m"), "6 unclosed m");
    EXPECT_EQ(Format("d\xe6\x97\xa5 #x!"), "6\xe6\x97\xa5 #x!");
    EXPECT_EQ(Format(""), "");
}

TEST(FormatShortDate, DatesOutsideTheCalendarWriteNoName) {
    const Date impossible{-2147483647 - 1, 13, -5, 9};
    EXPECT_EQ(Format("ddd|mmmm|mm|d", "/", impossible), "||13|-5");
    EXPECT_EQ(Format("yyyy", "/", impossible), "-2147483648");
    EXPECT_EQ(Format("yy", "/", impossible), "52");
}

}  // namespace
}  // namespace tandrel::log
