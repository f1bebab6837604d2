#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "ui/repeat_rhythm.h"

class QAbstractButton;

namespace tandrel::ui {

// Steps while a button is held, by the rhythm of RepeatRhythm on a precise
// timer: Qt's own auto-repeat fires up to 5 % early and starts its delay
// afresh each time the pointer comes back over the button. The quick click
// and the step on release stay with the button's clicked signal.
class HeldButtonRepeat : public QObject {
    Q_OBJECT
  public:
    HeldButtonRepeat(QAbstractButton& button, std::function<void()> step);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Waits for the rhythm's next step, if one is due at all.
    void Arm();
    void StepIfDue();

    RepeatRhythm rhythm_;
    QTimer timer_;
    std::function<void()> step_;
};

}  // namespace tandrel::ui
