// Compares the spin field's text-to-value rules on arbitrary text with a
// reference that checks the shape of the text by hand and leaves the number
// itself to the C library's strtoll and strtoull.

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "ui/spin_value.h"

namespace {

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) {
    return IsDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

template <typename Predicate>
bool NonEmptyAndAll(const std::string& text, Predicate predicate) {
    return !text.empty() && std::all_of(text.begin(), text.end(), predicate);
}

// "$" and hexadecimal digits, below 2^31.
std::optional<std::int32_t> ReferenceHex(const std::string& digits) {
    // strtoull would also take a sign, spaces or "0x": the digits are checked first.
    if (!NonEmptyAndAll(digits, IsHexDigit)) return std::nullopt;
    errno = 0;
    const unsigned long long value = std::strtoull(digits.c_str(), nullptr, 16);
    if (errno == ERANGE || value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

// An optional sign and decimal digits, within the signed 32-bit range.
std::optional<std::int32_t> ReferenceDecimal(const std::string& text) {
    const bool signed_ = text.front() == '+' || text.front() == '-';
    if (!NonEmptyAndAll(text.substr(signed_ ? 1 : 0), IsDecimalDigit)) return std::nullopt;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ReferenceValue(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    const std::string rest(text.substr(first));
    return rest.front() == '$' ? ReferenceHex(rest.substr(1)) : ReferenceDecimal(rest);
}

[[noreturn]] void Mismatch(std::string_view text, const char* what) {
    std::fprintf(stderr, "spin value mismatch (%s) for %zu bytes:", what, text.size());
    for (const char c : text) std::fprintf(stderr, " %02x", static_cast<unsigned char>(c));
    std::fprintf(stderr, "\n");
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::int32_t> expected = ReferenceValue(text);

    std::int32_t parsed = 0;
    const bool isNumber = tandrel::ui::ParseSpinText(text, parsed);
    if (isNumber != expected.has_value()) Mismatch(text, "number or not");
    if (isNumber && parsed != *expected) Mismatch(text, "value");

    for (const std::int32_t minimum : {std::int32_t{3}, std::int32_t{1}, std::int32_t{-7},
                                       std::numeric_limits<std::int32_t>::min()}) {
        if (tandrel::ui::SpinValue(text, minimum) != expected.value_or(minimum)) {
            Mismatch(text, "value with minimum");
        }
    }
    return 0;
}
