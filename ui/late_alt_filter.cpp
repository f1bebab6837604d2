#include "ui/late_alt_filter.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>

namespace tandrel::ui {

namespace {

class LateAltPressFilter : public QObject {
  public:
    using QObject::QObject;

    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Show:
                // The modifiers of the input that opened the menu.
                altHeldSinceShow_ = QGuiApplication::keyboardModifiers().testFlag(Qt::AltModifier);
                break;
            case QEvent::KeyRelease:
                if (IsAlt(event)) altHeldSinceShow_ = false;
                break;
            case QEvent::KeyPress:
                return IsAlt(event) && altHeldSinceShow_;
            default:
                break;
        }
        return false;
    }

  private:
    static bool IsAlt(QEvent* event) {
        return static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt;
    }

    bool altHeldSinceShow_ = false;
};

}  // namespace

void KeepOpenOnLateAltPress(QMenu& menu) { menu.installEventFilter(new LateAltPressFilter(&menu)); }

}  // namespace tandrel::ui
