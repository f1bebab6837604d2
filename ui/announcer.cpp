#include "ui/announcer.h"

#include "ui/accessible_interfaces.h"

namespace tandrel::ui {

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    InstallAccessibleInterfaces();
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // No size: nothing to see or to click. Hidden until the first message, so
    // that the window's showing says nothing through it.
    setGeometry(0, 0, 0, 0);
    hide();
}

void Announcer::Announce(const QString& message) {
    // The same message twice is still two messages: the hide and the show
    // tell the reader each time.
    hide();
    setAccessibleName(message);
    show();
}

}  // namespace tandrel::ui
