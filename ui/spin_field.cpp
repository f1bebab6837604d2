#include "ui/spin_field.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QToolButton>
#include <algorithm>
#include <utility>

#include "ui/held_button_repeat.h"
#include "ui/spin_value.h"

namespace tandrel::ui {
namespace {

QChar& DecimalSeparator() {
    static QChar separator = QLatin1Char('.');
    return separator;
}

std::function<void()>& Beep() {
    static std::function<void()> beep;
    return beep;
}

void SoundBeep() {
    if (Beep()) {
        Beep()();
    } else {
        QApplication::beep();
    }
}

bool IsEditingShortcut(const QKeyEvent& event) {
    for (const auto shortcut : {QKeySequence::Paste, QKeySequence::Copy, QKeySequence::Cut,
                                QKeySequence::Undo, QKeySequence::Redo, QKeySequence::SelectAll}) {
        if (event.matches(shortcut)) return true;
    }
    return false;
}

bool IsAcceptedCharacter(QChar c) {
    const char16_t code = c.unicode();
    if (code < 0x20 || code == 0x7f) return true;  // a control key other than Enter
    if (code >= u'0' && code <= u'9') return true;
    return c == QLatin1Char('+') || c == QLatin1Char('-') || c == DecimalSeparator();
}

bool IsAcceptedText(const QString& text) {
    return std::all_of(text.begin(), text.end(), IsAcceptedCharacter);
}

// Ctrl and Ctrl+Shift with a key: QLineEdit inserts no text for these, so they
// are control keys whatever text the platform sends with them (Ctrl+V comes
// as "v" under some platforms and as the control character under others).
// Other combinations with Ctrl, such as AltGr on some keyboards, can type.
bool IsControlCombination(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::ShiftModifier;
    return modifiers == Qt::ControlModifier;
}

// Whether a typed key is refused. Keys without text (arrows, Home, Delete
// under some platforms) are control keys and pass.
bool IsRefusedKey(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return true;
    if (IsEditingShortcut(event) || IsControlCombination(event)) return false;
    return !IsAcceptedText(event.text());
}

// Focus that moves to another window (a message box included) or into a menu
// leaves the field the focus widget of its window: the player has not left
// the field, so its text stays as typed until the focus moves on inside the
// window.
bool IsLeavingTheField(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::MenuBarFocusReason;
}

}  // namespace

NumericSpinField::NumericSpinField(std::int32_t minimum, std::int32_t maximum, std::int32_t value,
                                   QWidget* parent)
    : QLineEdit(parent),
      minimum_(minimum),
      maximum_(std::max(minimum, maximum)),
      reportedText_(QString::number(value)) {
    setText(reportedText_);  // before the connection: the stored value loads silently
    setTextMargins(0, 0, kButtonWidth, 0);
    up_ = MakeButton(Qt::UpArrow);
    down_ = MakeButton(Qt::DownArrow);
    // A quick click steps on release, a held button once more on release.
    connect(up_, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
    new HeldButtonRepeat(*up_, [this] { Step(+1); });
    new HeldButtonRepeat(*down_, [this] { Step(-1); });
    connect(this, &QLineEdit::textChanged, this, &NumericSpinField::NoteTextChange);
    PlaceButtons();
}

std::int32_t NumericSpinField::Value() const { return SpinValue(text().toStdString(), minimum_); }

void NumericSpinField::SetDecimalSeparator(QChar separator) { DecimalSeparator() = separator; }

void NumericSpinField::SetBeep(std::function<void()> beep) { Beep() = std::move(beep); }

void NumericSpinField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        Step(event->key() == Qt::Key_Up ? +1 : -1);
        event->accept();
        return;
    }
    if (IsRefusedKey(*event)) {
        SoundBeep();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// Text composed with an input method (dead keys, compose sequences) arrives
// here instead of as key presses; it is typed text all the same.
void NumericSpinField::inputMethodEvent(QInputMethodEvent* event) {
    if (!IsAcceptedText(event->commitString())) {
        SoundBeep();
        event->accept();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void NumericSpinField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (IsLeavingTheField(event->reason())) LimitToRange();
}

void NumericSpinField::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    PlaceButtons();
}

QToolButton* NumericSpinField::MakeButton(Qt::ArrowType arrow) {
    auto* button = new QToolButton(this);
    button->setArrowType(arrow);
    // A press still gives the field the focus: Qt hands it to the first
    // focusable widget up from the pointer.
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::ArrowCursor);
    // It takes no focus, but a screen reader still meets it.
    button->setAccessibleName(arrow == Qt::UpArrow ? QStringLiteral("Up") : QStringLiteral("Down"));
    return button;
}

void NumericSpinField::PlaceButtons() {
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int innerHeight = std::max(2, height() - 2 * frame);
    const int upHeight = innerHeight / 2;
    const int left = width() - frame - kButtonWidth;
    up_->setGeometry(left, frame, kButtonWidth, upHeight);
    down_->setGeometry(left, frame + upHeight, kButtonWidth, innerHeight - upHeight);
}

void NumericSpinField::Step(int delta) {
    // In 64 bits, so that stepping past the ends of the 32-bit range is safe.
    RewriteWith(std::clamp<std::int64_t>(std::int64_t{Value()} + delta, minimum_, maximum_));
}

void NumericSpinField::LimitToRange() {
    std::int32_t value = 0;
    if (!ParseSpinText(text().toStdString(), value)) return;  // not a number: stays as typed
    if (value < minimum_) RewriteWith(minimum_);
    if (value > maximum_) RewriteWith(maximum_);
}

void NumericSpinField::RewriteWith(std::int64_t value) { setText(QString::number(value)); }

void NumericSpinField::NoteTextChange(const QString& text) {
    if (text == reportedText_) return;
    reportedText_ = text;
    emit Changed();
}

}  // namespace tandrel::ui
