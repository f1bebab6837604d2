#include "tests/app/error_boxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <algorithm>

namespace tandrel::test {

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

}  // namespace tandrel::test
