#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>

namespace tandrel::core {

// The system's periodic timer under one clock. Start returns false when the
// system refuses a timer.
class TimerService {
  public:
    virtual ~TimerService() = default;
    virtual bool Start(std::uint32_t intervalMs) = 0;
    virtual void Cancel() = 0;
};

// Raised when the system cannot provide a timer.
class TimerError : public std::runtime_error {
  public:
    TimerError() : std::runtime_error("Not enough timers available") {}
};

// A periodic clock with Enabled and Interval. Setting either to its current
// value does nothing; any other change cancels the system timer and starts a
// new one when enabled, the interval is not 0 and a handler is attached.
// A refused start throws TimerError and leaves Enabled as set.
class GameClock {
  public:
    GameClock(TimerService& service, std::uint32_t intervalMs);

    void SetEnabled(bool enabled);
    void SetInterval(std::uint32_t intervalMs);
    void SetHandler(std::function<void()> handler);

    bool Enabled() const { return enabled_; }
    std::uint32_t Interval() const { return interval_; }

    // Called by the timer service at each expiry.
    void Tick();

  private:
    bool Ticks() const;
    void RestartTimer();

    TimerService& service_;
    std::uint32_t interval_;
    bool enabled_ = false;
    std::function<void()> handler_;
};

}  // namespace tandrel::core
