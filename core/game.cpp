#include "core/game.h"

#include <exception>

#include "core/box_draw.h"

namespace tandrel::core {

namespace {

constexpr int kBoxCount = 6;

}  // namespace

Game::Game(GameState& state, GameView& view, const ClockSource& clock, ResultWriter& results)
    : state_(state), view_(view), clock_(clock), results_(results) {}

void Game::GameSetUp() {
    state_.amount = 3;
    state_.shown = 0;
    state_.clicked = 0;
    pending_.reset();
    view_.SetPlaybackClockEnabled(false);
    view_.SetEndCheckClockEnabled(true);
}

void Game::StartGame() {
    state_.score = 0;
    state_.shown = 0;
    state_.clicked = 0;
    pending_.reset();  // an unwritten result of the last game is given up
    StartClocks();
}

void Game::StartClocks() {
    // When the playback clock cannot be had, the end check still starts, so
    // the game can end once a new Time value gets the playback going.
    try {
        view_.SetPlaybackClockEnabled(true);
    } catch (...) {
        view_.SetEndCheckClockEnabled(true);
        throw;
    }
    view_.SetEndCheckClockEnabled(true);
}

void Game::PlaybackTick() {
    view_.HideAllBoxes();
    ++state_.shown;  // wraps from 255 to 0
    const std::uint8_t value = DrawBox(state_.amount, clock_);
    state_.sequence[state_.shown] = value;
    view_.ShowSequence(state_.shown);
    if (value < kBoxCount) {
        view_.ShowBox(value + 1);
    }
    if (IsClosingTick()) {
        CloseTick();
    }
}

bool Game::IsClosingTick() const {
    return state_.shown == static_cast<std::uint8_t>(state_.amount + 1);
}

void Game::CloseTick() {
    state_.shown = state_.amount;
    view_.ShowSequence(state_.shown);
    view_.HideAllBoxes();
    view_.SetPlaybackClockEnabled(false);
}

void Game::BoxClick(int box) {
    if (box < 1 || box > kBoxCount || state_.clicked >= state_.amount) {
        return;
    }
    ++state_.clicked;
    state_.answers[state_.clicked] = static_cast<std::uint8_t>(box);
    view_.ShowSequence(state_.clicked);
}

void Game::SetAmount(std::int32_t value) {
    // Signed to unsigned conversion is modular, so -5 becomes 251 and 300 becomes 44.
    state_.amount = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value));
}

void Game::EndCheckTick() {
    if (pending_ || (state_.clicked == state_.shown && state_.clicked > 0)) {
        EndGame();
    }
}

void Game::EndGame() {
    if (!pending_) {
        pending_ = CountResult();
    }
    if (!WritePendingResult()) {
        return;  // the same failure as last time, already shown; tried again at the next tick
    }
    pending_.reset();
    view_.SetEndCheckClockEnabled(false);
    view_.ShowScores();
}

bool Game::WritePendingResult() {
    try {
        results_.WriteResult(pending_->date, pending_->name, pending_->score, pending_->amount);
        return true;
    } catch (const std::exception& error) {
        if (pending_->lastFailure == error.what()) {
            return false;
        }
        pending_->lastFailure = error.what();
        throw;
    }
}

Game::Result Game::CountResult() {
    // Every position up to the amount counts, including those this game never
    // answered: their slots still hold earlier games' values.
    for (int i = 1; i <= state_.amount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        if (state_.answers[index] == state_.sequence[index] + 1) {
            ++state_.score;
        }
    }
    return Result{clock_.LocalDate(), view_.NameText(), state_.score, state_.amount, std::nullopt};
}

}  // namespace tandrel::core
