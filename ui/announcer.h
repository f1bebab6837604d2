#pragma once

#include <QString>
#include <QWidget>

namespace tandrel::ui {

// Tells a screen reader something the screen shows without words, such as
// which box a flash lit. It is an unseen, empty widget exposed to assistive
// technology as a notification: each message renames it and shows it anew,
// and screen readers speak a notification as it appears, wherever the focus is.
class Announcer : public QWidget {
    Q_OBJECT
  public:
    explicit Announcer(QWidget* parent);

    void Announce(const QString& message);
};

}  // namespace tandrel::ui
