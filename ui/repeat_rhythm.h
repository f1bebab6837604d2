#pragma once

#include <chrono>
#include <optional>

namespace tandrel::ui {

// When a held button steps: once `delay` after the press, then every
// `interval` while the pointer stays over the button. Moving the pointer off
// pauses the wait for the next step where it stands; coming back resumes it.
// Plain C++ on a steady clock's times, so that the rules can be tested
// without waiting.
class RepeatRhythm {
  public:
    using Clock = std::chrono::steady_clock;

    RepeatRhythm(Clock::duration delay, Clock::duration interval);

    void Press(Clock::time_point now);
    void Leave(Clock::time_point now);
    void Return(Clock::time_point now);
    void Release();

    // True when a step is due at `now`; the next one then falls an interval
    // later (counted from `now` when the step came later than that).
    bool TakeDueStep(Clock::time_point now);
    // When the next step falls due; nothing while the button is not held
    // with the pointer over it.
    std::optional<Clock::time_point> NextStep() const;

  private:
    Clock::duration delay_;
    Clock::duration interval_;
    bool held_ = false;
    bool over_ = false;
    Clock::time_point due_{};
    Clock::duration leftWhenPaused_{};
};

}  // namespace tandrel::ui
