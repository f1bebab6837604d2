#pragma once

// The lines that the concurrent-copies test writes. Each line can be checked
// on its own: it names its writer and its number, and its filler has a length
// and content fixed by both, so a torn or interleaved line never passes.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace tandrel::test {

struct LineId {
    char writer = 'A';
    int index = 0;
};

// Lengths from 20 to about 220 bytes, so that lines often straddle the
// boundaries of the file system's pages.
inline std::string MakeLine(LineId id) {
    char head[32];
    std::snprintf(head, sizeof head, "%c %05d ", id.writer, id.index);
    const auto fillerLength = static_cast<std::size_t>((id.index * 37) % 200);
    std::string line = head;
    line.append(fillerLength, static_cast<char>('a' + (id.index + id.writer) % 26));
    line += " end";
    return line;
}

// The writer and number of a line that is exactly as MakeLine writes it.
inline std::optional<LineId> ParseWholeLine(std::string_view line) {
    if (line.size() < 8 || line[1] != ' ' || line[7] != ' ') return std::nullopt;
    LineId id{line[0], 0};
    for (const char c : line.substr(2, 5)) {
        if (c < '0' || c > '9') return std::nullopt;
        id.index = id.index * 10 + (c - '0');
    }
    if (line != MakeLine(id)) return std::nullopt;
    return id;
}

}  // namespace tandrel::test
