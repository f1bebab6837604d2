#include "ui/spin_value.h"

#include <cstddef>
#include <limits>

namespace tandrel::ui {
namespace {

constexpr std::int64_t kLargestPositive = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kLargestMagnitude = kLargestPositive + 1;  // of the most negative value

int DecimalDigit(char c) { return c >= '0' && c <= '9' ? c - '0' : -1; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a non-empty run of digits that makes up the whole of `digits`, giving
// up as soon as the magnitude passes `limit`, so that any number of digits is
// safe.
bool ReadMagnitude(std::string_view digits, int base, int (*digitOf)(char), std::int64_t limit,
                   std::int64_t& magnitude) {
    if (digits.empty()) return false;
    magnitude = 0;
    for (const char c : digits) {
        const int digit = digitOf(c);
        if (digit < 0) return false;
        magnitude = magnitude * base + digit;
        if (magnitude > limit) return false;
    }
    return true;
}

}  // namespace

bool ParseSpinText(std::string_view text, std::int32_t& value) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return false;
    text.remove_prefix(first);

    std::int64_t magnitude = 0;
    if (text.front() == '$') {
        if (!ReadMagnitude(text.substr(1), 16, HexDigit, kLargestPositive, magnitude)) return false;
        value = static_cast<std::int32_t>(magnitude);
        return true;
    }

    const bool negative = text.front() == '-';
    if (negative || text.front() == '+') text.remove_prefix(1);
    const std::int64_t limit = negative ? kLargestMagnitude : kLargestPositive;
    if (!ReadMagnitude(text, 10, DecimalDigit, limit, magnitude)) return false;
    value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    return true;
}

std::int32_t SpinValue(std::string_view text, std::int32_t minimum) {
    std::int32_t value = minimum;
    return ParseSpinText(text, value) ? value : minimum;
}

}  // namespace tandrel::ui
