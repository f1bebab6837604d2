#pragma once

// A score log of many games for the scores window's benchmarks.

#include <cstddef>
#include <string>

#include "tests/support/files.h"

namespace tandrel::bench {

// Writes a log of `lineCount` games to `path`, one line each.
inline void WriteBenchScoreLog(const std::string& path, std::size_t lineCount) {
    test::WriteLines(path, lineCount, [](std::size_t index) {
        const std::size_t game = index + 1;
        return "12/6/26    Player " + std::to_string(game) + "    " + std::to_string(game % 4) +
               " out of 3";
    });
}

}  // namespace tandrel::bench
