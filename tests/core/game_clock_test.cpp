#include "core/game_clock.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/support/engine_fakes.h"

namespace tandrel::core {
namespace {

using test::FakeTimerService;
using Calls = std::vector<std::string>;

class GameClockTest : public ::testing::Test {
  protected:
    FakeTimerService timer;
    GameClock clock{timer, 2000};
    int ticks = 0;

    void AttachHandler() {
        clock.SetHandler([this] { ++ticks; });
    }
};

TEST_F(GameClockTest, StartsOnlyWithHandlerIntervalAndEnabled) {
    EXPECT_FALSE(clock.Enabled());
    EXPECT_EQ(clock.Interval(), 2000u);

    clock.SetEnabled(true);  // no handler yet
    EXPECT_EQ(timer.calls, (Calls{"cancel"}));
    clock.Tick();
    EXPECT_EQ(ticks, 0);

    AttachHandler();
    EXPECT_EQ(timer.calls, (Calls{"cancel", "cancel", "start 2000"}));
    clock.Tick();
    EXPECT_EQ(ticks, 1);
}

TEST_F(GameClockTest, SettingTheCurrentValueDoesNothing) {
    AttachHandler();
    clock.SetEnabled(true);
    timer.calls.clear();

    clock.SetEnabled(true);  // a running clock keeps its period
    clock.SetInterval(2000);
    clock.SetHandler([this] { ticks += 10; });  // a new handler, still attached
    EXPECT_TRUE(timer.calls.empty());

    clock.Tick();
    EXPECT_EQ(ticks, 10);
}

TEST_F(GameClockTest, ChangesRestartOrStopTheTimer) {
    AttachHandler();
    clock.SetEnabled(true);
    timer.calls.clear();

    clock.SetInterval(5000);  // restarts the count from now
    clock.SetInterval(0);     // marked running, but no timer
    clock.Tick();
    EXPECT_EQ(ticks, 0);
    EXPECT_TRUE(clock.Enabled());
    clock.SetInterval(1000);
    clock.SetEnabled(false);
    clock.SetInterval(3000);  // stopped: stored only
    clock.SetHandler(nullptr);
    clock.SetEnabled(true);  // no handler: no timer

    EXPECT_EQ(timer.calls, (Calls{"cancel", "start 5000", "cancel", "cancel", "start 1000",
                                  "cancel", "cancel", "cancel", "cancel"}));
    EXPECT_EQ(clock.Interval(), 3000u);
}

TEST_F(GameClockTest, RefusedTimerRaisesAndStaysEnabledUntilChanged) {
    AttachHandler();
    timer.refuse = true;
    try {
        clock.SetEnabled(true);
        FAIL() << "no TimerError";
    } catch (const TimerError& error) {
        EXPECT_STREQ(error.what(), "Not enough timers available");
    }
    EXPECT_TRUE(clock.Enabled());

    timer.refuse = false;
    timer.calls.clear();
    clock.SetEnabled(true);  // already marked started: no new attempt
    EXPECT_TRUE(timer.calls.empty());

    clock.SetInterval(1000);  // a new period tries again
    EXPECT_EQ(timer.calls, (Calls{"cancel", "start 1000"}));
}

TEST_F(GameClockTest, FailingHandlerKeepsTheClockRunning) {
    clock.SetHandler([] { throw std::runtime_error("handler failed"); });
    clock.SetEnabled(true);
    timer.calls.clear();

    EXPECT_THROW(clock.Tick(), std::runtime_error);
    EXPECT_TRUE(clock.Enabled());
    EXPECT_TRUE(timer.calls.empty());
}

}  // namespace
}  // namespace tandrel::core
