#include "core/game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "tests/support/engine_fakes.h"

namespace tandrel::core {
namespace {

using test::FakeResultWriter;
using test::MillisecondDrawing;
using test::PinnedClock;
using test::RecordingView;
using Calls = std::vector<std::string>;

class GameTest : public ::testing::Test {
  protected:
    GameState state;
    RecordingView view;
    PinnedClock clock;
    FakeResultWriter results{view.calls};
    Game game{state, view, clock, results};

    void TickDrawing(std::uint8_t value) {
        clock.millisecond = MillisecondDrawing(value, state.amount);
        game.PlaybackTick();
    }

    // Sets the state as if `shown` flashes were drawn and `clicked` answers given.
    void ArrangeFinishedGame(std::uint8_t amount, std::uint8_t answered) {
        state.amount = amount;
        state.shown = answered;
        state.clicked = answered;
    }
};

TEST(GameStateTest, ProcessRecordStartsZeroed) {
    const GameState& state = TheGameState();
    EXPECT_EQ(&state, &TheGameState());
    EXPECT_EQ(state.shown + state.clicked + state.amount + state.score, 0);
    for (std::size_t i = 0; i < 256; ++i) {
        ASSERT_EQ(state.sequence[i], 0);
        ASSERT_EQ(state.answers[i], 0);
    }
}

TEST_F(GameTest, SetUpAndGoResetCountersAndStartClocksInOrder) {
    state.shown = 9;
    state.clicked = 4;
    state.score = 2;
    game.GameSetUp();
    EXPECT_EQ(state.amount, 3);
    EXPECT_EQ(state.shown, 0);
    EXPECT_EQ(state.clicked, 0);
    EXPECT_EQ(state.score, 2);  // only Go clears the score
    EXPECT_EQ(view.calls, (Calls{"playback off", "end check on"}));

    view.calls.clear();
    state.shown = 9;
    state.clicked = 4;
    state.sequence[1] = 5;
    state.answers[1] = 6;
    game.StartGame();
    EXPECT_EQ(state.score, 0);
    EXPECT_EQ(state.shown, 0);
    EXPECT_EQ(state.clicked, 0);
    EXPECT_EQ(state.sequence[1], 5);  // slots are never cleared
    EXPECT_EQ(state.answers[1], 6);
    // Go leaves the display alone.
    EXPECT_EQ(view.calls, (Calls{"playback on", "end check on"}));
}

TEST_F(GameTest, RefusedPlaybackClockStillStartsTheEndCheck) {
    view.refusePlaybackClock = true;
    EXPECT_THROW(game.StartGame(), TimerError);
    EXPECT_EQ(view.calls, (Calls{"playback on", "end check on"}));
    EXPECT_TRUE(view.endCheckRunning);
}

TEST_F(GameTest, SetAmountKeepsTheLowEightBits) {
    const std::vector<std::pair<std::int32_t, int>> cases{
        {3, 3},    {255, 255}, {256, 0},         {300, 44},
        {-5, 251}, {-1, 255},  {INT32_MAX, 255}, {INT32_MIN, 0},
    };
    for (const auto& [value, amount] : cases) {
        game.SetAmount(value);
        EXPECT_EQ(state.amount, amount) << value;
    }
}

TEST_F(GameTest, PlaybackTickLightsTheDrawnBoxInOrder) {
    state.amount = 3;
    TickDrawing(2);
    EXPECT_EQ(state.shown, 1);
    EXPECT_EQ(state.sequence[1], 2);
    EXPECT_EQ(view.calls, (Calls{"hide all", "sequence 1", "show box 3"}));
}

TEST_F(GameTest, ValuesBeyondTheSixBoxesLightNothing) {
    state.amount = 7;
    TickDrawing(6);
    EXPECT_EQ(state.sequence[1], 6);
    EXPECT_EQ(view.calls, (Calls{"hide all", "sequence 1"}));
}

TEST_F(GameTest, ClosingTickHidesTheBoxAndStopsPlayback) {
    state.amount = 3;
    state.shown = 3;
    TickDrawing(1);
    EXPECT_EQ(state.shown, 3);
    EXPECT_EQ(state.sequence[4], 1);  // kept, never scored
    EXPECT_EQ(view.calls, (Calls{"hide all", "sequence 4", "show box 2", "sequence 3", "hide all",
                                 "playback off"}));
}

TEST_F(GameTest, RaisedAmountDuringPlaybackRunsLonger) {
    state.amount = 3;
    state.shown = 3;
    game.SetAmount(5);
    TickDrawing(4);
    EXPECT_EQ(state.shown, 4);
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "playback off"), 0);
}

TEST_F(GameTest, ClicksCountUpToTheAmount) {
    state.amount = 2;
    game.BoxClick(4);
    game.BoxClick(6);
    game.BoxClick(1);  // third answer of two: ignored
    EXPECT_EQ(state.clicked, 2);
    EXPECT_EQ(state.answers[1], 4);
    EXPECT_EQ(state.answers[2], 6);
    EXPECT_EQ(state.answers[3], 0);
    EXPECT_EQ(view.calls, (Calls{"sequence 1", "sequence 2"}));
}

TEST_F(GameTest, ClicksOutsideTheSixBoxesAreIgnored) {
    state.amount = 3;
    game.BoxClick(0);
    game.BoxClick(7);
    game.BoxClick(-1);
    EXPECT_EQ(state.clicked, 0);
    EXPECT_TRUE(view.calls.empty());
}

TEST_F(GameTest, EndCheckWaitsForAnswersToMeetFlashes) {
    state.amount = 3;
    game.EndCheckTick();  // nothing shown, nothing clicked
    state.clicked = 2;
    game.EndCheckTick();  // answers before any flash
    state.shown = 3;
    game.EndCheckTick();  // two answers of three flashes
    EXPECT_TRUE(results.attempts.empty());

    state.clicked = 3;
    game.EndCheckTick();
    EXPECT_EQ(results.attempts.size(), 1u);
}

TEST_F(GameTest, EndGameWritesThenStopsTheCheckThenShowsScores) {
    ArrangeFinishedGame(3, 3);
    state.sequence = {0, 0, 1, 5};
    state.answers = {0, 1, 2, 5};  // positions 1 and 2 match
    view.name = "Bo";
    clock.date = {2027, 1, 31, 0};
    game.EndGame();

    EXPECT_EQ(state.score, 2);
    ASSERT_EQ(results.attempts.size(), 1u);
    const auto& written = results.attempts[0];
    EXPECT_EQ(written.name, "Bo");
    EXPECT_EQ(written.date.year, 2027);
    EXPECT_EQ(written.date.day, 31);
    EXPECT_EQ(written.score, 2);
    EXPECT_EQ(written.amount, 3);
    EXPECT_EQ(view.calls, (Calls{"write result", "end check off", "show scores"}));
}

TEST_F(GameTest, FailedWriteCountsOnceAndRetriesTheSameResult) {
    ArrangeFinishedGame(3, 3);
    state.sequence = {0, 2, 2, 2};
    state.answers = {0, 3, 3, 3};
    results.failuresLeft = 2;
    view.name = "Cy";
    clock.date = {2026, 12, 7, 1};

    EXPECT_THROW(game.EndCheckTick(), std::runtime_error);
    EXPECT_EQ(state.score, 3);
    EXPECT_TRUE(game.ResultPending());

    // The name field and the date move on; the retry still writes the
    // result as it was first counted, even once the counters no longer meet.
    // Failing as before, it raises nothing.
    view.name = "Someone else";
    clock.date = {2026, 12, 8, 2};
    state.clicked = 1;
    EXPECT_NO_THROW(game.EndCheckTick());
    EXPECT_TRUE(game.ResultPending());
    game.EndCheckTick();

    EXPECT_EQ(state.score, 3);
    ASSERT_EQ(results.attempts.size(), 3u);
    for (const auto& attempt : results.attempts) {
        EXPECT_EQ(attempt.name, "Cy");
        EXPECT_EQ(attempt.date.day, 7);
        EXPECT_EQ(attempt.score, 3);
        EXPECT_EQ(attempt.amount, 3);
    }
    // The clock stops and the scores open only after the write that worked.
    EXPECT_EQ(view.calls, (Calls{"write result", "write result", "write result", "end check off",
                                 "show scores"}));
    EXPECT_FALSE(game.ResultPending());
}

TEST_F(GameTest, RetryRaisesItsFailureOnlyWhenTheMessageDiffersFromTheLast) {
    ArrangeFinishedGame(3, 3);
    results.failuresLeft = 5;
    EXPECT_THROW(game.EndCheckTick(), std::runtime_error);
    EXPECT_NO_THROW(game.EndCheckTick());
    results.failureMessage = "access denied";
    EXPECT_THROW(game.EndCheckTick(), std::runtime_error);
    EXPECT_NO_THROW(game.EndCheckTick());
    results.failureMessage = "disk full";
    EXPECT_THROW(game.EndCheckTick(), std::runtime_error);

    EXPECT_EQ(results.attempts.size(), 5u);
    EXPECT_TRUE(game.ResultPending());
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "end check off"), 0);
    EXPECT_EQ(view.scoresOpened, 0);
}

TEST_F(GameTest, GoDiscardsAnUnwrittenResult) {
    ArrangeFinishedGame(3, 3);
    results.failuresLeft = 2;
    EXPECT_THROW(game.EndCheckTick(), std::runtime_error);

    game.StartGame();
    EXPECT_FALSE(game.ResultPending());
    game.EndCheckTick();  // a fresh game with nothing shown
    EXPECT_EQ(results.attempts.size(), 1u);

    // The next game's result is another one: its first failure is raised
    // even when it says what the last game's did.
    ArrangeFinishedGame(3, 3);
    EXPECT_THROW(game.EndCheckTick(), std::runtime_error);
}

}  // namespace
}  // namespace tandrel::core
