#include "tests/support/message_boxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QTest>
#include <algorithm>
#include <utility>

namespace tandrel::test {

SeenBox Describe(const QMessageBox& box) {
    return {true,
            box.windowTitle(),
            box.text(),
            box.icon(),
            box.textFormat(),
            box.windowModality(),
            box.button(QMessageBox::Ok) != nullptr};
}

std::vector<QMessageBox*> OpenMessageBoxes() {
    std::vector<QMessageBox*> boxes;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(window);
        if (box != nullptr && box->isVisible()) boxes.push_back(box);
    }
    return boxes;
}

void DismissBoxAfter(int ms, std::function<void(QMessageBox*)> check) {
    QTimer::singleShot(ms, [check = std::move(check)] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (check) check(box);
        if (box != nullptr) QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
}

void DismissAllBoxes() {
    for (QMessageBox* box : OpenMessageBoxes()) box->button(QMessageBox::Ok)->click();
}

BoxCounter::BoxCounter() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout,
                     [this] { mostOpen_ = std::max(mostOpen_, OpenMessageBoxes().size()); });
    timer_.start();
}

ErrorBoxWatcher::ErrorBoxWatcher(int keepOpenMs, std::function<void()> beforeClosing)
    : keepOpenMs_(keepOpenMs), beforeClosing_(std::move(beforeClosing)) {
    auto* poll = new QTimer(&context_);
    QObject::connect(poll, &QTimer::timeout, &context_, [this] { Poll(); });
    poll->start(20);
}

ErrorBoxWatcher::~ErrorBoxWatcher() = default;

void ErrorBoxWatcher::Poll() {
    const std::vector<QMessageBox*> open = OpenMessageBoxes();
    mostOpen_ = std::max(mostOpen_, open.size());
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (QMessageBox* box : open) {
        if (!box->property("tandrelSeen").toBool()) {
            box->setProperty("tandrelSeen", true);
            seen_.push_back(Describe(*box));
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
