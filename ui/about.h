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
};

// The most recently created about window.
extern Taboutform1* aboutform1;

namespace tandrel::ui {

// Where a window of `outerSize` stands centred on a screen of `screenSize`:
// the whole part of half the spare room on each axis, never below 0.
QPoint CentredFrameTopLeft(QSize screenSize, QSize outerSize);

// Creates and shows a new about window, centred on the screen.
void ShowAbout();

}  // namespace tandrel::ui
