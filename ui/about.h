#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

// The about window: the program, its version and its maker.
class Taboutform1 : public QWidget {
    Q_OBJECT
  public:
    explicit Taboutform1(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QPushButton* BitBtn1;

  protected:
    // Escape closes the window, as the close button does.
    void keyPressEvent(QKeyEvent* event) override;
};

// The most recently created about window.
extern Taboutform1* aboutform1;

namespace tandrel::ui {

// Creates and shows a new about window, centred on the screen.
void ShowAbout();

}  // namespace tandrel::ui
