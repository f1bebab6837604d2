// Whole games played through the engine's operations, with the results
// written to a real score log in a temporary folder and read back from it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/game.h"
#include "log/io_error.h"
#include "log/score_log.h"
#include "results/log_result_writer.h"
#include "tests/support/engine_fakes.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace tandrel::core {
namespace {

namespace fs = std::filesystem;
using test::MillisecondDrawing;
using test::PinnedClock;
using test::RecordingView;
using test::TempFolder;

log::DateSettings DottedDates() {
    log::DateSettings dates;
    dates.pattern = "d/m/yyyy";
    dates.separator = ".";
    return dates;
}

// The player's table: the engine, a window stand-in whose clocks tick only
// while the engine has them running, and the score log.
class GameDriverTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::string logPath = folder.File("trl.txt");
    PinnedClock clock;  // local date 7 December 2026
    RecordingView view;
    GameState state;
    results::LogResultWriter writer{DottedDates(), [this] { return logPath; }};
    Game game{state, view, clock, writer};

    void SetUp() override { game.GameSetUp(); }

    // One playback tick at a millisecond that draws `value`. Returns the box
    // the player sees lit afterwards, 0 for none.
    int Flash(std::uint8_t value) {
        EXPECT_TRUE(view.playbackRunning) << "tick of a stopped playback clock";
        clock.millisecond = MillisecondDrawing(value, state.amount);
        game.PlaybackTick();
        EXPECT_LE(view.litBoxes.size(), 1u);
        return view.litBoxes.empty() ? 0 : *view.litBoxes.begin();
    }

    std::vector<int> PlayBackWithoutClosing(const std::vector<std::uint8_t>& values) {
        std::vector<int> seen;
        for (std::uint8_t value : values) {
            seen.push_back(Flash(value));
        }
        return seen;
    }

    // Flashes `values`, then the closing tick; returns the boxes seen.
    std::vector<int> PlayBack(const std::vector<std::uint8_t>& values) {
        std::vector<int> seen = PlayBackWithoutClosing(values);
        Flash(0);
        return seen;
    }

    void Click(const std::vector<int>& boxes) {
        for (int box : boxes) {
            game.BoxClick(box);
        }
    }

    void EndCheckTick() {
        if (view.endCheckRunning) {
            game.EndCheckTick();
        }
    }

    std::vector<std::string> LogLines() const { return test::LogLines(logPath); }

    void PlayPerfectGameOfThree() {
        game.StartGame();
        Click(PlayBack({0, 1, 2}));
        EndCheckTick();
    }
};

TEST_F(GameDriverTest, PerfectGameOfThree) {
    game.StartGame();
    EXPECT_EQ(PlayBack({0, 2, 1}), (std::vector<int>{1, 3, 2}));
    EXPECT_FALSE(view.playbackRunning);
    EXPECT_TRUE(view.litBoxes.empty());  // the closing tick cleared the last flash
    EXPECT_EQ(view.sequenceField, 3);

    EndCheckTick();  // no answers yet
    Click({1, 3});
    EndCheckTick();  // two answers of three
    EXPECT_EQ(view.scoresOpened, 0);
    Click({2});
    EXPECT_EQ(view.sequenceField, 3);
    EndCheckTick();

    EXPECT_EQ(LogLines(), (std::vector<std::string>{"7.12.2026    Ann    3 out of 3"}));
    EXPECT_EQ(state.score, 3);
    EXPECT_EQ(view.scoresOpened, 1);
    EXPECT_FALSE(view.endCheckRunning);
}

TEST_F(GameDriverTest, AmountZeroClosesAtOnceAndNeverEnds) {
    game.SetAmount(256);
    game.StartGame();
    EXPECT_EQ(Flash(0), 0);
    EXPECT_FALSE(view.playbackRunning);
    EXPECT_EQ(view.sequenceField, 0);

    Click({1, 2});
    EXPECT_EQ(state.clicked, 0);
    EndCheckTick();
    EndCheckTick();
    EXPECT_TRUE(LogLines().empty());
    EXPECT_EQ(view.scoresOpened, 0);
}

TEST_F(GameDriverTest, AmountOfTwoHundredFiftyFiveClosesWhenTheCounterWraps) {
    game.SetAmount(255);
    game.StartGame();
    std::vector<int> seen;
    for (int flash = 1; flash <= 255; ++flash) {
        seen.push_back(Flash(static_cast<std::uint8_t>(flash % 9)));  // 6..8 light nothing
        EndCheckTick();
    }
    ASSERT_TRUE(view.playbackRunning);

    EXPECT_EQ(Flash(4), 0);  // tick 256: box 5 lit and hidden again at once
    EXPECT_EQ(state.sequence[0], 4);
    EXPECT_FALSE(view.playbackRunning);
    EXPECT_EQ(view.sequenceField, 255);

    // The player repeats what was lit and guesses box 6 for the dark flashes,
    // which drew 6 or more and so can never be matched.
    int lit = 0;
    for (int box : seen) {
        game.BoxClick(box == 0 ? 6 : box);
        lit += box == 0 ? 0 : 1;
    }
    EndCheckTick();
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"7.12.2026    Ann    " + std::to_string(lit) +
                                                    " out of 255"}));
}

TEST_F(GameDriverTest, LoweredAmountLetsThePlaybackRunOnThroughTheWrap) {
    game.SetAmount(5);
    game.StartGame();
    PlayBackWithoutClosing({0, 1, 2, 3});
    game.SetAmount(2);
    Click({1, 2, 3});  // the third answer is beyond the new amount
    EXPECT_EQ(state.clicked, 2);

    // The counter runs 5 .. 255, 0, 1, 2: the end check meets 2 = 2 there.
    int ticks = 0;
    while (view.scoresOpened == 0 && ticks < 300) {
        Flash(0);
        ++ticks;
        EndCheckTick();
    }
    EXPECT_EQ(ticks, 254);
    EXPECT_EQ(state.shown, 2);
    EXPECT_TRUE(view.playbackRunning);  // ending the game leaves the playback on

    Flash(0);  // counter 3 = amount + 1: the closing tick
    EXPECT_FALSE(view.playbackRunning);
    EXPECT_EQ(view.sequenceField, 2);
    // The wrapped ticks drew 0 into slots 1 and 2, so only the answer "box 1" matches.
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"7.12.2026    Ann    1 out of 2"}));
}

TEST_F(GameDriverTest, ClicksBeforeAnyGoAreNotAGame) {
    Click({3, 3, 3, 3});
    EXPECT_EQ(state.clicked, 3);
    EXPECT_EQ(view.sequenceField, 3);
    EndCheckTick();
    EndCheckTick();
    EXPECT_EQ(view.scoresOpened, 0);

    game.StartGame();
    EXPECT_EQ(state.clicked, 0);
    Click(PlayBack({2, 0, 1}));
    EndCheckTick();
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"7.12.2026    Ann    3 out of 3"}));
}

TEST_F(GameDriverTest, EarlyEndScoresStaleSlotsWhileThePlaybackPlaysOn) {
    PlayPerfectGameOfThree();  // leaves slots 1..3 at 0, 1, 2 and answers 1, 2, 3

    game.StartGame();
    EXPECT_EQ(Flash(0), 1);
    Click({1});
    EndCheckTick();  // one answer for one flash: the game ends here
    // Positions 2 and 3 still hold the first game's flashes and answers.
    EXPECT_EQ(state.score, 3);
    EXPECT_EQ(view.scoresOpened, 2);
    EXPECT_FALSE(view.endCheckRunning);

    EXPECT_EQ(Flash(2), 3);  // the remaining flashes still play
    EXPECT_EQ(Flash(1), 2);
    Flash(0);
    EXPECT_FALSE(view.playbackRunning);
    Click({3, 2, 1});
    EXPECT_EQ(state.clicked, 3);
    EndCheckTick();
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"7.12.2026    Ann    3 out of 3",
                                                    "7.12.2026    Ann    3 out of 3"}));
}

TEST_F(GameDriverTest, FailedWritesCountTheScoreOnceAndRetryTheSameLine) {
    const std::string goodPath = logPath;
    std::ofstream(folder.Path() / "blocker") << "not a folder";
    logPath = (folder.Path() / "blocker" / "trl.txt").string();

    game.StartGame();
    Click(PlayBack({0, 1, 2}));
    EXPECT_THROW(EndCheckTick(), log::IoError);
    EXPECT_NO_THROW(EndCheckTick());  // the same failure again is not raised again
    EXPECT_EQ(state.score, 3);
    EXPECT_TRUE(view.endCheckRunning);
    EXPECT_EQ(view.scoresOpened, 0);

    view.name = "Zed";  // edits after the end do not change the result
    clock.date = {2026, 12, 8, 2};
    logPath = goodPath;
    EndCheckTick();
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"7.12.2026    Ann    3 out of 3"}));
    EXPECT_EQ(view.scoresOpened, 1);
    EXPECT_FALSE(view.endCheckRunning);
}

TEST_F(GameDriverTest, GoGivesUpAnUnwrittenResult) {
    const std::string goodPath = logPath;
    std::ofstream(folder.Path() / "blocker") << "not a folder";
    logPath = (folder.Path() / "blocker" / "trl.txt").string();

    game.StartGame();
    Click(PlayBack({1, 1, 1}));
    EXPECT_THROW(EndCheckTick(), log::IoError);

    logPath = goodPath;
    game.StartGame();
    EndCheckTick();
    EXPECT_TRUE(LogLines().empty());

    Click(PlayBack({2, 2, 2}));
    view.name = "Bea";
    EndCheckTick();
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"7.12.2026    Bea    3 out of 3"}));
}

}  // namespace
}  // namespace tandrel::core
