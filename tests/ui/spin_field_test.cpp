#include "ui/spin_field.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWidget>
#include <cstddef>
#include <limits>
#include <memory>
#include <ostream>
#include <vector>

// Shows texts readably in failure messages.
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace tandrel::ui {
namespace {

// A window with a spin field and a plain text field to move the focus to.
class SpinFieldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        NumericSpinField::SetBeep([this] { ++beeps_; });
        window_ = std::make_unique<QWidget>();
        window_->resize(240, 120);
    }

    void TearDown() override {
        window_.reset();
        NumericSpinField::SetBeep({});
        NumericSpinField::SetDecimalSeparator(QLatin1Char('.'));
    }

    // Builds the field and a text field after it in tab order, shows the
    // window and puts the focus in the other field.
    void Show(std::int32_t minimum, std::int32_t maximum, std::int32_t value) {
        field_ = new NumericSpinField(minimum, maximum, value, window_.get());
        field_->setGeometry(8, 8, 49, 22);
        other_ = new QLineEdit(window_.get());
        other_->setGeometry(8, 40, 169, 21);
        changes_ = std::make_unique<QSignalSpy>(field_, &NumericSpinField::Changed);
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        other_->setFocus(Qt::OtherFocusReason);
    }

    // Replaces the whole text by typing, as a player does.
    void TypeOver(const QString& text) {
        field_->setFocus(Qt::OtherFocusReason);
        field_->selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(field_, Qt::Key_Backspace);
        } else {
            QTest::keyClicks(field_, text);
        }
    }

    void Leave() { QTest::keyClick(field_, Qt::Key_Tab); }

    qsizetype Changes() const { return changes_->count(); }

    std::unique_ptr<QWidget> window_;
    NumericSpinField* field_ = nullptr;
    QLineEdit* other_ = nullptr;
    std::unique_ptr<QSignalSpy> changes_;
    int beeps_ = 0;
};

TEST_F(SpinFieldTest, ANumberOutOfRangeCountsWhileFocusedAndIsLimitedOnLeaving) {
    Show(3, 255, 3);
    TypeOver("300");
    EXPECT_EQ(field_->Value(), 300);
    EXPECT_EQ(Changes(), 2) << "\"3\" over the selected \"3\" is no change; \"30\" and \"300\" are";

    Leave();
    EXPECT_FALSE(field_->hasFocus());
    EXPECT_EQ(field_->text(), "255");
    EXPECT_EQ(field_->Value(), 255);
    EXPECT_EQ(Changes(), 3);

    TypeOver("-5");
    EXPECT_EQ(field_->Value(), -5);
    Leave();
    EXPECT_EQ(field_->text(), "3");
}

TEST_F(SpinFieldTest, TextThatIsNotANumberReadsAsTheMinimumAndStaysOnLeaving) {
    Show(1, 255, 1);
    TypeOver("");
    EXPECT_EQ(field_->Value(), 1);
    EXPECT_EQ(Changes(), 1);
    Leave();
    EXPECT_EQ(field_->text(), "");
    EXPECT_EQ(Changes(), 1);

    TypeOver("1-");
    Leave();
    EXPECT_EQ(field_->text(), "1-");
    EXPECT_EQ(field_->Value(), 1);
}

TEST_F(SpinFieldTest, ALeaveWithinRangeRewritesNothing) {
    Show(3, 255, 3);
    TypeOver("+17");
    const auto changes = Changes();
    Leave();
    EXPECT_EQ(field_->text(), "+17");
    EXPECT_EQ(Changes(), changes);
}

TEST_F(SpinFieldTest, PastedHexadecimalIsRead) {
    Show(3, 255, 3);
    QApplication::clipboard()->setText("$1F");
    field_->setFocus(Qt::OtherFocusReason);
    field_->selectAll();
    QTest::keyClick(field_, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field_->text(), "$1F");
    EXPECT_EQ(field_->Value(), 31);
    EXPECT_EQ(Changes(), 1);
    EXPECT_EQ(beeps_, 0);
}

TEST_F(SpinFieldTest, RefusedKeysBeepAndChangeNothing) {
    Show(3, 255, 3);
    TypeOver("12");
    const auto changes = Changes();
    const QString before = field_->text();

    QTest::keyClicks(field_, "a$ x,");  // "," is not this locale's separator
    QTest::keyClick(field_, Qt::Key_Return);
    QTest::keyClick(field_, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(field_, Qt::Key_Asterisk, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(beeps_, 8);
    EXPECT_EQ(field_->text(), before);
    EXPECT_EQ(Changes(), changes);
}

TEST_F(SpinFieldTest, TextComposedWithAnInputMethodIsFilteredLikeKeys) {
    Show(3, 255, 3);
    TypeOver("1");
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("\u00e9"));
    QApplication::sendEvent(field_, &composed);
    EXPECT_EQ(field_->text(), "1");
    EXPECT_EQ(beeps_, 1);

    QInputMethodEvent digit;
    digit.setCommitString("2");
    QApplication::sendEvent(field_, &digit);
    EXPECT_EQ(field_->text(), "12");
    EXPECT_EQ(beeps_, 1);
}

TEST_F(SpinFieldTest, DigitsSignsSeparatorAndControlKeysAreAccepted) {
    NumericSpinField::SetDecimalSeparator(QLatin1Char(','));
    Show(3, 255, 3);
    TypeOver("+-1,5");
    EXPECT_EQ(field_->text(), "+-1,5");
    QTest::keyClick(field_, Qt::Key_Backspace);
    QTest::keyClick(field_, Qt::Key_Home);
    QTest::keyClick(field_, Qt::Key_Delete);
    EXPECT_EQ(field_->text(), "-1,");
    QTest::keyClick(field_, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(field_->selectedText(), "-1,");
    EXPECT_EQ(beeps_, 0);
    QTest::keyClick(field_, Qt::Key_Period);
    EXPECT_EQ(beeps_, 1) << "the separator is the locale's, here the comma";
}

TEST_F(SpinFieldTest, UpAndDownKeysStepWithinTheRange) {
    Show(3, 255, 3);
    TypeOver("");
    QTest::keyClick(field_, Qt::Key_Up);
    EXPECT_EQ(field_->text(), "4") << "the empty text reads as the minimum";

    TypeOver("300");
    QTest::keyClick(field_, Qt::Key_Down);
    EXPECT_EQ(field_->text(), "255") << "a step lands inside the range";

    const auto changes = Changes();
    QTest::keyClick(field_, Qt::Key_Up);
    EXPECT_EQ(field_->text(), "255");
    EXPECT_EQ(Changes(), changes) << "a step that leaves the text as it was";

    TypeOver("");
    QTest::keyClick(field_, Qt::Key_Down);
    EXPECT_EQ(field_->text(), "3");
    QTest::keyClick(field_, Qt::Key_Down);
    EXPECT_EQ(field_->text(), "3");
}

TEST_F(SpinFieldTest, StepsAtTheEndsOfTheWholeRangeDoNotOverflow) {
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    Show(kMin, kMax, kMax);
    field_->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(field_, Qt::Key_Up);
    EXPECT_EQ(field_->text(), "2147483647");
    field_->setText("-2147483648");
    const auto changes = Changes();
    QTest::keyClick(field_, Qt::Key_Down);
    EXPECT_EQ(field_->text(), "-2147483648");
    EXPECT_EQ(Changes(), changes);
}

TEST_F(SpinFieldTest, TabEntrySelectsAllAndAClickDoesNot) {
    Show(3, 255, 123);
    QTest::keyClick(other_, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(field_->hasFocus());
    EXPECT_EQ(field_->selectedText(), "123");

    other_->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(field_, Qt::LeftButton, {}, QPoint(5, field_->height() / 2));
    ASSERT_TRUE(field_->hasFocus());
    EXPECT_FALSE(field_->hasSelectedText());
}

TEST_F(SpinFieldTest, OpeningAMenuOrAnotherWindowIsNotLeaving) {
    Show(3, 255, 3);
    TypeOver("300");
    QMenu menu;
    menu.addAction("Go");
    menu.popup(window_->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    EXPECT_EQ(field_->text(), "300");
    menu.close();

    QWidget other_window;
    other_window.show();
    other_window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other_window));
    EXPECT_EQ(field_->text(), "300");
    EXPECT_EQ(window_->focusWidget(), field_);
}

TEST_F(SpinFieldTest, ButtonsSitInsideTheRightEdgeClearOfTheText) {
    Show(3, 255, 3);
    QToolButton* up = field_->UpButton();
    QToolButton* down = field_->DownButton();
    EXPECT_EQ(up->width(), 15);
    EXPECT_EQ(up->geometry().bottom() + 1, down->y()) << "stacked";
    EXPECT_TRUE(field_->rect().contains(up->geometry()));
    EXPECT_TRUE(field_->rect().contains(down->geometry()));

    // With the buttons out of the way, no dark text pixel shows where they
    // sit, however long the text.
    field_->setText("88888888888888");
    field_->end(false);
    up->hide();
    down->hide();
    const QImage image = field_->grab().toImage();
    int text_pixels_under_buttons = 0;
    for (int x = up->x(); x <= up->geometry().right(); ++x) {
        for (int y = up->y(); y <= down->geometry().bottom(); ++y) {
            if (qGray(image.pixel(x, y)) < 128) ++text_pixels_under_buttons;
        }
    }
    EXPECT_EQ(text_pixels_under_buttons, 0);
}

TEST_F(SpinFieldTest, AButtonPressMovesTheFocusIntoTheFieldAndAQuickClickStepsOnRelease) {
    Show(3, 255, 10);
    QToolButton* up = field_->UpButton();
    QTest::mousePress(up, Qt::LeftButton);
    EXPECT_TRUE(field_->hasFocus());
    EXPECT_FALSE(field_->hasSelectedText());
    EXPECT_EQ(field_->text(), "10") << "no step on the press";
    QTest::mouseRelease(up, Qt::LeftButton);
    EXPECT_EQ(field_->text(), "11");

    QTest::mouseClick(field_->DownButton(), Qt::LeftButton);
    QTest::mouseClick(field_->DownButton(), Qt::LeftButton);
    EXPECT_EQ(field_->text(), "9");
    EXPECT_EQ(Changes(), 3);
}

TEST_F(SpinFieldTest, AQuickClickReleasedOffTheButtonDoesNotStep) {
    Show(3, 255, 10);
    QToolButton* up = field_->UpButton();
    QTest::mousePress(up, Qt::LeftButton);
    QTest::mouseRelease(up, Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_EQ(field_->text(), "10");

    QTest::mousePress(up, Qt::LeftButton);
    QTest::mouseMove(up, QPoint(-5, -5));
    QTest::mouseRelease(up, Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_EQ(field_->text(), "10");
    EXPECT_EQ(Changes(), 0);
}

// Each held step is due at a fixed time after the press and is never taken
// early; a busy machine only makes steps late. So every step's own time,
// stamped as it happens, is a lower limit that cannot flake, and the upper
// limit leaves room to spare.
TEST_F(SpinFieldTest, AHeldButtonStepsAfterTheDelayThenAtTheIntervalAndOnceOnRelease) {
    Show(3, 255, 10);
    QToolButton* up = field_->UpButton();
    QElapsedTimer clock;
    std::vector<qint64> step_ms;
    QObject::connect(field_, &NumericSpinField::Changed, field_,
                     [&] { step_ms.push_back(clock.elapsed()); });
    clock.start();
    QTest::mousePress(up, Qt::LeftButton);

    constexpr std::size_t kRepeats = 5;
    while (step_ms.size() < 1 + kRepeats) ASSERT_TRUE(changes_->wait(2000));
    for (std::size_t step = 0; step <= kRepeats; ++step) {
        EXPECT_GE(step_ms[step], 399 + 100 * static_cast<qint64>(step))
            << "step " << step << " came early";
    }
    EXPECT_LE(step_ms[kRepeats] - step_ms[0], 200 * kRepeats);

    const auto held_steps = Changes();
    QTest::mouseRelease(up, Qt::LeftButton);
    EXPECT_EQ(Changes(), held_steps + 1) << "once more on release";
    EXPECT_EQ(field_->Value(), 10 + held_steps + 1);
}

TEST_F(SpinFieldTest, MovingOffAHeldButtonPausesTheStepsAndComingBackResumesTheRhythm) {
    Show(3, 255, 100);
    QToolButton* down = field_->DownButton();
    const QPoint centre = down->rect().center();
    QTest::mousePress(down, Qt::LeftButton, {}, centre);
    ASSERT_TRUE(changes_->wait(2000));
    QTest::mouseMove(down, QPoint(-5, -5));
    QTest::qWait(500);
    EXPECT_EQ(Changes(), 1) << "no steps while off the button";

    // What was left of the 100 ms interval, not a new 400 ms delay.
    QElapsedTimer clock;
    clock.start();
    QTest::mouseMove(down, centre);
    ASSERT_TRUE(changes_->wait(2000));
    EXPECT_LT(clock.elapsed(), 300) << "the steps resume at the interval";

    QTest::mouseMove(down, QPoint(-5, -5));
    const auto steps = Changes();
    QTest::mouseRelease(down, Qt::LeftButton, {}, QPoint(-5, -5));
    QTest::qWait(150);
    EXPECT_EQ(Changes(), steps) << "no step for a release off the button, nor after it";
    EXPECT_EQ(field_->Value(), 100 - steps);
}

}  // namespace
}  // namespace tandrel::ui
