#include "ui/about.h"

#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QPalette>
#include <QScreen>
#include <algorithm>
#include <memory>

#include "ui/accessible_interfaces.h"
#include "ui/window_font.h"
#include "ui/window_owner.h"
#include "ui/window_placement.h"

Taboutform1* aboutform1 = nullptr;

// The window's resources sit in a static library, whose registration the
// linker would otherwise drop. Outside any namespace, as the macro requires.
static void LoadGlyphs() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(ui);
        return true;
    }();
    (void)loaded;
}

namespace {

constexpr QSize kOuterSize{302, 228};
constexpr QSize kGlyphSize{18, 18};

// A plain-text label at `geometry`, widened when the text needs more room so
// that no letter is cut off in a wider fallback font.
QLabel* MakeLabel(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    const QSize needed = label->sizeHint();
    label->resize(std::max(geometry.width(), needed.width()), geometry.height());
    return label;
}

void MakeBlack(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
}

}  // namespace

Taboutform1::Taboutform1(QWidget* parent) : QWidget(parent) {
    LoadGlyphs();
    tandrel::ui::InstallAccessibleInterfaces();
    setWindowTitle(QStringLiteral("About"));
    setFont(tandrel::ui::WindowFont());

    // Created first: the button is first in the tab order.
    BitBtn1 = new QPushButton(QIcon(QStringLiteral(":/glyphs/close.png")), QStringLiteral("&Close"),
                              this);
    BitBtn1->setIconSize(kGlyphSize);
    BitBtn1->setGeometry(112, 168, 75, 25);
    // Return and keypad Enter press the button while it has the focus, as
    // they do a dialog's buttons; Qt leaves that to dialogs alone.
    BitBtn1->setAutoDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QWidget::close);

    Label5 = MakeLabel(this, QStringLiteral("Corvanelle Tandrel"), {96, 8, 98, 13});
    MakeBlack(Label5);
    Label6 = MakeLabel(this, QStringLiteral("Version 1.0"), {120, 24, 53, 13});
    Label1 = MakeLabel(this, QStringLiteral("Corvanelle Software"), {96, 40, 100, 17});
    Label2 = MakeLabel(this, QStringLiteral("A division of Hollowmere"), {80, 56, 132, 13});
    Label8 = MakeLabel(this, QStringLiteral("by the Tandrel team"), {88, 72, 108, 13});
    Label3 = MakeLabel(this, QStringLiteral("https://tandrel.example.org/"), {48, 88, 205, 13});
    Label4 = MakeLabel(this, QStringLiteral("tandrel@example.org"), {88, 104, 117, 13});
    Label7 = MakeLabel(this, QStringLiteral("\u00A9 2026"), {112, 120, 71, 13});
}

void Taboutform1::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

namespace tandrel::ui {

void ShowAbout() {
    auto* form = WindowOwner::Instance().Adopt(std::make_unique<Taboutform1>());
    aboutform1 = form;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen != nullptr ? screen->geometry().size() : QSize();
    PlaceByFrame(*form, CentredFrameTopLeft(screenSize, kOuterSize), kOuterSize);
    ShowInFront(*form);
}

}  // namespace tandrel::ui
