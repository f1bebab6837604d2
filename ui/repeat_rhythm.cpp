#include "ui/repeat_rhythm.h"

#include <algorithm>

namespace tandrel::ui {

RepeatRhythm::RepeatRhythm(Clock::duration delay, Clock::duration interval)
    : delay_(delay), interval_(interval) {}

void RepeatRhythm::Press(Clock::time_point now) {
    held_ = true;
    over_ = true;
    due_ = now + delay_;
}

void RepeatRhythm::Leave(Clock::time_point now) {
    if (!held_ || !over_) return;
    over_ = false;
    leftWhenPaused_ = std::max(Clock::duration::zero(), due_ - now);
}

void RepeatRhythm::Return(Clock::time_point now) {
    if (!held_ || over_) return;
    over_ = true;
    due_ = now + leftWhenPaused_;
}

void RepeatRhythm::Release() {
    held_ = false;
    over_ = false;
}

bool RepeatRhythm::TakeDueStep(Clock::time_point now) {
    if (!held_ || !over_ || now < due_) return false;
    due_ += interval_;
    // A late step (a busy event loop) starts the rhythm afresh instead of
    // making up for lost steps in a burst.
    if (due_ <= now) due_ = now + interval_;
    return true;
}

std::optional<RepeatRhythm::Clock::time_point> RepeatRhythm::NextStep() const {
    if (!held_ || !over_) return std::nullopt;
    return due_;
}

}  // namespace tandrel::ui
