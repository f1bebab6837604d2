// The short date pattern: runs of d, m and y (either case) stand for parts of
// the date, "/" for the date separator, quoted text is copied without its
// quotes, and every other byte is copied as it is. A run longer than the
// longest form of its letter ("ddddd", "mmmmmm") is written as that longest
// form; an unclosed quote copies the rest of the pattern.

#include "log/date_format.h"

#include <cstddef>
#include <string_view>

namespace tandrel::log {

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsQuote(char c) { return c == '\'' || c == '"'; }

std::size_t RunLength(std::string_view pattern, std::size_t start) {
    const char letter = LowerAscii(pattern[start]);
    std::size_t end = start + 1;
    while (end < pattern.size() && LowerAscii(pattern[end]) == letter) {
        ++end;
    }
    return end - start;
}

void AppendNumber(std::string& out, long long value, std::size_t minDigits) {
    if (value < 0) {
        out += '-';
    }
    // Negated as unsigned so that the smallest value does not overflow.
    const unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                   : static_cast<unsigned long long>(value);
    const std::string digits = std::to_string(magnitude);
    if (digits.size() < minDigits) {
        out.append(minDigits - digits.size(), '0');
    }
    out += digits;
}

// Dates the clock cannot give (month 13, weekday 9) write no name rather
// than reading outside the table.
template <std::size_t N>
void AppendName(std::string& out, const std::array<std::string, N>& names, long long index) {
    if (index >= 0 && static_cast<std::size_t>(index) < N) {
        out += names[static_cast<std::size_t>(index)];
    }
}

void AppendDay(std::string& out, std::size_t run, const Date& date, const DateSettings& s) {
    if (run <= 2) {
        AppendNumber(out, date.day, run);
    } else if (run == 3) {
        AppendName(out, s.shortDayNames, date.weekday);
    } else {
        AppendName(out, s.longDayNames, date.weekday);
    }
}

void AppendMonth(std::string& out, std::size_t run, const Date& date, const DateSettings& s) {
    if (run <= 2) {
        AppendNumber(out, date.month, run);
    } else if (run == 3) {
        AppendName(out, s.shortMonthNames, static_cast<long long>(date.month) - 1);
    } else {
        AppendName(out, s.longMonthNames, static_cast<long long>(date.month) - 1);
    }
}

void AppendYear(std::string& out, std::size_t run, const Date& date) {
    if (run <= 2) {
        const long long lastTwoDigits = ((date.year % 100) + 100) % 100;
        AppendNumber(out, lastTwoDigits, 2);
    } else {
        AppendNumber(out, date.year, 4);
    }
}

// Copies the quoted text that opens at `quoteAt`; returns where the pattern
// goes on after the closing quote.
std::size_t AppendQuoted(std::string& out, std::string_view pattern, std::size_t quoteAt) {
    const std::size_t textStart = quoteAt + 1;
    const std::size_t closeAt = pattern.find(pattern[quoteAt], textStart);
    if (closeAt == std::string_view::npos) {
        out += pattern.substr(textStart);
        return pattern.size();
    }
    out += pattern.substr(textStart, closeAt - textStart);
    return closeAt + 1;
}

}  // namespace

std::string FormatShortDate(const Date& date, const DateSettings& settings) {
    const std::string_view pattern = settings.pattern;
    std::string out;
    std::size_t pos = 0;
    while (pos < pattern.size()) {
        const char c = pattern[pos];
        const char letter = LowerAscii(c);
        if (IsQuote(c)) {
            pos = AppendQuoted(out, pattern, pos);
            continue;
        }
        if (letter != 'd' && letter != 'm' && letter != 'y') {
            if (c == '/') {
                out += settings.separator;
            } else {
                out += c;
            }
            ++pos;
            continue;
        }
        const std::size_t run = RunLength(pattern, pos);
        if (letter == 'd') {
            AppendDay(out, run, date, settings);
        } else if (letter == 'm') {
            AppendMonth(out, run, date, settings);
        } else {
            AppendYear(out, run, date);
        }
        pos += run;
    }
    return out;
}

}  // namespace tandrel::log
