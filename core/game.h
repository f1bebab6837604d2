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
// A failure is raised the first time only: a retry that fails with the same
// message as the last one is quiet, so the player is not asked to dismiss the
// same error at every tick.
class Game {
  public:
    Game(GameState& state, GameView& view, const ClockSource& clock, ResultWriter& results);

    void GameSetUp();
    void StartGame();
    void PlaybackTick();
    void BoxClick(int box);  // box 1..6; anything else is ignored
    void SetAmount(std::int32_t value);
    void EndCheckTick();
    void EndGame();  // throws what the result writer throws, unless it is the last failure again

    const GameState& State() const { return state_; }
    bool ResultPending() const { return pending_.has_value(); }

  private:
    // A finished game's result as first counted, kept until it is written.
    struct Result {
        Date date;
        std::string name;
        std::uint8_t score = 0;
        std::uint8_t amount = 0;
        std::optional<std::string> lastFailure;  // the message of the last failed write
    };

    void StartClocks();
    bool IsClosingTick() const;
    void CloseTick();
    Result CountResult();
    // False when the write failed again with the message of the last failure.
    bool WritePendingResult();

    GameState& state_;
    GameView& view_;
    const ClockSource& clock_;
    ResultWriter& results_;
    std::optional<Result> pending_;
};

}  // namespace tandrel::core
