#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

#include "app/event_loop.h"
#include "tests/support/main_window_fixture.h"
#include "ui/Unit1.h"
#include "ui/about.h"
#include "ui/scores.h"
#include "ui/window_owner.h"

namespace tandrel::test {
namespace {

using MainWindowLifetime = MainWindowFixture;

TEST_F(MainWindowLifetime, FileExitEndsTheProgramWithScoresAndAboutWindowsOpen) {
    Tmain& mainWindow = window;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    deadline.start(3000);

    QPointer<QWidget> hiddenScores;
    QPointer<QWidget> shownScores;
    QPointer<QWidget> about;
    QTimer::singleShot(50, &mainWindow, [&] {
        mainWindow.Scores1->trigger();
        hiddenScores = scoreform;
        hiddenScores->close();
        mainWindow.Scores1->trigger();
        shownScores = scoreform;
        mainWindow.About1->trigger();
        about = aboutform1;
        mainWindow.Exit1->trigger();
    });
    EXPECT_EQ(app::RunUntilMainWindowCloses(mainWindow), 0);

    EXPECT_FALSE(mainWindow.isVisible());
    EXPECT_TRUE(hiddenScores.isNull());
    EXPECT_TRUE(shownScores.isNull());
    EXPECT_TRUE(about.isNull());
    EXPECT_EQ(ui::WindowOwner::Instance().Count(), 0u);
}

}  // namespace
}  // namespace tandrel::test
