#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "app/event_loop.h"
#include "tests/support/message_boxes.h"
#include "ui/error_box.h"
#include "ui/window_owner.h"

namespace tandrel::test {
namespace {

using ui::WindowOwner;

// A window that will not close, as a careless window class might be written.
class StubbornWindow : public QWidget {
  protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

// Ends a loop that the main window failed to end, so that the test fails
// instead of hanging.
class LoopDeadline {
  public:
    LoopDeadline() {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        timer_.start(3000);
    }

  private:
    QTimer timer_;
};

template <class Window>
QPointer<QWidget> AdoptWindow(bool visible) {
    QWidget* window = WindowOwner::Instance().Adopt(std::make_unique<Window>());
    window->setVisible(visible);
    return window;
}

TEST(Lifetime, ClosingTheMainWindowEndsTheLoopAndDestroysEveryOwnedWindow) {
    QWidget mainWindow;
    const QPointer<QWidget> shown = AdoptWindow<QWidget>(true);
    const QPointer<QWidget> hidden = AdoptWindow<QWidget>(false);
    const QPointer<QWidget> stubborn = AdoptWindow<StubbornWindow>(true);

    const LoopDeadline deadline;
    QTimer::singleShot(50, &mainWindow, &QWidget::close);
    EXPECT_EQ(app::RunUntilMainWindowCloses(mainWindow), 0);

    EXPECT_TRUE(shown.isNull());
    EXPECT_TRUE(hidden.isNull());
    EXPECT_TRUE(stubborn.isNull());
    EXPECT_EQ(WindowOwner::Instance().Count(), 0u);
}

// Mirrors an error in the main window's creation handler: the box comes and
// goes before the loop runs, with no window on screen, and the program must
// still come up.
TEST(Lifetime, AnErrorBoxBeforeTheLoopDoesNotEndTheProgram) {
    DismissBoxAfter(30);
    ui::ShowErrorBox("Not enough timers available");

    QWidget mainWindow;
    const LoopDeadline deadline;
    bool loopRan = false;
    QTimer::singleShot(100, &mainWindow, [&] {
        loopRan = mainWindow.isVisible();
        mainWindow.close();
    });
    EXPECT_EQ(app::RunUntilMainWindowCloses(mainWindow), 0);
    EXPECT_TRUE(loopRan);
}

}  // namespace
}  // namespace tandrel::test
