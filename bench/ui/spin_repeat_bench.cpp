// Measures a held spin-field button: when the first step comes after the
// press, the rhythm of the steps after it, and when the next step comes after
// the pointer left the button 30 ms after a step and came back. Prints the
// median, smallest and largest of each over a few holds. Runs headless unless
// a platform is set.
//
//   spin_repeat_bench [holds]     default: 5

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QToolButton>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ui/spin_field.h"

namespace {

using tandrel::ui::NumericSpinField;

struct Hold {
    double firstStepMs = 0;           // from the press
    std::vector<double> intervalsMs;  // between steps over the button
    double afterReturnMs = 0;         // from coming back to the next step
    double leftAtLeaveMs = 0;         // what was left of the interval when leaving
};

// The times of the field's steps, in ms since `clock` started.
struct StepTimes {
    StepTimes(NumericSpinField& field, const QElapsedTimer& clock)
        : connection(QObject::connect(&field, &NumericSpinField::Changed, &field, [this, &clock] {
              times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
          })) {}
    ~StepTimes() { QObject::disconnect(connection); }
    StepTimes(const StepTimes&) = delete;
    StepTimes& operator=(const StepTimes&) = delete;
    void WaitFor(std::size_t count) const {
        while (times.size() < count) QTest::qWait(1);
    }
    std::vector<double> times;
    QMetaObject::Connection connection;
};

Hold MeasureHold(NumericSpinField& field, int steadySteps) {
    QToolButton* up = field.UpButton();
    const QPoint centre = up->rect().center();
    field.setText(QStringLiteral("0"));
    QElapsedTimer clock;
    const StepTimes steps(field, clock);
    clock.start();
    QTest::mousePress(up, Qt::LeftButton, {}, centre);
    steps.WaitFor(static_cast<std::size_t>(1 + steadySteps));
    Hold hold;
    hold.firstStepMs = steps.times.front();
    for (std::size_t i = 1; i < steps.times.size(); ++i) {
        hold.intervalsMs.push_back(steps.times[i] - steps.times[i - 1]);
    }
    QTest::qWait(30);
    const double leftAt = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    QTest::mouseMove(up, QPoint(-5, -5));
    hold.leftAtLeaveMs = steps.times.back() + 100.0 - leftAt;
    QTest::qWait(300);
    const double returnedAt = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const std::size_t before = steps.times.size();
    QTest::mouseMove(up, centre);
    steps.WaitFor(before + 1);
    hold.afterReturnMs = steps.times.back() - returnedAt;
    QTest::mouseRelease(up, Qt::LeftButton, {}, centre);
    return hold;
}

void Print(const char* what, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::printf("%-34s median %7.2f  min %7.2f  max %7.2f ms\n", what, values[values.size() / 2],
                values.front(), values.back());
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const int holds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    QWidget window;
    auto* field = new NumericSpinField(0, 100000, 0, &window);
    field->setGeometry(8, 8, 49, 22);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;

    std::vector<double> first;
    std::vector<double> intervals;
    std::vector<double> afterReturn;
    std::vector<double> leftAtLeave;
    for (int i = 0; i < holds; ++i) {
        const Hold hold = MeasureHold(*field, 10);
        first.push_back(hold.firstStepMs);
        intervals.insert(intervals.end(), hold.intervalsMs.begin(), hold.intervalsMs.end());
        afterReturn.push_back(hold.afterReturnMs);
        leftAtLeave.push_back(hold.leftAtLeaveMs);
        QTest::qWait(50);
    }
    std::printf(
        "Held spin button, %d holds, platform %s; targets: first step 400, "
        "then every 100, after coming back what was left of the interval\n",
        holds, qPrintable(QGuiApplication::platformName()));
    Print("first step after the press", first);
    Print("steady interval", intervals);
    Print("left of the interval when leaving", leftAtLeave);
    Print("next step after coming back", afterReturn);
    return 0;
}
