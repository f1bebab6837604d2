#include "ui/box_shape.h"

#include <QPainter>

namespace tandrel::ui {

BoxShape::BoxShape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);  // paintEvent covers every pixel
}

void BoxShape::SetFill(const QColor& fill) {
    fill_ = fill;
    update();
}

void BoxShape::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), fill_);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    // A one-pixel pen draws on the right and bottom edges of the rectangle
    // it is given, hence the rectangle one pixel smaller.
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace tandrel::ui
