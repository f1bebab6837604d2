#pragma once

#include <QObject>

class QWidget;

namespace tandrel::app {

// Ends the event loop as soon as the watched window gets a close event, even
// while other windows are open or one of them refuses to close.
class ExitOnClose : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Shows the main window and runs the event loop until the main window closes,
// then destroys every window the program owns besides it. Returns the loop's
// exit code.
int RunUntilMainWindowCloses(QWidget& mainWindow);

}  // namespace tandrel::app
