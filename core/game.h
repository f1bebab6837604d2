#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/clock_source.h"
#include "core/game_state.h"
#include "core/game_view.h"
#include "core/result_writer.h"

namespace tandrel::core {

// The rules of the game: every event that changes the game state.
//
// A game's result is counted once. When it cannot be written, the end check
// stays on and each following EndCheckTick writes the same result again (same
// date, name, score and amount) until it succeeds or a new game discards it.
class Game {
  public:
    Game(GameState& state, GameView& view, const ClockSource& clock, ResultWriter& results);

    void GameSetUp();
    void StartGame();
    void PlaybackTick();
    void BoxClick(int box);  // box 1..6; anything else is ignored
    void SetAmount(std::int32_t value);
    void EndCheckTick();
    void EndGame();  // throws what the result writer throws

    const GameState& State() const { return state_; }
    bool ResultPending() const { return pending_.has_value(); }

  private:
    // A finished game's result as first counted, kept until it is written.
    struct Result {
        log::Date date;
        std::string name;
        std::uint8_t score = 0;
        std::uint8_t amount = 0;
    };

    void StartClocks();
    bool IsClosingTick() const;
    void CloseTick();
    Result CountResult();

    GameState& state_;
    GameView& view_;
    const ClockSource& clock_;
    ResultWriter& results_;
    std::optional<Result> pending_;
};

}  // namespace tandrel::core
