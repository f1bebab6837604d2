#include "tests/support/gui.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QWindow>

#include "ui/window_owner.h"

namespace tandrel::test {

void ShowAndActivate(QWidget& window) {
    window.show();
    window.activateWindow();
    (void)QTest::qWaitForWindowExposed(&window);
    (void)QTest::qWaitForWindowActive(&window);
}

namespace {
QPoint InWindow(QWidget& target, QPoint local) { return target.mapTo(target.window(), local); }
}  // namespace

void ClickThroughWindow(QWidget& target, QPoint local) {
    QTest::mouseClick(target.window()->windowHandle(), Qt::LeftButton, {}, InWindow(target, local));
}

void DoubleClickThroughWindow(QWidget& target, QPoint local) {
    const QPoint at = InWindow(target, local);
    QWindow* window = target.window()->windowHandle();
    // Press, release, double-click press; the last release is the test's own.
    QTest::mouseDClick(window, Qt::LeftButton, {}, at);
    QTest::mouseRelease(window, Qt::LeftButton, {}, at);
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs, Qt::PreciseTimer);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QTest::qSleep(2);
    }
    return true;
}

std::size_t OwnedWindowCount() { return ui::WindowOwner::Instance().Count(); }

void DestroyOwnedWindows() { ui::WindowOwner::Instance().DestroyAll(); }

}  // namespace tandrel::test
