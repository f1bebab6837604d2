#include "ui/qt_timer_service.h"

#include <limits>
#include <utility>

#include "ui/error_box.h"

namespace tandrel::ui {

QtTimerService::QtTimerService(std::function<void()> onExpiry) : onExpiry_(std::move(onExpiry)) {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, &timer_,
                     [this] { Guarded([this] { onExpiry_(); }); });
}

bool QtTimerService::Start(std::uint32_t intervalMs) {
    timer_.stop();
    constexpr auto kLongestQtInterval = static_cast<std::uint32_t>(std::numeric_limits<int>::max());
    if (intervalMs == 0 || intervalMs > kLongestQtInterval) {
        return true;  // a period that never ticks needs no system timer
    }
    timer_.start(static_cast<int>(intervalMs));
    // Qt reports a refused timer only through its id (isActive() stays true).
    return Running();
}

void QtTimerService::Cancel() { timer_.stop(); }

}  // namespace tandrel::ui
