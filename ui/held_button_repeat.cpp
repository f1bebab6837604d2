#include "ui/held_button_repeat.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <algorithm>
#include <chrono>
#include <utility>

namespace tandrel::ui {
namespace {

using Clock = RepeatRhythm::Clock;

constexpr std::chrono::milliseconds kRepeatDelay{400};
constexpr std::chrono::milliseconds kRepeatInterval{100};

bool IsLeftPress(const QEvent& event) {
    return (event.type() == QEvent::MouseButtonPress ||
            event.type() == QEvent::MouseButtonDblClick) &&
           static_cast<const QMouseEvent&>(event).button() == Qt::LeftButton;
}

bool IsLeftRelease(const QEvent& event) {
    return event.type() == QEvent::MouseButtonRelease &&
           static_cast<const QMouseEvent&>(event).button() == Qt::LeftButton;
}

}  // namespace

HeldButtonRepeat::HeldButtonRepeat(QAbstractButton& button, std::function<void()> step)
    : QObject(&button), rhythm_(kRepeatDelay, kRepeatInterval), step_(std::move(step)) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &HeldButtonRepeat::StepIfDue);
    // While held, the button reports the pointer leaving as released and its
    // return as pressed.
    connect(&button, &QAbstractButton::pressed, this, [this] {
        rhythm_.Return(Clock::now());
        Arm();
    });
    connect(&button, &QAbstractButton::released, this, [this] {
        rhythm_.Leave(Clock::now());
        Arm();
    });
    button.installEventFilter(this);
}

// Sees the press before the button does, and the release before the button
// gives its last step through clicked.
bool HeldButtonRepeat::eventFilter(QObject* watched, QEvent* event) {
    if (IsLeftPress(*event)) {
        rhythm_.Press(Clock::now());
        Arm();
    } else if (IsLeftRelease(*event)) {
        rhythm_.Release();
        Arm();
    }
    return QObject::eventFilter(watched, event);
}

void HeldButtonRepeat::Arm() {
    const auto next = rhythm_.NextStep();
    if (!next) {
        timer_.stop();
        return;
    }
    // Rounded up, so that the timer never wakes before the step is due.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - Clock::now());
    timer_.start(std::max(wait, std::chrono::milliseconds(0)));
}

void HeldButtonRepeat::StepIfDue() {
    if (rhythm_.TakeDueStep(Clock::now())) step_();
    Arm();
}

}  // namespace tandrel::ui
