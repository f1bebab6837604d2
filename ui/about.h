#pragma once

#include <QWidget>

// The about window.
class Taboutform1 : public QWidget {
    Q_OBJECT
  public:
    explicit Taboutform1(QWidget* parent = nullptr);
};

// The most recently created about window.
extern Taboutform1* aboutform1;

namespace tandrel::ui {
// Creates and shows a new about window, centred on the screen.
void ShowAbout();
}  // namespace tandrel::ui
