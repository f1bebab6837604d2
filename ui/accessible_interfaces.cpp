#include "ui/accessible_interfaces.h"

#include <QAccessibleWidget>
#include <QLatin1StringView>

#include "ui/about.h"
#include "ui/announcer.h"
#include "ui/box_label.h"
#include "ui/scores.h"

namespace tandrel::ui {

namespace {

// A box label as a push button. Its description is the box's colour, set on
// the label by the window that knows it.
class BoxLabelInterface : public QAccessibleWidget {
  public:
    explicit BoxLabelInterface(BoxLabel* label) : QAccessibleWidget(label, QAccessible::Button) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) return Label()->Text();
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    QStringList keyBindingsForAction(const QString& action) const override {
        if (action == pressAction()) return {QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

    void doAction(const QString& action) override {
        if (action == pressAction()) {
            Label()->Click();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

  private:
    BoxLabel* Label() const { return static_cast<BoxLabel*>(widget()); }
};

bool Is(const QString& key, const QMetaObject& type) {
    return key == QLatin1StringView(type.className());
}

QAccessibleInterface* MakeInterface(const QString& key, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) return nullptr;
    if (Is(key, BoxLabel::staticMetaObject)) {
        return new BoxLabelInterface(static_cast<BoxLabel*>(widget));
    }
    if (Is(key, Announcer::staticMetaObject)) {
        return new QAccessibleWidget(widget, QAccessible::Notification);
    }
    // Plain top-level widgets would otherwise be nameless fillers.
    if (Is(key, Tscoreform::staticMetaObject) || Is(key, Taboutform1::staticMetaObject)) {
        return new QAccessibleWidget(widget, QAccessible::Window);
    }
    return nullptr;
}

}  // namespace

void InstallAccessibleInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(&MakeInterface);
        return true;
    }();
    (void)installed;
}

}  // namespace tandrel::ui
