#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>

#include "log/platform.h"
#include "tests/ui/main_window_test_support.h"
#include "ui/Unit1.h"
#include "ui/box_label.h"
#include "ui/scores.h"

namespace {

using tandrel::test::ErrorBoxWatcher;
using tandrel::test::LitBoxes;
using tandrel::test::WaitFor;

// A quick game whose result cannot be written at first: the error box shows,
// the end check keeps trying, and once the way is clear the result is written
// once and the scores window opens.
class UnwritableLog : public ::testing::Test {
  protected:
    void TearDown() override { tandrel::test::DestroyOwnedWindows(); }
    void SetUp() override {
        tandrel::test::ShowAndActivate(window);
        window.Timer1.SetInterval(50);
        window.Timer2.SetInterval(100);
    }

    // Plays amount 3 answering every flash right; returns once all answers are in.
    void PlayRight() {
        std::vector<int> shown;
        window.Go1->trigger();
        ASSERT_TRUE(WaitFor(
            [&] {
                const std::vector<int> lit = LitBoxes(window);
                if (!lit.empty() && window.Edit1->text().toULongLong() == shown.size() + 1) {
                    shown.push_back(lit.front());
                }
                return !window.Timer1.Enabled();
            },
            2000));
        ASSERT_EQ(shown.size(), 3u);
        const std::array<QWidget*, 6> labels{window.BOX1, window.BOX2, window.BOX3,
                                             window.BOX4, window.BOX5, window.BOX6};
        for (int box : shown) {
            tandrel::test::ClickThroughWindow(*labels[static_cast<std::size_t>(box - 1)],
                                              QPoint(4, 4));
        }
    }

    // Runs until the scores window opens, keeping each error box open for a
    // while; `clearTheWay` runs before the second box is dismissed.
    void FinishWithTwoFailures(const std::function<void()>& clearTheWay) {
        watcher = std::make_unique<ErrorBoxWatcher>(450, [this, clearTheWay] {
            if (++closing == 2) {
                clearTheWay();
            }
        });
        const std::size_t before = tandrel::test::OwnedWindowCount();
        ASSERT_TRUE(WaitFor([&] { return tandrel::test::OwnedWindowCount() > before; }, 5000));
        EXPECT_TRUE(scoreform->isVisible());
        EXPECT_FALSE(window.Timer2.Enabled());
        EXPECT_EQ(closing, 2);
    }

    void ExpectOneBoxAtATimeSaying(const char* text) {
        ASSERT_EQ(watcher->Seen().size(), 2u) << "shown once per dismissal";
        for (const tandrel::test::SeenBox& box : watcher->Seen()) {
            EXPECT_EQ(box.caption, "Corvanelle Tandrel");
            EXPECT_EQ(box.text, QString::fromLatin1(text));
            EXPECT_TRUE(box.criticalIcon);
        }
        EXPECT_EQ(watcher->MostOpenAtOnce(), 1);
    }

    tandrel::test::TempDataHome home;
    tandrel::test::PinnedClock clock;
    tandrel::log::DateSettings dates;
    Tmain window{dates, clock};
    std::unique_ptr<ErrorBoxWatcher> watcher;
    int closing = 0;  // error boxes dismissed so far
};

TEST_F(UnwritableLog, LogThatIsAFolderIsAccessDeniedUntilItIsRemoved) {
    ASSERT_TRUE(QDir().mkpath(home.LogFile()));
    PlayRight();
    ASSERT_FALSE(HasFatalFailure());
    FinishWithTwoFailures([&] { ASSERT_TRUE(QDir().rmdir(home.LogFile())); });
    ExpectOneBoxAtATimeSaying("File access denied.");
    // Retried without counting the matches again.
    EXPECT_EQ(home.LogLines(), std::vector<std::string>{"12/6/26        3 out of 3"});
}

TEST_F(UnwritableLog, DataHomeThatIsAFileIsAnInvalidFilenameUntilItIsAFolder) {
#ifdef _WIN32
    GTEST_SKIP() << "the log's folder on Windows is the Windows directory, not the data home";
#endif
    tandrel::log::platform::SetLogFolder({});  // the data home decides
    const QString blocker = home.Path() + QStringLiteral("/not-a-folder");
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("XDG_DATA_HOME", blocker.toLocal8Bit());
    PlayRight();
    ASSERT_FALSE(HasFatalFailure());
    FinishWithTwoFailures([&] { qputenv("XDG_DATA_HOME", home.Path().toLocal8Bit()); });
    ExpectOneBoxAtATimeSaying("Invalid filename.");
    EXPECT_EQ(home.LogLines(), std::vector<std::string>{"12/6/26        3 out of 3"});
}

}  // namespace
