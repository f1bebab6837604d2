#pragma once

#include <QApplication>
#include <array>

namespace tandrel::app {

// The program's title: the application's name, which the main window and
// every error box show as their caption.
inline constexpr char kProgramTitle[] = "Corvanelle Tandrel";

// The application object: names the program, gives every window the icon
// MAINICON, and shows any error that escapes an event handler in the error box
// instead of letting it end the program.
// Qt is handed the program's name and nothing else from the command line, so
// that none of Qt's own options (-qwindowtitle, -platform, ...) changes the
// program; Qt's environment variables still apply.
class Application : public QApplication {
    Q_OBJECT
  public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

  private:
    // Qt keeps using the command line it was given for the application's
    // whole life.
    struct QtCommandLine {
        int count = 1;
        std::array<char*, 2> arguments{};
    };
    static QtCommandLine& ProgramNameOnly(int argc, char** argv);
    explicit Application(QtCommandLine& commandLine);
};

}  // namespace tandrel::app
