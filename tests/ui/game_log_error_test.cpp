#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <filesystem>

#include "tests/support/files.h"
#include "tests/support/gui.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/message_boxes.h"
#include "ui/Unit1.h"
#include "ui/box_label.h"
#include "ui/scores.h"

namespace {

using tandrel::test::ErrorBoxWatcher;
using tandrel::test::LitBoxes;
using tandrel::test::WaitFor;

// A quick game whose result cannot be written at first: the error box shows
// once, the end check keeps trying without showing it again, and once the way
// is clear the result is written once and the scores window opens.
class UnwritableLog : public tandrel::test::MainWindowFixture {
  protected:
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

    // Runs until the scores window opens: the error box is dismissed after a
    // while, the end check goes on failing for several more ticks without a
    // box, so the menu stays within reach, then `clearTheWay` lets it write.
    void FinishAfterOneBox(const std::function<void()>& clearTheWay) {
        watcher = std::make_unique<ErrorBoxWatcher>(450);
        ASSERT_TRUE(WaitFor([&] { return !watcher->Seen().empty(); }, 3000));
        ASSERT_TRUE(WaitFor([] { return QApplication::activeModalWidget() == nullptr; }, 3000));
        EXPECT_FALSE(WaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 600))
            << "the same error came back";
        EXPECT_TRUE(window.Timer2.Enabled());
        clearTheWay();
        const std::size_t before = tandrel::test::OwnedWindowCount();
        ASSERT_TRUE(WaitFor([&] { return tandrel::test::OwnedWindowCount() > before; }, 5000));
        EXPECT_TRUE(scoreform->isVisible());
        EXPECT_FALSE(window.Timer2.Enabled());
    }

    void ExpectOneBoxSaying(const char* text) {
        ASSERT_EQ(watcher->Seen().size(), 1u);
        const tandrel::test::SeenBox& box = watcher->Seen().front();
        EXPECT_EQ(box.caption, "Corvanelle Tandrel");
        EXPECT_EQ(box.text, QString::fromLatin1(text));
        EXPECT_EQ(box.icon, QMessageBox::Critical);
    }

    std::unique_ptr<ErrorBoxWatcher> watcher;
};

TEST_F(UnwritableLog, LogThatIsAFolderIsAccessDeniedUntilItIsRemoved) {
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(logPath)));
    PlayRight();
    ASSERT_FALSE(HasFatalFailure());
    FinishAfterOneBox([&] { ASSERT_TRUE(QDir().rmdir(QString::fromStdString(logPath))); });
    ExpectOneBoxSaying("File access denied.");
    // Retried without counting the matches again.
    EXPECT_EQ(LogLines(), std::vector<std::string>{"12/6/26        3 out of 3"});
}

TEST_F(UnwritableLog, LogFolderThatIsAFileIsAnInvalidFilenameUntilItIsAFolder) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows creates no folder for its log, which is in the Windows directory";
#endif
    const std::string blocker = folder.File("not-a-folder");
    tandrel::test::WriteBytes(blocker, "");
    logPath = blocker + "/corvanelle-tandrel/trl.txt";
    PlayRight();
    ASSERT_FALSE(HasFatalFailure());
    FinishAfterOneBox([&] { ASSERT_TRUE(std::filesystem::remove(blocker)); });
    ExpectOneBoxSaying("Invalid filename.");
    EXPECT_EQ(LogLines(), std::vector<std::string>{"12/6/26        3 out of 3"});
}

}  // namespace
