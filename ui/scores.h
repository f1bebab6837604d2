#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>

// The scores window: the whole score log, oldest line first, newest in view.
class Tscoreform : public QWidget {
    Q_OBJECT
  public:
    explicit Tscoreform(QWidget* parent = nullptr);

    // Replaces the shown text with `lines` and scrolls to its end. Every line
    // starts a row; a line break is LF between paragraphs, U+2028 within one.
    void ShowLines(const QString& lines);

    QPlainTextEdit* Memo1;

  protected:
    // Escape closes the window: its text area is disabled and takes no keys.
    void keyPressEvent(QKeyEvent* event) override;
    // A closed scores window is never shown again; it stays owned until the
    // program ends, but gives back the memory of its text.
    void closeEvent(QCloseEvent* event) override;
};

// The most recently created scores window.
extern Tscoreform* scoreform;

namespace tandrel::ui {

// Hands each line of a score log, without its terminator, to the sink; may
// throw after some lines have been handed on.
using LineSink = std::function<void(std::string_view)>;
using ScoreLogReader = std::function<void(const LineSink&)>;

// Fills `form` with every line `readLog` hands on. A failure shows the error
// box after the lines read so far are shown; nothing is thrown.
void FillScores(Tscoreform& form, const ScoreLogReader& readLog);

// Creates a new scores window, shows it in front and fills it from the score
// log at the path `logPath` gives.
void ShowScores(const std::function<std::string()>& logPath);

}  // namespace tandrel::ui
