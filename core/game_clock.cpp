#include "core/game_clock.h"

#include <utility>

namespace tandrel::core {

GameClock::GameClock(TimerService& service, std::uint32_t intervalMs)
    : service_(service), interval_(intervalMs) {}

void GameClock::SetEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;  // starting a running clock must not restart its period
    }
    enabled_ = enabled;
    RestartTimer();
}

void GameClock::SetInterval(std::uint32_t intervalMs) {
    if (intervalMs == interval_) {
        return;
    }
    interval_ = intervalMs;
    RestartTimer();
}

void GameClock::SetHandler(std::function<void()> handler) {
    const bool wasAttached = static_cast<bool>(handler_);
    handler_ = std::move(handler);
    // Swapping one handler for another keeps the period running; attaching
    // or detaching decides whether the clock ticks at all.
    if (wasAttached != static_cast<bool>(handler_)) {
        RestartTimer();
    }
}

void GameClock::Tick() {
    if (Ticks()) {
        handler_();
    }
}

bool GameClock::Ticks() const { return enabled_ && interval_ != 0 && handler_; }

void GameClock::RestartTimer() {
    service_.Cancel();
    // A refusal leaves Enabled set without a system timer; only a later
    // change of Enabled, Interval or the handler tries again.
    if (Ticks() && !service_.Start(interval_)) {
        throw TimerError();
    }
}

}  // namespace tandrel::core
