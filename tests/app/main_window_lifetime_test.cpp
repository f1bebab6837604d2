#include <gtest/gtest.h>

#include <QAction>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <optional>

#include "app/event_loop.h"
#include "log/platform.h"
#include "ui/Unit1.h"
#include "ui/about.h"
#include "ui/scores.h"
#include "ui/window_owner.h"

namespace tandrel::test {
namespace {

// Keeps the score log the scores window reads inside a fresh folder.
class ScopedDataHome {
  public:
    ScopedDataHome() {
        if (qEnvironmentVariableIsSet("XDG_DATA_HOME")) saved_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dir_.path().toLocal8Bit());
        // Windows keeps the log in its own folder, which no variable moves.
        log::platform::SetLogFolder(
            QDir::toNativeSeparators(dir_.path()).toLocal8Bit().toStdString());
    }
    ~ScopedDataHome() {
        log::platform::SetLogFolder({});
        if (saved_) {
            qputenv("XDG_DATA_HOME", *saved_);
        } else {
            qunsetenv("XDG_DATA_HOME");
        }
    }
    ScopedDataHome(const ScopedDataHome&) = delete;
    ScopedDataHome& operator=(const ScopedDataHome&) = delete;

  private:
    QTemporaryDir dir_;
    std::optional<QByteArray> saved_;
};

TEST(MainWindowLifetime, FileExitEndsTheProgramWithScoresAndAboutWindowsOpen) {
    const ScopedDataHome home;
    Tmain mainWindow{log::DateSettings{}};
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
