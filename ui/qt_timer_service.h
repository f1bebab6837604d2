#pragma once

#include <QTimer>
#include <cstdint>
#include <functional>

#include "core/game_clock.h"

namespace tandrel::ui {

// The system timer under one game clock: a precise QTimer, so that flash k
// comes at k x P after Go instead of drifting up to 5 % early. Each expiry
// calls `onExpiry` through the error box guard.
class QtTimerService : public core::TimerService {
  public:
    explicit QtTimerService(std::function<void()> onExpiry);

    // Periods of 2^31 ms or more do not fit Qt's int interval; they are
    // accepted and never tick. A period of 0 never ticks either.
    bool Start(std::uint32_t intervalMs) override;
    void Cancel() override;

    // True while a system timer is really running.
    bool Running() const { return timer_.timerId() > 0; }

  private:
    QTimer timer_;
    std::function<void()> onExpiry_;
};

}  // namespace tandrel::ui
