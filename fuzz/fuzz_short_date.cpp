// Formats a date with arbitrary short date patterns and separators. The
// pattern is handed over in a buffer of exactly its size, so AddressSanitizer
// (and the standard library's assertions) stop any read past its end. Two
// properties are also checked: a pattern without pattern letters, quotes or
// "/" comes out unchanged, and so does quoted text without the quote inside.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "log/date_format.h"

namespace {

using tandrel::log::Date;
using tandrel::log::DateSettings;

bool IsSpecial(char c) {
    switch (c) {
        case 'd':
        case 'D':
        case 'm':
        case 'M':
        case 'y':
        case 'Y':
        case '\'':
        case '"':
        case '/':
            return true;
        default:
            return false;
    }
}

bool HasSpecial(std::string_view text) {
    for (const char c : text) {
        if (IsSpecial(c)) return true;
    }
    return false;
}

Date ConsumeDate(FuzzedDataProvider& input) {
    Date date;
    date.year = input.ConsumeIntegralInRange(0, 9999);
    date.month = input.ConsumeIntegralInRange(1, 12);
    date.day = input.ConsumeIntegralInRange(1, 31);
    date.weekday = input.ConsumeIntegralInRange(0, 6);
    return date;
}

void Expect(bool holds, const char* what, std::string_view pattern, const std::string& output) {
    if (holds) return;
    std::fprintf(stderr, "%s: pattern \"%.*s\" gave \"%s\"\n", what,
                 static_cast<int>(pattern.size()), pattern.data(), output.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const Date date = ConsumeDate(input);
    DateSettings settings;
    settings.separator = input.ConsumeRandomLengthString(8);
    settings.pattern = input.ConsumeRemainingBytesAsString();
    settings.pattern.shrink_to_fit();

    const std::string output = tandrel::log::FormatShortDate(date, settings);

    const std::string_view pattern = settings.pattern;
    if (!HasSpecial(pattern)) {
        Expect(output == pattern, "plain text changed", pattern, output);
    }
    if (pattern.size() >= 2 && pattern.front() == '"' && pattern.back() == '"') {
        const std::string_view inner = pattern.substr(1, pattern.size() - 2);
        if (inner.find('"') == std::string_view::npos) {
            Expect(output == inner, "quoted text changed", pattern, output);
        }
    }
    return 0;
}
