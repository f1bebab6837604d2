#include "ui/box_label.h"

#include <QEvent>
#include <QMouseEvent>

namespace tandrel::ui {

BoxLabel::BoxLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    // The label hides the square beneath it, so that only its own rectangle
    // takes clicks and shows the window's face colour.
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
    adjustSize();
}

void BoxLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) leftPressed_ = true;
    event->accept();
}

void BoxLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !leftPressed_) return;
    leftPressed_ = false;
    // The label keeps the pointer while the button is held, so a release
    // outside still comes here and must not count.
    if (rect().contains(event->position().toPoint())) emit Clicked();
}

// Qt delivers the second press of a double-click as this event alone; by
// default it is treated as another press, which would make a double-click
// two clicks.
void BoxLabel::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

// The label follows its text's size when the window's font reaches it after
// creation.
void BoxLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) adjustSize();
}

}  // namespace tandrel::ui
