#include "ui/spin_value.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <string_view>

namespace tandrel::ui {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct ParseCase {
    std::string_view text;
    std::optional<std::int32_t> number;  // empty: not a number
};

void PrintTo(const ParseCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class ParseSpinTextTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseSpinTextTest, ReadsTheNumberOrNone) {
    const ParseCase& c = GetParam();
    std::int32_t value = -77;
    const bool is_number = ParseSpinText(c.text, value);
    ASSERT_EQ(is_number, c.number.has_value());
    if (is_number) {
        EXPECT_EQ(value, *c.number);
    } else {
        EXPECT_EQ(value, -77) << "a failed read leaves the value alone";
    }
}

INSTANTIATE_TEST_SUITE_P(Decimal, ParseSpinTextTest,
                         ::testing::Values(ParseCase{"7", 7}, ParseCase{"300", 300},
                                           ParseCase{"-5", -5}, ParseCase{"+5", 5},
                                           ParseCase{"-0", 0},
                                           ParseCase{"000000000000000042", 42}));

INSTANTIATE_TEST_SUITE_P(Spaces, ParseSpinTextTest,
                         ::testing::Values(ParseCase{" 7", 7}, ParseCase{"   -12", -12},
                                           ParseCase{"7 ", std::nullopt},
                                           ParseCase{"- 5", std::nullopt},
                                           ParseCase{"\t7", std::nullopt},
                                           ParseCase{"   ", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    Hexadecimal, ParseSpinTextTest,
    ::testing::Values(ParseCase{"$1F", 31}, ParseCase{"$1f", 31}, ParseCase{"$aBc", 0xABC},
                      ParseCase{" $10", 16}, ParseCase{"$7FFFFFFF", kMax},
                      ParseCase{"$00000000007fffffff", kMax}, ParseCase{"$80000000", std::nullopt},
                      ParseCase{"$FFFFFFFF", std::nullopt}, ParseCase{"$-1", std::nullopt},
                      ParseCase{"-$1F", std::nullopt}, ParseCase{"+$1F", std::nullopt},
                      ParseCase{"$G", std::nullopt}, ParseCase{"0x1F", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(Range, ParseSpinTextTest,
                         ::testing::Values(ParseCase{"2147483647", kMax},
                                           ParseCase{"2147483648", std::nullopt},
                                           ParseCase{"-2147483648", kMin},
                                           ParseCase{"-2147483649", std::nullopt},
                                           ParseCase{"+2147483648", std::nullopt},
                                           ParseCase{"99999999999999999999999999", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    NotNumbers, ParseSpinTextTest,
    ::testing::Values(ParseCase{"", std::nullopt}, ParseCase{"+", std::nullopt},
                      ParseCase{"-", std::nullopt}, ParseCase{"$", std::nullopt},
                      ParseCase{"--5", std::nullopt}, ParseCase{"1.5", std::nullopt},
                      ParseCase{"1,5", std::nullopt}, ParseCase{"1e3", std::nullopt},
                      ParseCase{"\xd9\xa3", std::nullopt}));  // Arabic-Indic 3

TEST(SpinValueTest, NotANumberReadsAsTheMinimumAndNumbersAreNotLimited) {
    EXPECT_EQ(SpinValue("", 1), 1);
    EXPECT_EQ(SpinValue("abc", 3), 3);
    EXPECT_EQ(SpinValue("$", -4), -4);
    EXPECT_EQ(SpinValue("300", 3), 300);
    EXPECT_EQ(SpinValue("-5", 3), -5);
}

}  // namespace
}  // namespace tandrel::ui
