#pragma once

#include <cstdint>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/clock_source.h"
#include "core/game_clock.h"
#include "core/game_view.h"
#include "core/result_writer.h"

namespace tandrel::test {

// A clock whose millisecond and date the test sets.
class PinnedClock : public core::ClockSource {
  public:
    PinnedClock() = default;
    PinnedClock(std::uint32_t startMillisecond, core::Date startDate)
        : millisecond(startMillisecond), date(startDate) {}

    std::uint32_t millisecond = 0;
    core::Date date{2026, 12, 7, 1};

    std::uint32_t MillisecondOfUtcDay() const override { return millisecond; }
    core::Date LocalDate() const override { return date; }
};

// The draw worked out independently of the engine: 64-bit arithmetic with an
// explicit reduction modulo 2^32.
inline std::uint8_t ReferenceDraw(std::uint32_t millisecond, std::uint8_t n) {
    const std::uint64_t state = (std::uint64_t{millisecond} * 134775813u + 1u) % (1ull << 32);
    return static_cast<std::uint8_t>(state * n / (1ull << 32));
}

// The first millisecond of the day at or after `from` whose draw over `n` is `value`.
inline std::uint32_t MillisecondDrawing(std::uint8_t value, std::uint8_t n,
                                        std::uint32_t from = 1) {
    for (std::uint32_t ms = from; ms < 86'400'000u; ++ms) {
        if (ReferenceDraw(ms, n) == value) {
            return ms;
        }
    }
    throw std::logic_error("no millisecond draws that value");
}

// A main window stand-in: records every call in order and keeps what a
// player would see (lit boxes, the Sequence field, the clocks' switches).
// A long run clears `calls` now and then, so that they do not pile up.
class RecordingView : public core::GameView {
  public:
    std::vector<std::string> calls;
    std::set<int> litBoxes;
    int sequenceField = 0;
    bool playbackRunning = false;
    bool endCheckRunning = false;
    int scoresOpened = 0;
    std::string name = "Ann";
    bool refusePlaybackClock = false;

    void HideAllBoxes() override {
        calls.push_back("hide all");
        litBoxes.clear();
    }
    void ShowBox(int box) override {
        calls.push_back("show box " + std::to_string(box));
        litBoxes.insert(box);
    }
    void ShowSequence(int number) override {
        calls.push_back("sequence " + std::to_string(number));
        sequenceField = number;
    }
    std::string NameText() const override { return name; }
    void SetPlaybackClockEnabled(bool enabled) override {
        calls.push_back(enabled ? "playback on" : "playback off");
        if (enabled && refusePlaybackClock) {
            throw core::TimerError();
        }
        playbackRunning = enabled;
    }
    void SetEndCheckClockEnabled(bool enabled) override {
        calls.push_back(enabled ? "end check on" : "end check off");
        endCheckRunning = enabled;
    }
    void ShowScores() override {
        calls.push_back("show scores");
        ++scoresOpened;
    }
};

// Collects results; fails the next `failuresLeft` writes with
// `failureMessage`. Writes are also
// noted in a shared call list so their order against view calls shows.
class FakeResultWriter : public core::ResultWriter {
  public:
    struct Written {
        core::Date date;
        std::string name;
        int score;
        int amount;
    };

    explicit FakeResultWriter(std::vector<std::string>& calls) : calls_(calls) {}

    std::vector<Written> attempts;
    int failuresLeft = 0;
    std::string failureMessage = "disk full";

    void WriteResult(const core::Date& date, const std::string& name, std::uint8_t score,
                     std::uint8_t amount) override {
        calls_.push_back("write result");
        attempts.push_back({date, name, score, amount});
        if (failuresLeft > 0) {
            --failuresLeft;
            throw std::runtime_error(failureMessage);
        }
    }

  private:
    std::vector<std::string>& calls_;
};

// A system timer that records what it was asked and can refuse.
class FakeTimerService : public core::TimerService {
  public:
    std::vector<std::string> calls;
    bool refuse = false;

    bool Start(std::uint32_t intervalMs) override {
        calls.push_back("start " + std::to_string(intervalMs));
        return !refuse;
    }
    void Cancel() override { calls.push_back("cancel"); }
};

}  // namespace tandrel::test
