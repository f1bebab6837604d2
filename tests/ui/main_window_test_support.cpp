#include "tests/ui/main_window_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "log/platform.h"
#include "ui/Unit1.h"
#include "ui/box_shape.h"
#include "ui/window_owner.h"

namespace tandrel::test {

TempDataHome::TempDataHome() {
    if (qEnvironmentVariableIsSet("XDG_DATA_HOME")) {
        previous_ = qgetenv("XDG_DATA_HOME");
    }
    qputenv("XDG_DATA_HOME", dir_.path().toLocal8Bit());
    // Windows keeps the log in its own folder, which no variable moves.
    QDir().mkpath(LogFolder());
    log::platform::SetLogFolder(QDir::toNativeSeparators(LogFolder()).toLocal8Bit().toStdString());
}

TempDataHome::~TempDataHome() {
    log::platform::SetLogFolder({});
    if (previous_) {
        qputenv("XDG_DATA_HOME", *previous_);
    } else {
        qunsetenv("XDG_DATA_HOME");
    }
}

QString TempDataHome::LogFolder() const {
    return dir_.filePath(QStringLiteral("corvanelle-tandrel"));
}

QString TempDataHome::LogFile() const { return LogFolder() + QStringLiteral("/trl.txt"); }

std::vector<std::string> TempDataHome::LogLines() const {
    QFile file(LogFile());
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    std::vector<std::string> lines;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.isEmpty()) {
            lines.push_back(line.endsWith('\r') ? line.chopped(1).toStdString()
                                                : line.toStdString());
        }
    }
    return lines;
}

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

std::vector<int> LitBoxes(const Tmain& window) {
    const std::array<const QWidget*, 6> shapes{window.Shape1, window.Shape2, window.Shape3,
                                               window.Shape4, window.Shape5, window.Shape6};
    std::vector<int> lit;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        if (!shapes[i]->isHidden()) {
            lit.push_back(static_cast<int>(i) + 1);
        }
    }
    return lit;
}

std::size_t OwnedWindowCount() { return ui::WindowOwner::Instance().Count(); }

void DestroyOwnedWindows() { ui::WindowOwner::Instance().DestroyAll(); }

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

ErrorBoxWatcher::ErrorBoxWatcher(int keepOpenMs, std::function<void()> beforeClosing)
    : keepOpenMs_(keepOpenMs), beforeClosing_(std::move(beforeClosing)) {
    auto* poll = new QTimer(&context_);
    QObject::connect(poll, &QTimer::timeout, &context_, [this] { Poll(); });
    poll->start(20);
}

ErrorBoxWatcher::~ErrorBoxWatcher() = default;

void ErrorBoxWatcher::Poll() {
    std::vector<QMessageBox*> open;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box != nullptr && box->isVisible()) {
            open.push_back(box);
        }
    }
    mostOpen_ = std::max(mostOpen_, static_cast<int>(open.size()));
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (QMessageBox* box : open) {
        if (!box->property("tandrelSeen").toBool()) {
            box->setProperty("tandrelSeen", true);
            seen_.push_back(
                {box->windowTitle(), box->text(), box->icon() == QMessageBox::Critical});
        }
    }
    if (open.empty()) {
        openedAt_ = -1;
        return;
    }
    if (openedAt_ < 0) {
        openedAt_ = now;
    }
    if (now - openedAt_ < keepOpenMs_) {
        return;
    }
    if (beforeClosing_) {
        beforeClosing_();
    }
    for (QMessageBox* box : open) {
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            QTest::mouseClick(ok, Qt::LeftButton);
        } else {
            box->close();
        }
    }
    openedAt_ = -1;
}

}  // namespace tandrel::test
