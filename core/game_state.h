#pragma once

#include <array>
#include <cstdint>

namespace tandrel::core {

// The one game in progress. Counters wrap as unsigned 8-bit values; the two
// arrays are never cleared, so slots beyond this game's counts keep earlier values.
struct GameState {
    std::uint8_t shown = 0;    // number of the flash last drawn
    std::uint8_t clicked = 0;  // answers given
    std::uint8_t amount = 0;   // flashes per game
    std::uint8_t score = 0;
    std::array<std::uint8_t, 256> sequence{};  // sequence[i]: value drawn at flash i
    std::array<std::uint8_t, 256> answers{};   // answers[1..255]: box of the i-th click; [0] unused
};

// The process-wide record, zeroed at start-up.
GameState& TheGameState();

}  // namespace tandrel::core
