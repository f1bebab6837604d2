#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <thread>

#include "tests/support/gui.h"
#include "tests/support/message_boxes.h"
#include "ui/qt_timer_service.h"

namespace {

using tandrel::ui::QtTimerService;

// Counts expiries, and whether Qt complained about an interval meanwhile.
class ExpiryCounter : public ::testing::Test {
  protected:
    void SetUp() override {
        complaints = 0;
        previous_ = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString&) { ++complaints; });
    }
    void TearDown() override { qInstallMessageHandler(previous_); }

    static inline int complaints = 0;
    int expiries = 0;
    QtTimerService service{[this] { ++expiries; }};

  private:
    QtMessageHandler previous_ = nullptr;
};

TEST_F(ExpiryCounter, TicksAtItsPeriodUntilCancelledAndAStartBeginsTheCountAfresh) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    ASSERT_TRUE(service.Start(40));
    EXPECT_TRUE(service.Running());
    ASSERT_TRUE(tandrel::test::WaitFor([&] { return expiries == 5; }, 2000));
    // A precise timer is never early: the fifth expiry comes at 200 ms at the soonest.
    EXPECT_GE(sinceStart.elapsed(), 199);

    service.Cancel();
    EXPECT_FALSE(service.Running());
    const int atCancel = expiries;
    QTest::qWait(100);
    EXPECT_EQ(expiries, atCancel);

    // A start while running restarts the period: starting again every 50 ms
    // keeps a 400 ms timer from ever expiring.
    ASSERT_TRUE(service.Start(400));
    for (int i = 0; i < 10; ++i) {
        QTest::qWait(50);
        ASSERT_TRUE(service.Start(400));
    }
    EXPECT_EQ(expiries, atCancel);
    EXPECT_EQ(complaints, 0);
}

TEST_F(ExpiryCounter, PeriodsTooLongForQtAndZeroAreAcceptedButNeverTick) {
    for (const std::uint32_t period : {std::uint32_t{0}, std::uint32_t{1} << 31,
                                       std::numeric_limits<std::uint32_t>::max() - 999u,
                                       std::numeric_limits<std::uint32_t>::max()}) {
        SCOPED_TRACE(period);
        EXPECT_TRUE(service.Start(period));
        EXPECT_FALSE(service.Running());
    }
    QTest::qWait(60);
    EXPECT_EQ(expiries, 0);
    EXPECT_EQ(complaints, 0) << "Qt was handed a negative interval";

    // The longest period Qt takes is a real, running timer.
    EXPECT_TRUE(service.Start(static_cast<std::uint32_t>(std::numeric_limits<int>::max())));
    EXPECT_TRUE(service.Running());
}

TEST(QtTimerServiceErrors, ExpiryThatThrowsShowsTheErrorAndTheTimerKeepsTicking) {
    tandrel::test::ErrorBoxWatcher boxes(0);
    int expiries = 0;
    QtTimerService service([&] {
        if (++expiries == 1) {
            throw std::runtime_error("Not enough timers available");
        }
    });
    ASSERT_TRUE(service.Start(30));
    ASSERT_TRUE(tandrel::test::WaitFor([&] { return expiries >= 4; }, 2000));
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, "Not enough timers available.");
}

TEST_F(ExpiryCounter, TimerTheSystemRefusesIsReportedAsRefused) {
    // A thread without an event loop cannot run Qt timers.
    bool started = true;
    std::thread([&] {
        QtTimerService orphan([] {});
        started = orphan.Start(100);
    }).join();
    EXPECT_FALSE(started);
}

}  // namespace
