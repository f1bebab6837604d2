#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "log/io_error.h"
#include "tests/support/files.h"
#include "tests/support/message_boxes.h"
#include "tests/support/temp_folder.h"
#include "ui/scores.h"
#include "ui/window_owner.h"

namespace {

using tandrel::test::SeenBox;
using tandrel::ui::WindowOwner;

constexpr QChar kLeftToRightIsolate{0x2066};
constexpr QChar kPopIsolate{0x2069};

// The text area's rows, each still in its left-to-right isolate.
QStringList IsolatedLines(const Tscoreform& form) {
    const QString text = form.Memo1->toPlainText();
    return text.isEmpty() ? QStringList{} : text.split(QChar::LineFeed);
}

// The lines shown, oldest first: the text area has one row per line, each
// shown in an isolate of its own. A row outside one is returned as it is, so
// that no comparison with the log's lines can pass.
QStringList ShownLines(const Tscoreform& form) {
    QStringList lines = IsolatedLines(form);
    for (QString& line : lines) {
        if (line.startsWith(kLeftToRightIsolate) && line.endsWith(kPopIsolate)) {
            line = line.mid(1, line.size() - 2);
        }
    }
    return lines;
}

// Where the shown line `index` starts in the document, its isolate included.
int LinePosition(const Tscoreform& form, int index) {
    const QStringList lines = IsolatedLines(form);
    int position = 0;
    for (int line = 0; line < index; ++line) position += static_cast<int>(lines[line].size()) + 1;
    return position;
}

QRect CursorAt(const Tscoreform& form, int position) {
    QTextCursor cursor(form.Memo1->document());
    cursor.setPosition(position);
    return form.Memo1->cursorRect(cursor);
}

// Where the row of the shown line `index` starts, in the text area's viewport.
QRect LineStart(const Tscoreform& form, int index) {
    return CursorAt(form, LinePosition(form, index));
}

// The x of the cursor before each character of the shown line `index` and
// after its last one, in the order of the characters.
std::vector<int> CursorXsAlong(const Tscoreform& form, int index) {
    const int inside = IsolatedLines(form)[index].startsWith(kLeftToRightIsolate) ? 1 : 0;
    const int start = LinePosition(form, index) + inside;
    std::vector<int> xs;
    for (int offset = 0; offset <= ShownLines(form)[index].size(); ++offset) {
        xs.push_back(CursorAt(form, start + offset).left());
    }
    return xs;
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

// Arms a check of the next modal box and of the scores window behind it;
// the box is dismissed with OK.
void ExpectBox(SeenBox& seen, QStringList& linesWhileShown) {
    tandrel::test::DismissBoxAfter(50, [&seen, &linesWhileShown](QMessageBox* box) {
        if (box == nullptr) return;
        seen = tandrel::test::Describe(*box);
        if (scoreform != nullptr) linesWhileShown = ShownLines(*scoreform);
    });
}

class ScoresWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { scoreform = nullptr; }

    void TearDown() override {
        WindowOwner::Instance().DestroyAll();
        scoreform = nullptr;
    }

    void ShowScores() const {
        tandrel::ui::ShowScores([this] { return logPath_; });
    }

    void WriteLog(std::string_view bytes) const { tandrel::test::WriteBytes(logPath_, bytes); }

    QStringList LinesOfNewWindow() const {
        ShowScores();
        return scoreform != nullptr ? ShownLines(*scoreform) : QStringList{"<no window>"};
    }

    tandrel::test::TempFolder folder_;
    std::string logPath_ = folder_.File("trl.txt");
};

TEST_F(ScoresWindowTest, WithoutLogFileOpensEmptyWindowInFront) {
    ShowScores();

    ASSERT_NE(scoreform, nullptr);
    EXPECT_TRUE(scoreform->isVisible());
    EXPECT_EQ(scoreform->windowTitle(), "Tandrel Scores");
    EXPECT_TRUE(scoreform->Memo1->toPlainText().isEmpty());
    EXPECT_TRUE(QTest::qWaitForWindowActive(scoreform));
}

TEST_F(ScoresWindowTest, WindowAndTextAreaSitWhereTheyBelong) {
    ShowScores();
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

    ShowScores();
    QPointer<Tscoreform> first = scoreform;
    ShowScores();

    ASSERT_FALSE(first.isNull());
    EXPECT_NE(scoreform, first.data());
    EXPECT_EQ(WindowOwner::Instance().Count(), windowsBefore + 2);
    EXPECT_TRUE(first->isVisible());
    const QStringList expected{"12/6/26    Ann    2 out of 3", "12/6/26    Bo    3 out of 3"};
    EXPECT_EQ(ShownLines(*first), expected);
    EXPECT_EQ(ShownLines(*scoreform), expected);
}

TEST_F(ScoresWindowTest, ClosedWindowGivesItsTextBackAndStaysOwned) {
    WriteLog("12/6/26    Ann    2 out of 3\r\n");
    ShowScores();
    const QPointer<Tscoreform> closed = scoreform;
    const std::size_t owned = WindowOwner::Instance().Count();
    ASSERT_TRUE(closed->close());

    ASSERT_FALSE(closed.isNull());
    EXPECT_FALSE(closed->isVisible());
    EXPECT_EQ(WindowOwner::Instance().Count(), owned);
    EXPECT_TRUE(closed->Memo1->document()->isEmpty());
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

    ShowScores();

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
    // (A log in a Windows code page cannot hold them.)
#ifndef _WIN32
    WriteLog("x\xE2\x80\xA8y\xE2\x80\xA9z\xEF\xB7\x90w\r\n");
    EXPECT_EQ(LinesOfNewWindow(), QStringList({"x y z w"}));
#endif
}

TEST_F(ScoresWindowTest, EveryLineStartsARowOfItsOwn) {
    std::string log;
    for (int game = 1; game <= 150; ++game) log += "Player " + std::to_string(game) + "\r\n";
    WriteLog(log);
    ShowScores();
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

TEST_F(ScoresWindowTest, EveryLineReadsLeftToRightWhateverTheLinesBeforeItHold) {
#ifdef _WIN32
    GTEST_SKIP() << "a log in the Windows code page 1252 cannot hold direction controls";
#endif
    // Before each plain line, one whose direction controls would otherwise
    // stay in force to the end of the text's paragraph: a right-to-left mark
    // first of all (as the short dates of some locales carry), an override,
    // isolates nested deeper than any isolate after them could open and an
    // embedding, all left open, and ways out of the line's own isolate: a pop
    // of an isolate it never opened, and separators that end a paragraph for
    // the bidirectional algorithm, each followed by overrides nested deeper
    // than any isolate after them could open.
    const std::string rlm = "\xE2\x80\x8F";
    const std::string rlo = "\xE2\x80\xAE";
    std::string deepOverrides;
    std::string deepIsolates;
    for (int level = 0; level < 70; ++level) deepOverrides += rlo;
    for (int level = 0; level < 130; ++level) deepIsolates += "\xE2\x81\xA7";
    const std::string hostile[] = {
        rlm + "12" + rlm + "/7" + rlm + "/26    Ann    2 out of 3",
        "12/7/26    " + rlo + "Eve    1 out of 3",
        "12/7/26    " + deepIsolates + "\xE2\x80\xABz    0 out of 3",
        "12/7/26    x\xE2\x81\xA9" + deepOverrides + "y    1 out of 3",
        "12/7/26    \x1C" + deepOverrides + "w    0 out of 3",
        "12/7/26    \xC2\x85" + deepOverrides + "v    0 out of 3",
    };
    const std::string plain = "12/7/26    Bob    3 out of 3";
    std::string log;
    for (const std::string& line : hostile) log += line + "\r\n" + plain + "\r\n";
    WriteLog(log);
    ShowScores();
    ASSERT_NE(scoreform, nullptr);
    ASSERT_EQ(ShownLines(*scoreform).size(), 2 * static_cast<qsizetype>(std::size(hostile)));

    const int leftEdge = LineStart(*scoreform, 1).left();
    for (int line = 1; line < ShownLines(*scoreform).size(); line += 2) {
        SCOPED_TRACE(line);
        ASSERT_EQ(ShownLines(*scoreform)[line], QString::fromStdString(plain));
        const std::vector<int> xs = CursorXsAlong(*scoreform, line);
        EXPECT_EQ(xs.front(), leftEdge);
        const auto outOfOrder = std::adjacent_find(xs.begin(), xs.end(), std::greater_equal<>());
        EXPECT_TRUE(outOfOrder == xs.end())
            << "character " << outOfOrder - xs.begin() + 1 << " out of reading order";
    }
}

TEST_F(ScoresWindowTest, LineThatIsNotUtf8IsShownAsLatin1) {
#ifdef _WIN32
    GTEST_SKIP() << "on Windows the log is read in the ANSI code page, every line as UTF-8";
#endif
    // Each line is decided on its own: UTF-8, Latin-1, UTF-8, broken UTF-8.
    WriteLog("Zo\xC3\xAB\r\nZo\xEB\r\n\xE2\x82\xAC 5\r\ncaf\xC3\xA9 \xFF\r\n");
    EXPECT_EQ(
        LinesOfNewWindow(),
        QStringList({QString::fromUtf8("Zo\u00EB"), QString::fromUtf8("Zo\u00EB"),
                     QString::fromUtf8("\u20AC 5"), QString::fromUtf8("caf\u00C3\u00A9 \u00FF")}));
}

TEST_F(ScoresWindowTest, ReadErrorIsBoxedAfterTheLinesReadSoFarAreShown) {
    ShowScores();
    ASSERT_NE(scoreform, nullptr);
    SeenBox seen;
    QStringList linesWhileShown;
    ExpectBox(seen, linesWhileShown);

    tandrel::ui::FillScores(*scoreform, [](const tandrel::ui::LineSink& sink) {
        sink("first");
        sink("second");
        throw tandrel::log::IoError(5);
    });

    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.caption, "Corvanelle Tandrel");
    EXPECT_EQ(seen.text, "File access denied.");
    EXPECT_EQ(linesWhileShown, QStringList({"first", "second"}));
    EXPECT_TRUE(scoreform->isVisible());
    EXPECT_EQ(ShownLines(*scoreform), QStringList({"first", "second"}));
}

TEST_F(ScoresWindowTest, UnreadableLogIsBoxedAndTheWindowStays) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows links to a file as a shortcut, which reads; a failing read is "
                    "shown by ReadErrorIsBoxedAfterTheLinesReadSoFarAreShown";
#endif
    // A log whose every read fails, even for root: the process's own memory
    // file reads as an I/O error at offset 0.
    if (!QFile::link("/proc/self/mem", QString::fromStdString(logPath_))) {
        GTEST_SKIP() << "no /proc/self/mem";
    }
    SeenBox seen;
    QStringList linesWhileShown;
    ExpectBox(seen, linesWhileShown);

    ShowScores();

    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.caption, "Corvanelle Tandrel");
    ASSERT_NE(scoreform, nullptr);
    EXPECT_TRUE(scoreform->isVisible());
    EXPECT_TRUE(scoreform->Memo1->toPlainText().isEmpty());
}

}  // namespace
