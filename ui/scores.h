#pragma once

#include <QWidget>

class QPlainTextEdit;

// The scores window: the whole score log, newest line in view.
class Tscoreform : public QWidget {
    Q_OBJECT
  public:
    explicit Tscoreform(QWidget* parent = nullptr);
    QPlainTextEdit* Memo1;
};

// The most recently created scores window.
extern Tscoreform* scoreform;

namespace tandrel::ui {
// Creates a new scores window, shows it in front and fills it from the score log.
void ShowScores();
}  // namespace tandrel::ui
