#include "ui/scores.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStringDecoder>
#include <memory>

#include "log/score_log.h"
#include "ui/accessible_interfaces.h"
#include "ui/error_box.h"
#include "ui/window_font.h"
#include "ui/window_owner.h"
#include "ui/window_placement.h"

Tscoreform* scoreform = nullptr;

namespace {

constexpr QPoint kFrameTopLeft{200, 104};
constexpr QSize kOuterSize{435, 300};
constexpr QRect kMemoGeometry{0, 0, 425, 273};

// Lines per paragraph of the text area's document. Each paragraph costs the
// document a block of its own, far more than its text, while only the
// paragraphs in view are ever laid out; so the lines are grouped, each line
// still starting a row of its own.
constexpr qsizetype kLinesPerParagraph = 64;

constexpr QChar kLeftToRightIsolate{0x2066};
constexpr QChar kPopIsolate{0x2069};

// Characters the text area would take as the end of a row or a paragraph.
bool BreaksRow(QChar character) {
    switch (character.unicode()) {
        case u'\n':
        case u'\r':
        case QChar::LineSeparator:
        case QChar::ParagraphSeparator:
        case 0xFDD0:  // a frame's start or end inside a rich text document
        case 0xFDD1:
            return true;
        default:
            return false;
    }
}

// The characters that open an isolate: left-to-right, right-to-left, and
// first strong; U+2069 closes the innermost one.
bool OpensIsolate(QChar character) {
    return character.unicode() >= 0x2066 && character.unicode() <= 0x2068;
}

// Builds the text of the scores window from the log's lines, so that the text
// area is filled once: appending line by line to a laid-out document is
// orders of magnitude slower on long logs.
class ScoreText {
  public:
    void Add(std::string_view line) {
        if (lineCount_ > 0) {
            const bool newParagraph = lineCount_ % kLinesPerParagraph == 0;
            text_.append(newParagraph ? QChar(QChar::LineFeed) : QChar(QChar::LineSeparator));
        }
        // Each line is shown left to right in an isolate of its own, so that
        // direction controls in it (a name that reverses the text, the
        // right-to-left marks of some locales' dates) end with the line
        // instead of reordering the lines after it.
        text_.append(kLeftToRightIsolate);
        const qsizetype start = text_.size();
        AppendDecoded(line);
        KeepInsideItsRow(start);
        text_.append(kPopIsolate);
        ++lineCount_;
    }

    QString Take() { return std::move(text_); }

  private:
    // Lines are UTF-8; a line that is not (a log carried over from a system
    // with a single-byte code page) is read as Latin-1, one line at a time.
    // Decodes straight into the text, without a string per line.
    void AppendDecoded(std::string_view line) {
        const QByteArrayView bytes(line.data(), static_cast<qsizetype>(line.size()));
        const qsizetype start = text_.size();
        utf8_.resetState();
        text_.resize(start + utf8_.requiredSpace(bytes.size()));
        const QChar* end = utf8_.appendToBuffer(text_.data() + start, bytes);
        if (utf8_.hasError()) {
            text_.resize(start);
            text_.append(QLatin1String(bytes.data(), bytes.size()));
        } else {
            text_.resize(end - text_.constData());
        }
    }

    // A lone LF belongs to its line, so it must not start a row of its own:
    // it is shown as a space, as the log writer itself writes line breaks
    // found in a player's name; so is anything else that would end a row.
    // A pop of an isolate the line never opened would end the line's own
    // isolate early, so it is left out; isolates the line leaves open are
    // closed before the line's own.
    void KeepInsideItsRow(qsizetype start) {
        QChar* const end = text_.data() + text_.size();
        QChar* kept = text_.data() + start;
        qsizetype openIsolates = 0;
        for (const QChar* character = kept; character != end; ++character) {
            if (*character == kPopIsolate) {
                if (openIsolates == 0) continue;
                --openIsolates;
            } else if (OpensIsolate(*character)) {
                ++openIsolates;
            }
            *kept++ = BreaksRow(*character) ? QChar(QChar::Space) : *character;
        }
        text_.resize(kept - text_.constData());
        text_.append(QString(openIsolates, kPopIsolate));
    }

    QString text_;
    qsizetype lineCount_ = 0;
    QStringDecoder utf8_{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
};

}  // namespace

Tscoreform::Tscoreform(QWidget* parent) : QWidget(parent), Memo1(new QPlainTextEdit(this)) {
    tandrel::ui::InstallAccessibleInterfaces();
    setWindowTitle(QStringLiteral("Tandrel Scores"));
    setFont(tandrel::ui::WindowFont());
    Memo1->setGeometry(kMemoGeometry);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setEnabled(false);
}

void Tscoreform::ShowLines(const QString& lines) {
    Memo1->document()->setPlainText(lines);
    // The scroll bars are hidden but still scroll: the newest line, with
    // every row of it when it wraps, is the one in view.
    QScrollBar* scroll = Memo1->verticalScrollBar();
    scroll->setValue(scroll->maximum());
}

void Tscoreform::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Tscoreform::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    Memo1->clear();
}

namespace tandrel::ui {

void FillScores(Tscoreform& form, const ScoreLogReader& readLog) {
    ScoreText text;
    Guarded([&] {
        try {
            readLog([&](std::string_view line) { text.Add(line); });
        } catch (...) {
            form.ShowLines(text.Take());
            throw;
        }
        form.ShowLines(text.Take());
    });
}

void ShowScores(const std::function<std::string()>& logPath) {
    auto* form = WindowOwner::Instance().Adopt(std::make_unique<Tscoreform>());
    scoreform = form;
    PlaceByFrame(*form, kFrameTopLeft, kOuterSize);
    ShowInFront(*form);
    FillScores(*form, [&logPath](const LineSink& sink) { log::ReadLines(logPath(), sink); });
}

}  // namespace tandrel::ui
