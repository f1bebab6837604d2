#include "ui/error_box.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "log/io_error.h"
#include "tests/support/message_boxes.h"

namespace tandrel::test {
namespace {

using ui::Guarded;
using ui::ShowErrorBox;

// Shows the box through `show` and describes what the player saw.
template <class Show>
SeenBox ShowAndDismiss(Show&& show) {
    SeenBox seen;
    DismissBoxAfter(50, [&seen](QMessageBox* box) {
        if (box != nullptr) seen = Describe(*box);
    });
    show();
    QTest::qWait(100);  // lets a dismissal that found no box run before the next test
    DismissAllBoxes();
    return seen;
}

// The box is shown in place and returns on OK, while other clocks keep ticking.
TEST(ErrorBox, ShowsTitleStopIconOkAndTheMessageWithAFullStop) {
    int ticks = 0;
    QTimer otherClock;
    QObject::connect(&otherClock, &QTimer::timeout, [&ticks] { ++ticks; });
    otherClock.start(10);
    const SeenBox seen = ShowAndDismiss([] { ShowErrorBox("File access denied"); });
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.caption, "Corvanelle Tandrel");
    EXPECT_EQ(seen.text, "File access denied.");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_TRUE(seen.hasOk);
    EXPECT_EQ(seen.modality, Qt::ApplicationModal);
    EXPECT_GT(ticks, 0);
}

TEST(ErrorBox, AddsTheFullStopEvenAfterOneAndShowsMarkupAsText) {
    EXPECT_EQ(ShowAndDismiss([] { ShowErrorBox("Disk full."); }).text, "Disk full..");
    const SeenBox markup = ShowAndDismiss([] { ShowErrorBox("<b>a</b>"); });
    EXPECT_EQ(markup.text, "<b>a</b>.");
    EXPECT_EQ(markup.format, Qt::PlainText);
}

// The box is shown in place, inside the failing handler, so the clock that
// failed does not tick again until the player dismisses its box.
TEST(ErrorBox, AClockThatFailsAtEveryTickDoesNotPileUpBoxes) {
    BoxCounter counter;
    int failures = 0;
    QTimer failingClock;
    QObject::connect(&failingClock, &QTimer::timeout, [&failures] {
        Guarded([&failures] {
            ++failures;
            throw log::IoError(5);
        });
    });
    failingClock.start(15);
    // Dismisses every box at once: one press of OK if they did not pile up.
    QTimer::singleShot(200, [&failingClock] {
        failingClock.stop();
        DismissAllBoxes();
    });
    QTest::qWait(300);
    DismissAllBoxes();

    EXPECT_EQ(failures, 1);
    EXPECT_EQ(counter.MostOpen(), 1u);
}

TEST(ErrorBox, ShowsTheSameMessageAgainOnceDismissed) {
    EXPECT_TRUE(ShowAndDismiss([] { ShowErrorBox("Disk full"); }).shown);
    EXPECT_TRUE(ShowAndDismiss([] { ShowErrorBox("Disk full"); }).shown);
}

TEST(ErrorBox, DifferentMessageWhileOpenGetsItsOwnBoxOnTop) {
    BoxCounter counter;
    QString innerText;
    QTimer::singleShot(20, [&innerText] {
        DismissBoxAfter(50, [&innerText](QMessageBox* box) {
            if (box != nullptr) innerText = box->text();
        });
        ShowErrorBox("Not enough timers available");
    });
    DismissBoxAfter(400);
    ShowErrorBox("File access denied");
    DismissAllBoxes();

    EXPECT_EQ(innerText, "Not enough timers available.");
    EXPECT_EQ(counter.MostOpen(), 2u);
}

TEST(Guarded, ShowsTheMessageOfAnyErrorAndReturns) {
    EXPECT_EQ(ShowAndDismiss([] { Guarded([] { throw log::IoError(5); }); }).text,
              "File access denied.");
    EXPECT_EQ(ShowAndDismiss([] { Guarded([] { throw std::runtime_error("Broken"); }); }).text,
              "Broken.");
    EXPECT_EQ(ShowAndDismiss([] { Guarded([] { throw 42; }); }).text, "Unexpected error.");
}

}  // namespace
}  // namespace tandrel::test
