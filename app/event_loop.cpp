#include "app/event_loop.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include "ui/window_owner.h"

namespace tandrel::app {

// QCoreApplication::quit() would first ask every window to close and give up
// if one refuses; exit() leaves the loop unconditionally.
bool ExitOnClose::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) QCoreApplication::exit(0);
    return QObject::eventFilter(watched, event);
}

int RunUntilMainWindowCloses(QWidget& mainWindow) {
    ExitOnClose exitOnClose;
    mainWindow.installEventFilter(&exitOnClose);
    mainWindow.show();
    const int exitCode = QCoreApplication::exec();
    mainWindow.removeEventFilter(&exitOnClose);
    ui::WindowOwner::Instance().DestroyAll();
    return exitCode;
}

}  // namespace tandrel::app
