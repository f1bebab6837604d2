#include "core/clock_source.h"
#include "core/system_clock_source.h"

namespace tandrel::core {

namespace {

class SystemClockSource final : public ClockSource {
  public:
    std::uint32_t MillisecondOfUtcDay() const override { return SystemMillisecondOfUtcDay(); }
    Date LocalDate() const override { return SystemLocalDate(); }
};

}  // namespace

const ClockSource& SystemClock() {
    static const SystemClockSource clock;
    return clock;
}

}  // namespace tandrel::core
