#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QWindow>
#include <limits>

#include "tests/support/gui.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/message_boxes.h"
#include "ui/Unit1.h"
#include "ui/about.h"
#include "ui/box_label.h"
#include "ui/box_shape.h"
#include "ui/scores.h"
#include "ui/spin_field.h"

namespace {

using tandrel::test::ClickThroughWindow;
using tandrel::test::DoubleClickThroughWindow;

class MainWindowClicks : public tandrel::test::MainWindowFixture {
  protected:
    void SetUp() override { tandrel::test::ShowAndActivate(window); }
    void TearDown() override {
        EXPECT_TRUE(unexpectedBoxes.Seen().empty()) << "an error box showed";
    }

    void TypeInto(QWidget* field, const QString& text) {
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
    }

    // Dismisses any error box at once, so that a fault fails the test instead of hanging it.
    tandrel::test::ErrorBoxWatcher unexpectedBoxes{0};
};

TEST_F(MainWindowClicks, EachLabelAnswersItsBoxAndTheAmountFieldSetsHowMany) {
    TypeInto(window.spinamount, "6");
    ASSERT_EQ(state.amount, 6);
    const std::array<QWidget*, 6> labels{window.BOX1, window.BOX2, window.BOX3,
                                         window.BOX4, window.BOX5, window.BOX6};
    // Clicked back to front, so a label wired to the wrong box shows up.
    for (int box = 6; box >= 1; --box) {
        ClickThroughWindow(*labels[static_cast<std::size_t>(box - 1)], QPoint(3, 3));
    }
    EXPECT_EQ(state.clicked, 6);
    EXPECT_EQ(window.Edit1->text(), "6");
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(state.answers[static_cast<std::size_t>(i)], 7 - i) << "answer " << i;
    }
}

TEST_F(MainWindowClicks, LitSquareOutsideItsLabelIgnoresTheClick) {
    window.Shape2->show();
    ClickThroughWindow(*window.Shape2, QPoint(3, 3));
    ClickThroughWindow(*window.Shape2, QPoint(60, 60));
    EXPECT_EQ(state.clicked, 0);
    EXPECT_TRUE(window.Edit1->text().isEmpty());

    ClickThroughWindow(*window.BOX2, window.BOX2->rect().bottomRight());
    EXPECT_EQ(state.clicked, 1);
    EXPECT_EQ(state.answers[1], 2);
}

TEST_F(MainWindowClicks, DoubleClickOnALabelGivesOneAnswer) {
    DoubleClickThroughWindow(*window.BOX4, QPoint(5, 5));
    EXPECT_EQ(state.clicked, 1);
    EXPECT_EQ(window.Edit1->text(), "1");

    QTest::qWait(450);  // past the double-click interval: a new click counts again
    ClickThroughWindow(*window.BOX4, QPoint(5, 5));
    EXPECT_EQ(state.clicked, 2);
    EXPECT_EQ(state.answers[2], 4);
}

TEST_F(MainWindowClicks, TimeFieldSetsThePlaybackPeriodWrappingAt32Bits) {
    TypeInto(window.spintime, "255");
    EXPECT_EQ(window.Timer1.Interval(), 255'000u);
    TypeInto(window.spintime, "1");
    EXPECT_EQ(window.Timer1.Interval(), 1000u);

    // A negative value, possible while the field has the focus, wraps to a
    // period of 2^31 ms or more: the clock runs but never ticks, and Qt is
    // never handed a negative interval.
    static bool qtComplained = false;
    qtComplained = false;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
            qtComplained = qtComplained || text.contains("negative");
        });
    window.Go1->trigger();
    TypeInto(window.spintime, "-1");
    EXPECT_EQ(window.Timer1.Interval(), std::numeric_limits<std::uint32_t>::max() - 999u);
    EXPECT_TRUE(window.Timer1.Enabled());
    // Past the 1000 ms period that Go started: a system timer still running
    // with it would have ticked by now.
    const bool ticked =
        tandrel::test::WaitFor([&] { return !window.Edit1->text().isEmpty(); }, 1500);
    qInstallMessageHandler(previous);
    EXPECT_FALSE(qtComplained);
    EXPECT_FALSE(ticked) << "the playback ticked";
}

TEST_F(MainWindowClicks, NameFieldCutsALongNameOnlyBetweenCharacters) {
    // The field's limit is 32,767 UTF-16 units; an emoji takes two.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    window.namedit->setText(emoji.repeated(20'000));
    EXPECT_EQ(window.namedit->text(), emoji.repeated(16'383));

    // Typed or pasted into the middle of a name one unit short of the limit,
    // only the characters that fit whole go in.
    const QString ones(10, u'1');
    const QString twos(32'754, u'2');
    window.namedit->setText(ones + twos);
    window.namedit->setCursorPosition(10);
    window.namedit->insert(emoji + emoji);
    EXPECT_EQ(window.namedit->text(), ones + emoji + twos);
    EXPECT_EQ(window.namedit->cursorPosition(), 12);
}

TEST_F(MainWindowClicks, MenuCommandsOpenWindowsAndExitClosesTheMainWindow) {
    using tandrel::test::OwnedWindowCount;
    const std::size_t before = OwnedWindowCount();
    window.Scores1->trigger();
    ASSERT_EQ(OwnedWindowCount(), before + 1);
    EXPECT_TRUE(scoreform->isVisible());

    window.About1->trigger();
    ASSERT_EQ(OwnedWindowCount(), before + 2);
    EXPECT_TRUE(aboutform1->isVisible());

    window.Exit1->trigger();
    EXPECT_FALSE(window.isVisible());
}

// With the accessibility bridge on and a screen reader listening to keys,
// Qt delivers each key only once the reader lets it through, while it matches
// an access key at once: the Alt press of Alt+F can reach the menu it opened.
TEST_F(MainWindowClicks, AltFThenGStartsAGameWhenTheChordsAltPressReachesTheMenuLate) {
    QWindow* keys = window.windowHandle();
    QTest::keyPress(keys, Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(window.File1->isVisible());
    QKeyEvent lateAlt(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(keys, &lateAlt);
    QTest::keyRelease(keys, Qt::Key_F, Qt::AltModifier);
    QTest::keyClick(keys, Qt::Key_G);
    EXPECT_TRUE(window.Timer1.Enabled()) << "no game started";
}

}  // namespace
