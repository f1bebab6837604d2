#pragma once

#include <QApplication>

namespace tandrel::app {

// The program's title: the application's name, which the main window and
// every error box show as their caption.
inline constexpr char kProgramTitle[] = "Corvanelle Tandrel";

// The application object: names the program, gives every window the icon
// MAINICON, and shows any error that escapes an event handler in the error box
// instead of letting it end the program.
class Application : public QApplication {
    Q_OBJECT
  public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace tandrel::app
