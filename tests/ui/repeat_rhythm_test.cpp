#include "ui/repeat_rhythm.h"

#include <gtest/gtest.h>

namespace tandrel::ui {
namespace {

using std::chrono::milliseconds;

// Times in milliseconds after an arbitrary start.
class RepeatRhythmTest : public ::testing::Test {
  protected:
    static RepeatRhythm::Clock::time_point At(int ms) {
        return RepeatRhythm::Clock::time_point{} + milliseconds(ms);
    }
    // The next step's time in milliseconds, or -1 for none.
    long long NextStepMs() const {
        const auto next = rhythm.NextStep();
        return next ? std::chrono::duration_cast<milliseconds>(next->time_since_epoch()).count()
                    : -1;
    }

    RepeatRhythm rhythm{milliseconds(400), milliseconds(100)};
};

TEST_F(RepeatRhythmTest, FirstStepAfterTheDelayThenOneEveryInterval) {
    EXPECT_EQ(NextStepMs(), -1) << "no step before a press";
    rhythm.Press(At(0));
    EXPECT_EQ(NextStepMs(), 400);
    EXPECT_FALSE(rhythm.TakeDueStep(At(399)));
    EXPECT_TRUE(rhythm.TakeDueStep(At(400)));
    EXPECT_FALSE(rhythm.TakeDueStep(At(400))) << "one step per due time";
    EXPECT_EQ(NextStepMs(), 500);
    EXPECT_TRUE(rhythm.TakeDueStep(At(501)));
    EXPECT_EQ(NextStepMs(), 600) << "a slightly late step keeps the rhythm";
    EXPECT_TRUE(rhythm.TakeDueStep(At(950)));
    EXPECT_EQ(NextStepMs(), 1050) << "a step late by more than an interval is not made up";
}

TEST_F(RepeatRhythmTest, LeavingPausesTheWaitAndReturningResumesIt) {
    rhythm.Press(At(0));
    ASSERT_TRUE(rhythm.TakeDueStep(At(400)));
    rhythm.Leave(At(430));
    EXPECT_EQ(NextStepMs(), -1);
    EXPECT_FALSE(rhythm.TakeDueStep(At(900))) << "no step while the pointer is off";
    rhythm.Return(At(2000));
    EXPECT_EQ(NextStepMs(), 2070) << "the 70 ms that were left of the interval";
    rhythm.Return(At(2050));
    EXPECT_EQ(NextStepMs(), 2070) << "already back";

    rhythm.Press(At(3000));
    rhythm.Leave(At(3100));
    rhythm.Return(At(5000));
    EXPECT_EQ(NextStepMs(), 5300) << "a pause during the first delay keeps what is left of it";
}

TEST_F(RepeatRhythmTest, ReleaseEndsTheStepsAndTheNextPressWaitsTheDelayAgain) {
    rhythm.Press(At(0));
    ASSERT_TRUE(rhythm.TakeDueStep(At(400)));
    rhythm.Release();
    EXPECT_EQ(NextStepMs(), -1);
    EXPECT_FALSE(rhythm.TakeDueStep(At(600)));
    rhythm.Return(At(700));
    EXPECT_EQ(NextStepMs(), -1) << "coming back after the release is no hold";
    rhythm.Press(At(1000));
    EXPECT_EQ(NextStepMs(), 1400);
}

}  // namespace
}  // namespace tandrel::ui
