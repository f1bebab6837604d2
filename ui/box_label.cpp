#include "ui/box_label.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <utility>

#include "ui/accessible_interfaces.h"

namespace tandrel::ui {

namespace {

// The place of an arrow key in BoxLabel::neighbours_, or -1 for other keys.
int ArrowIndex(int key) {
    switch (key) {
        case Qt::Key_Left:
            return 0;
        case Qt::Key_Up:
            return 1;
        case Qt::Key_Right:
            return 2;
        case Qt::Key_Down:
            return 3;
        default:
            return -1;
    }
}

// Room enough for any one-line text, as a label measures it.
constexpr int kUnbounded = 2000;

bool IsAnswerKey(int key) {
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

BoxLabel::BoxLabel(QString text, QWidget* parent) : QWidget(parent), text_(std::move(text)) {
    InstallAccessibleInterfaces();
    // The label hides the square beneath it, so that only its own rectangle
    // takes clicks and shows the window's face colour.
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
    // Tab only: a click answers without taking the focus from a field.
    setFocusPolicy(Qt::TabFocus);
    adjustSize();
}

QSize BoxLabel::sizeHint() const {
    return fontMetrics().boundingRect(0, 0, kUnbounded, kUnbounded, Qt::AlignLeft, text_).size();
}

QSize BoxLabel::minimumSizeHint() const { return sizeHint(); }

void BoxLabel::Click() { emit Clicked(); }

void BoxLabel::SetNeighbour(Qt::Key key, BoxLabel* neighbour) {
    const int index = ArrowIndex(key);
    if (index >= 0) neighbours_[static_cast<std::size_t>(index)] = neighbour;
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
    if (rect().contains(event->position().toPoint())) Click();
}

// Qt delivers the second press of a double-click as this event alone; by
// default it is treated as another press, which would make a double-click
// two clicks.
void BoxLabel::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

void BoxLabel::keyPressEvent(QKeyEvent* event) {
    if (IsAnswerKey(event->key())) {
        // A held key repeats its press; only the first one answers.
        if (!event->isAutoRepeat()) Click();
        event->accept();
        return;
    }
    const int arrow = ArrowIndex(event->key());
    if (arrow < 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    // As Qt's own buttons move the focus between themselves with the arrows:
    // forwards counts as Tab, backwards as Backtab, for the focus frame.
    if (BoxLabel* neighbour = neighbours_[static_cast<std::size_t>(arrow)]) {
        const bool forwards = event->key() == Qt::Key_Right || event->key() == Qt::Key_Down;
        neighbour->setFocus(forwards ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    }
    event->accept();  // the grid's edge: the focus stays
}

void BoxLabel::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    painter.drawItemText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextForceLeftToRight,
                         palette(), isEnabled(), text_, foregroundRole());
    if (!hasFocus()) return;
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(backgroundRole());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

// The label follows its text's size when the window's font reaches it after
// creation.
void BoxLabel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) adjustSize();
}

void LinkAsGrid(std::span<BoxLabel* const> labels, int columns) {
    const auto count = static_cast<int>(labels.size());
    const auto at = [&](int index) { return labels[static_cast<std::size_t>(index)]; };
    for (int i = 0; i < count; ++i) {
        const int column = i % columns;
        at(i)->SetNeighbour(Qt::Key_Left, column > 0 ? at(i - 1) : nullptr);
        at(i)->SetNeighbour(Qt::Key_Right,
                            column + 1 < columns && i + 1 < count ? at(i + 1) : nullptr);
        at(i)->SetNeighbour(Qt::Key_Up, i >= columns ? at(i - columns) : nullptr);
        at(i)->SetNeighbour(Qt::Key_Down, i + columns < count ? at(i + columns) : nullptr);
    }
}

}  // namespace tandrel::ui
