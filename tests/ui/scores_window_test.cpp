#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <string>
#include <string_view>

#include "log/io_error.h"
#include "log/platform.h"
#include "ui/scores.h"
#include "ui/window_owner.h"

namespace {

using tandrel::ui::WindowOwner;

// The lines shown, oldest first: the text area's text has one row per line.
QStringList ShownLines(const Tscoreform& form) {
    const QString text = form.Memo1->toPlainText();
    return text.isEmpty() ? QStringList{} : text.split(QChar::LineFeed);
}

// Where the row of the shown line `index` starts, in the text area's viewport.
QRect LineStart(const Tscoreform& form, int index) {
    const QStringList lines = ShownLines(form);
    int position = 0;
    for (int line = 0; line < index; ++line) position += static_cast<int>(lines[line].size()) + 1;
    QTextCursor cursor(form.Memo1->document());
    cursor.setPosition(position);
    return form.Memo1->cursorRect(cursor);
}

bool LastLineInView(const Tscoreform& form) {
    QTextCursor end(form.Memo1->document());
    end.movePosition(QTextCursor::End);
    return form.Memo1->viewport()->rect().contains(form.Memo1->cursorRect(end));
}

bool FirstLineInView(const Tscoreform& form) {
    const QTextCursor start(form.Memo1->document());
    return form.Memo1->viewport()->rect().contains(form.Memo1->cursorRect(start));
}

// What the error box showed; the box is dismissed with OK.
struct SeenBox {
    bool shown = false;
    QString caption;
    QString text;
    QStringList linesWhileShown;
};

// Arms a check of the next modal box and of the scores window behind it.
void ExpectBox(SeenBox& seen) {
    QTimer::singleShot(50, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        seen.shown = true;
        seen.caption = box->windowTitle();
        seen.text = box->text();
        if (scoreform != nullptr) seen.linesWhileShown = ShownLines(*scoreform);
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
}

class ScoresWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dataHome_.isValid());
        savedDataHome_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dataHome_.path().toLocal8Bit());
        // Windows keeps the log in its own folder, which no variable moves.
        const QString logFolder = dataHome_.path() + "/corvanelle-tandrel";
        ASSERT_TRUE(QDir().mkpath(logFolder));
        tandrel::log::platform::SetLogFolder(
            QDir::toNativeSeparators(logFolder).toLocal8Bit().toStdString());
        scoreform = nullptr;
    }

    void TearDown() override {
        WindowOwner::Instance().DestroyAll();
        scoreform = nullptr;
        qputenv("XDG_DATA_HOME", savedDataHome_);
        tandrel::log::platform::SetLogFolder({});
    }

    QString LogPath() const { return dataHome_.path() + "/corvanelle-tandrel/trl.txt"; }

    void WriteLog(std::string_view bytes) const {
        ASSERT_TRUE(QDir().mkpath(dataHome_.path() + "/corvanelle-tandrel"));
        QFile file(LogPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    QStringList LinesOfNewWindow() {
        tandrel::ui::ShowScores();
        return scoreform != nullptr ? ShownLines(*scoreform) : QStringList{"<no window>"};
    }

    QTemporaryDir dataHome_;
    QByteArray savedDataHome_;
};

TEST_F(ScoresWindowTest, WithoutLogFileOpensEmptyWindowInFront) {
    tandrel::ui::ShowScores();

    ASSERT_NE(scoreform, nullptr);
    EXPECT_TRUE(scoreform->isVisible());
    EXPECT_EQ(scoreform->windowTitle(), "Tandrel Scores");
    EXPECT_TRUE(scoreform->Memo1->toPlainText().isEmpty());
    EXPECT_TRUE(QTest::qWaitForWindowActive(scoreform));
}

TEST_F(ScoresWindowTest, WindowAndTextAreaSitWhereTheyBelong) {
    tandrel::ui::ShowScores();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(scoreform));

    EXPECT_EQ(scoreform->frameGeometry(), QRect(200, 104, 435, 300));
    EXPECT_EQ(scoreform->Memo1->geometry(), QRect(0, 0, 425, 273));
    EXPECT_FALSE(scoreform->Memo1->isEnabled());
    EXPECT_FALSE(scoreform->Memo1->verticalScrollBar()->isVisible());
    EXPECT_FALSE(scoreform->Memo1->horizontalScrollBar()->isVisible());
}

TEST_F(ScoresWindowTest, TwoCommandsGiveTwoWindowsWithTheSameLines) {
    WriteLog("12/6/26    Ann    2 out of 3\r\n12/6/26    Bo    3 out of 3\r\n");
    const std::size_t windowsBefore = WindowOwner::Instance().Count();

    tandrel::ui::ShowScores();
    QPointer<Tscoreform> first = scoreform;
    tandrel::ui::ShowScores();

    ASSERT_FALSE(first.isNull());
    EXPECT_NE(scoreform, first.data());
    EXPECT_EQ(WindowOwner::Instance().Count(), windowsBefore + 2);
    EXPECT_TRUE(first->isVisible());
    const QStringList expected{"12/6/26    Ann    2 out of 3", "12/6/26    Bo    3 out of 3"};
    EXPECT_EQ(ShownLines(*first), expected);
    EXPECT_EQ(ShownLines(*scoreform), expected);
}

TEST_F(ScoresWindowTest, LongLogShowsItsNewestLineInTheActiveWindow) {
    std::string log;
    QStringList expected;
    for (int game = 1; game <= 300; ++game) {
        const std::string line = "12/6/26    Player " + std::to_string(game) + "    1 out of 3";
        log += line + "\r\n";
        expected << QString::fromStdString(line);
    }
    // A last line long enough to wrap: its last row must be in view too.
    const std::string lastLine = "12/6/26    " + std::string(200, 'n') + "    3 out of 3";
    log += lastLine + "\r\n";
    expected << QString::fromStdString(lastLine);
    WriteLog(log);

    tandrel::ui::ShowScores();

    ASSERT_NE(scoreform, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(scoreform));
    EXPECT_EQ(QApplication::activeWindow(), scoreform);
    EXPECT_EQ(ShownLines(*scoreform), expected);
    EXPECT_TRUE(LastLineInView(*scoreform));
    EXPECT_FALSE(FirstLineInView(*scoreform));
}

TEST_F(ScoresWindowTest, LineEndsAreReadAsTheLogDefinesThem) {
    // CR alone ends a line; LF alone stays inside its line, shown as a space
    // as the log writer does; no final CR LF.
    WriteLog("one\rtwo\r\nthr\nee\r\nfour");
    EXPECT_EQ(LinesOfNewWindow(), QStringList({"one", "two", "thr ee", "four"}));

    // A final CR LF adds no empty line; empty lines inside are kept.
    WriteLog("a\r\n\r\nb\r\n");
    EXPECT_EQ(LinesOfNewWindow(), QStringList({"a", "", "b"}));

    // A byte 26 ends the text, whatever follows it.
    WriteLog("a\r\nb\x1a junk\r\nmore junk\r\n");
    EXPECT_EQ(LinesOfNewWindow(), QStringList({"a", "b"}));

    // Characters the text area would break a row at stay inside their line.
    WriteLog("x\xE2\x80\xA8y\xE2\x80\xA9z\xEF\xB7\x90w\r\n");
    EXPECT_EQ(LinesOfNewWindow(), QStringList({"x y z w"}));
}

TEST_F(ScoresWindowTest, EveryLineStartsARowOfItsOwn) {
    std::string log;
    for (int game = 1; game <= 150; ++game) log += "Player " + std::to_string(game) + "\r\n";
    WriteLog(log);
    tandrel::ui::ShowScores();
    ASSERT_NE(scoreform, nullptr);

    // The rows in view, across the text's grouping into paragraphs.
    const QRect viewport = scoreform->Memo1->viewport()->rect();
    QRect above = LineStart(*scoreform, 149);
    ASSERT_TRUE(viewport.contains(above));
    int rowsChecked = 0;
    for (int line = 148; line >= 0; --line) {
        const QRect start = LineStart(*scoreform, line);
        if (!viewport.contains(start)) break;
        EXPECT_EQ(start.left(), above.left()) << "line " << line;
        EXPECT_EQ(start.bottom() + 1, above.top()) << "line " << line;
        above = start;
        ++rowsChecked;
    }
    EXPECT_GE(rowsChecked, 15);
}

TEST_F(ScoresWindowTest, LineThatIsNotUtf8IsShownAsLatin1) {
    // Each line is decided on its own: UTF-8, Latin-1, UTF-8, broken UTF-8.
    WriteLog("Zo\xC3\xAB\r\nZo\xEB\r\n\xE2\x82\xAC 5\r\ncaf\xC3\xA9 \xFF\r\n");
    EXPECT_EQ(
        LinesOfNewWindow(),
        QStringList({QString::fromUtf8("Zo\u00EB"), QString::fromUtf8("Zo\u00EB"),
                     QString::fromUtf8("\u20AC 5"), QString::fromUtf8("caf\u00C3\u00A9 \u00FF")}));
}

TEST_F(ScoresWindowTest, ReadErrorIsBoxedAfterTheLinesReadSoFarAreShown) {
    tandrel::ui::ShowScores();
    ASSERT_NE(scoreform, nullptr);
    SeenBox seen;
    ExpectBox(seen);

    tandrel::ui::FillScores(*scoreform, [](const tandrel::ui::LineSink& sink) {
        sink("first");
        sink("second");
        throw tandrel::log::IoError(5);
    });

    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.caption, "Corvanelle Tandrel");
    EXPECT_EQ(seen.text, "File access denied.");
    EXPECT_EQ(seen.linesWhileShown, QStringList({"first", "second"}));
    EXPECT_TRUE(scoreform->isVisible());
    EXPECT_EQ(ShownLines(*scoreform), QStringList({"first", "second"}));
}

TEST_F(ScoresWindowTest, UnreadableLogIsBoxedAndTheWindowStays) {
    // A log whose every read fails, even for root: the process's own memory
    // file reads as an I/O error at offset 0.
    ASSERT_TRUE(QDir().mkpath(dataHome_.path() + "/corvanelle-tandrel"));
    if (!QFile::link("/proc/self/mem", LogPath())) GTEST_SKIP() << "no /proc/self/mem";
    SeenBox seen;
    ExpectBox(seen);

    tandrel::ui::ShowScores();

    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.caption, "Corvanelle Tandrel");
    ASSERT_NE(scoreform, nullptr);
    EXPECT_TRUE(scoreform->isVisible());
    EXPECT_TRUE(scoreform->Memo1->toPlainText().isEmpty());
}

}  // namespace
