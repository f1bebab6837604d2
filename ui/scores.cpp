#include "ui/scores.h"

#include <QScrollBar>
#include <QStringDecoder>
#include <memory>

#include "log/score_log.h"
#include "ui/error_box.h"
#include "ui/window_font.h"
#include "ui/window_owner.h"
#include "ui/window_placement.h"

Tscoreform* scoreform = nullptr;

namespace {

constexpr QPoint kFrameTopLeft{200, 104};
constexpr QSize kOuterSize{435, 300};
constexpr QRect kMemoGeometry{0, 0, 425, 273};

// Builds the text of the scores window from the log's lines, so that the text
// area is filled once: appending line by line to a laid-out document is
// orders of magnitude slower on long logs.
class ScoreText {
  public:
    void Add(std::string_view line) {
        if (lineCount_ > 0) text_.append(QChar::LineFeed);
        const qsizetype start = text_.size();
        text_.append(Decode(line));
        KeepOnOneParagraph(start);
        ++lineCount_;
    }

    QString Take() { return std::move(text_); }

  private:
    // Lines are UTF-8; a line that is not (a log carried over from a system
    // with a single-byte code page) is read as Latin-1, one line at a time.
    QString Decode(std::string_view line) {
        const QByteArrayView bytes(line.data(), static_cast<qsizetype>(line.size()));
        utf8_.resetState();
        QString decoded = utf8_.decode(bytes);
        if (utf8_.hasError()) return QString::fromLatin1(bytes);
        return decoded;
    }

    // A lone LF belongs to its line: show it as a break inside the line's
    // paragraph, never as the start of a new one.
    void KeepOnOneParagraph(qsizetype start) {
        for (qsizetype at = start; at < text_.size(); ++at) {
            const QChar character = text_.at(at);
            if (character == QChar::LineFeed || character == QChar::ParagraphSeparator) {
                text_[at] = QChar::LineSeparator;
            }
        }
    }

    QString text_;
    qsizetype lineCount_ = 0;
    QStringDecoder utf8_{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
};

}  // namespace

Tscoreform::Tscoreform(QWidget* parent) : QWidget(parent), Memo1(new QPlainTextEdit(this)) {
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
    Memo1->setPlainText(lines);
    // The scroll bars are hidden but still scroll: the newest line, with
    // every row of it when it wraps, is the one in view.
    QScrollBar* scroll = Memo1->verticalScrollBar();
    scroll->setValue(scroll->maximum());
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

void ShowScores() {
    auto* form = WindowOwner::Instance().Adopt(std::make_unique<Tscoreform>());
    scoreform = form;
    PlaceByFrame(*form, kFrameTopLeft, kOuterSize);
    ShowInFront(*form);
    FillScores(*form, [](const LineSink& sink) { log::ReadLines(log::ScoreLogPath(), sink); });
}

}  // namespace tandrel::ui
