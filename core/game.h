#pragma once

#include <cstdint>

#include "core/clock_source.h"
#include "core/game_state.h"
#include "core/game_view.h"
#include "core/result_writer.h"

namespace tandrel::core {

// The rules of the game: every event that changes the game state.
class Game {
  public:
    Game(GameState& state, GameView& view, const ClockSource& clock, ResultWriter& results);

    void GameSetUp();
    void StartGame();
    void PlaybackTick();
    void BoxClick(int box);
    void SetAmount(std::int32_t value);
    void EndCheckTick();
    void EndGame();

    const GameState& State() const { return state_; }
};

}  // namespace tandrel::core
