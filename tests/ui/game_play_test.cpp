#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "core/box_draw.h"
#include "tests/support/gui.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/message_boxes.h"
#include "ui/Unit1.h"
#include "ui/box_label.h"
#include "ui/box_shape.h"
#include "ui/scores.h"
#include "ui/spin_field.h"

namespace {

using tandrel::test::ClickThroughWindow;
using tandrel::test::LitBoxes;
using tandrel::test::WaitFor;

// A player watching the screen: after every change of the Sequence field it
// notes which box is lit, then moves the pinned clock on so that the next
// flash is drawn from another millisecond.
class Watcher {
  public:
    Watcher(Tmain& window, tandrel::test::PinnedClock& clock) : window_(window), clock_(clock) {
        timer_.start();
        QObject::connect(window.Edit1, &QLineEdit::textChanged, &context_, [this] {
            changes_.push_back(static_cast<double>(timer_.elapsed()));
            // The tick shows its number before it lights its box: look once it is done.
            QTimer::singleShot(0, &context_, [this] { LookAtTheBoxes(); });
        });
    }

    // Milliseconds from construction to each change of the Sequence field.
    const std::vector<double>& Changes() const { return changes_; }
    // The boxes lit after each flash, and the box the draw should have lit.
    const std::vector<std::vector<int>>& Seen() const { return seen_; }
    const std::vector<int>& Expected() const { return expected_; }

  private:
    void LookAtTheBoxes() {
        const std::vector<int> lit = LitBoxes(window_);
        if (!lit.empty()) {
            expected_.push_back(tandrel::core::DrawBox(3, clock_) + 1);
            seen_.push_back(lit);
            clock_.millisecond += 7'919;
        }
    }

    Tmain& window_;
    tandrel::test::PinnedClock& clock_;
    QObject context_;
    QElapsedTimer timer_;
    std::vector<double> changes_;
    std::vector<std::vector<int>> seen_;
    std::vector<int> expected_;
};

class GamePlay : public tandrel::test::MainWindowFixture {
  protected:
    void SetUp() override { tandrel::test::ShowAndActivate(window); }
    void TearDown() override {
        EXPECT_TRUE(unexpectedBoxes.Seen().empty()) << "an error box showed";
    }

    tandrel::ui::BoxLabel* Label(int box) const {
        return std::array{window.BOX1, window.BOX2, window.BOX3,
                          window.BOX4, window.BOX5, window.BOX6}[static_cast<std::size_t>(box - 1)];
    }

    bool PlaybackOver() const { return !window.Timer1.Enabled(); }

    // Waits for the scores window the end of a game opens.
    bool WaitForScores(std::size_t windowsBefore, int timeoutMs) {
        return WaitFor([&] { return tandrel::test::OwnedWindowCount() > windowsBefore; },
                       timeoutMs) &&
               scoreform->isVisible();
    }

    // Dismisses any error box at once, so that a fault fails the test instead of hanging it.
    tandrel::test::ErrorBoxWatcher unexpectedBoxes{0};
};

TEST_F(GamePlay, WholeGameAtOneSecondPerFlashEndsInTheLogAndTheScoresWindow) {
    QTest::keyClicks(window.namedit, QString::fromUtf8("Ann Lee-Ørsted"));
    // Up then Down: 2 s (the stored period already), then 1 s.
    QTest::keyClick(window.spintime, Qt::Key_Up);
    QTest::keyClick(window.spintime, Qt::Key_Down);
    ASSERT_EQ(window.Timer1.Interval(), 1000u);

    Watcher watcher(window, clock);
    window.Go1->trigger();
    ASSERT_TRUE(WaitFor([&] { return PlaybackOver(); }, 6000));
    EXPECT_TRUE(LitBoxes(window).empty());
    EXPECT_EQ(window.Edit1->text(), "3");
    ASSERT_EQ(watcher.Seen().size(), 3u);
    std::vector<int> shown;
    for (std::size_t i = 0; i < watcher.Seen().size(); ++i) {
        ASSERT_EQ(watcher.Seen()[i].size(), 1u) << "flash " << i + 1;
        EXPECT_EQ(watcher.Seen()[i][0], watcher.Expected()[i]) << "flash " << i + 1;
        shown.push_back(watcher.Seen()[i][0]);
    }
    // Flash k at k seconds after Go, the closing tick at 4 s.
    ASSERT_GE(watcher.Changes().size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        const double due = 1000.0 * static_cast<double>(k + 1);
        EXPECT_GE(watcher.Changes()[k], due - 1.0);  // a precise clock is never early
        EXPECT_LT(watcher.Changes()[k], due + 250.0);
    }

    const std::size_t before = tandrel::test::OwnedWindowCount();
    for (int box : shown) {
        ClickThroughWindow(*Label(box), QPoint(4, 4));
    }
    ASSERT_TRUE(WaitForScores(before, 2500));
    EXPECT_FALSE(window.Timer2.Enabled());
    EXPECT_EQ(LogLines(), std::vector<std::string>{"12/6/26    Ann Lee-Ørsted    3 out of 3"});
}

TEST_F(GamePlay, SecondGameScoresItsOwnAnswersAndAppendsASecondLine) {
    window.Timer1.SetInterval(60);
    window.Timer2.SetInterval(100);
    for (const int game : {1, 2}) {
        SCOPED_TRACE(game);
        Watcher watcher(window, clock);
        const std::size_t before = tandrel::test::OwnedWindowCount();
        window.Go1->trigger();
        ASSERT_TRUE(WaitFor([&] { return PlaybackOver(); }, 2000));
        ASSERT_EQ(watcher.Seen().size(), 3u);
        // The first game answers right, the second answers box 6, which
        // amount 3 never lights: nothing scores.
        for (std::size_t i = 0; i < 3; ++i) {
            ClickThroughWindow(*Label(game == 1 ? watcher.Seen()[i][0] : 6), QPoint(4, 4));
        }
        ASSERT_TRUE(WaitForScores(before, 1000));
    }
    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{"12/6/26        3 out of 3", "12/6/26        0 out of 3"}));
}

// A player without a pointer: Tab to the name field, Alt+F then G, Tab into
// the grid, the arrows and Space, then Escape for the scores window.
TEST_F(GamePlay, WholeGameFromTheKeyboardAlone) {
    window.Timer1.SetInterval(80);
    window.Timer2.SetInterval(100);
    QWindow* keys = window.windowHandle();
    QTest::keyClick(keys, Qt::Key_Tab);
    QTest::keyClick(keys, Qt::Key_Tab);
    for (const char letter : {'K', 'i', 'm'}) QTest::keyClick(keys, letter);

    Watcher watcher(window, clock);
    QTest::keyClick(keys, Qt::Key_F, Qt::AltModifier);
    QTest::keyClick(keys, Qt::Key_G);
    ASSERT_TRUE(WaitFor([&] { return PlaybackOver(); }, 2000)) << "no game started";
    ASSERT_EQ(watcher.Seen().size(), 3u);

    const std::size_t before = tandrel::test::OwnedWindowCount();
    QTest::keyClick(keys, Qt::Key_Tab);  // from the name field to BOX1
    int at = 1;
    for (const std::vector<int>& lit : watcher.Seen()) {
        // Amount 3 lights boxes of the top row only.
        for (; at < lit[0]; ++at) QTest::keyClick(keys, Qt::Key_Right);
        for (; at > lit[0]; --at) QTest::keyClick(keys, Qt::Key_Left);
        QTest::keyClick(keys, Qt::Key_Space);
    }
    ASSERT_TRUE(WaitForScores(before, 1000));
    EXPECT_EQ(LogLines(), std::vector<std::string>{"12/6/26    Kim    3 out of 3"});
    ASSERT_TRUE(QTest::qWaitForWindowActive(scoreform));
    QTest::keyClick(scoreform->windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(scoreform->isVisible());
}

TEST_F(GamePlay, GoDuringThePlaybackKeepsTheTicksWhereTheyWere) {
    window.Timer1.SetInterval(400);
    Watcher watcher(window, clock);
    window.Go1->trigger();
    ASSERT_TRUE(WaitFor([&] { return window.Edit1->text() == "2"; }, 2000));
    QTest::qWait(200);  // halfway to the third tick
    window.Go1->trigger();
    EXPECT_EQ(window.Edit1->text(), "2") << "Go does not touch the display";
    ASSERT_TRUE(WaitFor([&] { return window.Edit1->text() == "1"; }, 2000));
    ASSERT_EQ(watcher.Changes().size(), 3u);
    // Ticks at 400, 800, and 1200 ms from the first Go; restarting the period
    // at the second Go would have put the last one at 1400 ms.
    EXPECT_GE(watcher.Changes()[2], 1199.0);
    EXPECT_LT(watcher.Changes()[2], 1300.0);
}

TEST_F(GamePlay, TimeChangeDuringThePlaybackRestartsTheWaitForTheNextFlash) {
    window.Timer1.SetInterval(300);
    Watcher watcher(window, clock);
    window.Go1->trigger();
    ASSERT_TRUE(WaitFor([&] { return window.Edit1->text() == "1"; }, 2000));
    const std::vector<int> litFirst = LitBoxes(window);
    ASSERT_EQ(litFirst.size(), 1u);
    QTest::qWait(150);
    // 2 s, then 1 s: the wait for flash 2 starts again from here.
    QElapsedTimer sinceChange;
    sinceChange.start();
    QTest::keyClick(window.spintime, Qt::Key_Up);
    QTest::keyClick(window.spintime, Qt::Key_Down);
    ASSERT_EQ(window.Timer1.Interval(), 1000u);

    ASSERT_TRUE(WaitFor([&] { return sinceChange.elapsed() >= 900; }, 2000));
    EXPECT_EQ(window.Edit1->text(), "1");
    EXPECT_EQ(LitBoxes(window), litFirst) << "the first flash stays lit until the next tick";
    ASSERT_TRUE(WaitFor([&] { return window.Edit1->text() == "2"; }, 1000));
    // Without the restart it would have come 150 ms after the change.
    EXPECT_GE(sinceChange.elapsed(), 999);
    EXPECT_LT(sinceChange.elapsed(), 1500);
}

}  // namespace
