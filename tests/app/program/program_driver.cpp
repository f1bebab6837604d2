// A Qt plugin that plays the player in the built program: the program's own
// code stays untouched, and Qt loads this through its environment variables
// (QT_PLUGIN_PATH, QT_QPA_GENERIC_PLUGINS). Once the main window is on
// screen it prints what the window shows, types "1,5" into the Amount field
// and leaves by File > Exit; given "exit=<n>" as its options, it ends the
// event loop with status n instead, the main window still open.

#include <QAction>
#include <QApplication>
#include <QGenericPlugin>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <functional>

namespace {

constexpr int kPollMs = 20;

QMainWindow* ExposedMainWindow() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* main = qobject_cast<QMainWindow*>(window);
        if (main != nullptr && main->windowHandle() != nullptr &&
            main->windowHandle()->isExposed()) {
            return main;
        }
    }
    return nullptr;
}

// Calls `then` once `ready` holds, looking again every kPollMs.
void When(QObject* context, std::function<bool()> ready, std::function<void()> then) {
    if (ready()) {
        then();
        return;
    }
    QTimer::singleShot(kPollMs, context, [context, ready, then] { When(context, ready, then); });
}

class ProgramDriver : public QObject {
  public:
    explicit ProgramDriver(const QString& options) {
        const bool endLoop = options.startsWith(QStringLiteral("exit="));
        const int status = options.mid(5).toInt();
        When(
            this, [] { return ExposedMainWindow() != nullptr; },
            [this, endLoop, status] {
                if (endLoop) {
                    QCoreApplication::exit(status);
                } else {
                    Drive(*ExposedMainWindow());
                }
            });
    }

  private:
    void Drive(QMainWindow& main) {
        const QRect frame = main.frameGeometry();
        std::printf("title: %s\n", qPrintable(main.windowHandle()->title()));
        std::printf("frame at: %d,%d\n", frame.x(), frame.y());
        auto* amount = main.findChild<QLineEdit*>(QStringLiteral("spinamount"));
        amount->setFocus(Qt::TabFocusReason);
        amount->selectAll();
        QTest::keyClicks(amount, QStringLiteral("1,5"));
        std::printf("amount: %s\n", qPrintable(amount->text()));
        std::fflush(stdout);

        auto* bar = main.findChild<QMenuBar*>(QStringLiteral("MainMenu1"));
        auto* file = main.findChild<QMenu*>(QStringLiteral("File1"));
        auto* exit = main.findChild<QAction*>(QStringLiteral("Exit1"));
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(file->menuAction()).center());
        When(
            this, [file] { return file->isVisible(); },
            [file, exit] {
                QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(exit).center());
            });
    }
};

class ProgramDriverPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "program_driver.json")
  public:
    QObject* create(const QString& /*name*/, const QString& spec) override {
        return new ProgramDriver(spec);
    }
};

}  // namespace

#include "program_driver.moc"
