#include "app/application.h"

#include <QIcon>
#include <QPixmap>

#include "ui/error_box.h"

// The resources live in a static library; this keeps the linker from dropping
// them. Q_INIT_RESOURCE must be used outside any namespace.
static void LoadAppResources() { Q_INIT_RESOURCE(app); }

namespace tandrel::app {

Application::QtCommandLine& Application::ProgramNameOnly(int argc, char** argv) {
    static char fallbackName[] = "corvanelle-tandrel";
    static QtCommandLine commandLine;
    commandLine.arguments = {argc > 0 && argv[0] != nullptr ? argv[0] : fallbackName, nullptr};
    return commandLine;
}

Application::Application(int& argc, char** argv) : Application(ProgramNameOnly(argc, argv)) {}

Application::Application(QtCommandLine& commandLine)
    : QApplication(commandLine.count, commandLine.arguments.data()) {
    LoadAppResources();
    // Only the name: a display name would be appended to every window caption.
    setApplicationName(QString::fromLatin1(kProgramTitle));
    // Lets a desktop match the windows to the installed desktop entry, for
    // the taskbar's name and icon.
    setDesktopFileName(QStringLiteral("org.example.tandrel"));
    // Made from the picture, not from its file name: for a name without a
    // suffix, QIcon asks the MIME database what the file holds, and on Windows
    // that means parsing Qt's whole built-in database at every start (a tenth
    // of a second and 9 MiB under Wine).
    setWindowIcon(QIcon(QPixmap(QStringLiteral(":/MAINICON"))));
}

// Every handler of the program catches its own errors; this is the net for a
// throw that slipped past one. Qt's own frames are not unwound cleanly, so
// the event that threw may be left half done.
bool Application::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    ui::Guarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

}  // namespace tandrel::app
