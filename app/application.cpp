#include "app/application.h"

#include <QIcon>

#include "ui/error_box.h"

// The resources live in a static library; this keeps the linker from dropping
// them. Q_INIT_RESOURCE must be used outside any namespace.
static void LoadAppResources() { Q_INIT_RESOURCE(app); }

namespace tandrel::app {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    LoadAppResources();
    // Only the name: a display name would be appended to every window caption.
    setApplicationName(QString::fromLatin1(ui::kProgramTitle));
    // Lets a desktop match the windows to the installed desktop entry, for
    // the taskbar's name and icon.
    setDesktopFileName(QStringLiteral("org.example.tandrel"));
    setWindowIcon(QIcon(QStringLiteral(":/MAINICON")));
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
