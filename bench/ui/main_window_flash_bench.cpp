// Measures when the playback clock's ticks arrive: File > Go at time 0, then
// flash k should come at k x P. Prints the median and largest lateness and the
// drift over 20 ticks for each period. Runs headless unless a platform is set.
//
//   main_window_flash_bench [period-ms ...]     default: 100 1000

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "results/log_result_writer.h"
#include "ui/Unit1.h"
#include "ui/spin_field.h"

namespace {

constexpr int kTicks = 20;

struct Figures {
    double medianMs;
    double maxMs;
    double minMs;
    double driftMs;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// How far the last ticks sit from the first: the median lateness of the last
// five minus that of the first five. Medians keep one late tick from looking
// like drift.
double Drift(const std::vector<double>& lateness) {
    const std::size_t quarter = lateness.size() / 4;
    return Median({lateness.end() - static_cast<std::ptrdiff_t>(quarter), lateness.end()}) -
           Median({lateness.begin(), lateness.begin() + static_cast<std::ptrdiff_t>(quarter)});
}

// Plays one long game (amount 255) and records the first kTicks flashes.
Figures MeasurePeriod(const QTemporaryDir& dataHome, std::uint32_t periodMs) {
    const std::string logPath = (dataHome.path() + QStringLiteral("/trl.txt")).toStdString();
    tandrel::core::GameState state;
    tandrel::results::LogResultWriter results(tandrel::log::DateSettings{},
                                              [&] { return logPath; });
    Tmain window{state, results, tandrel::core::SystemClock(), [&] { return logPath; }};
    window.show();
    window.spinamount->setText(QStringLiteral("255"));
    window.Timer1.SetInterval(periodMs);

    QElapsedTimer sinceGo;
    std::vector<double> lateness;
    QObject::connect(window.Edit1, &QLineEdit::textChanged, &window, [&] {
        const double now = static_cast<double>(sinceGo.nsecsElapsed()) / 1e6;
        const double due = static_cast<double>(lateness.size() + 1) * periodMs;
        lateness.push_back(now - due);
        if (lateness.size() == kTicks) {
            QCoreApplication::exit(0);
        }
    });
    sinceGo.start();
    window.Go1->trigger();
    QCoreApplication::exec();

    return {Median(lateness), *std::max_element(lateness.begin(), lateness.end()),
            *std::min_element(lateness.begin(), lateness.end()), Drift(lateness)};
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir dataHome;  // no game ends, but keep any log away from the user's
    QApplication application(argc, argv);

    std::vector<std::uint32_t> periods;
    for (int i = 1; i < argc; ++i) {
        periods.push_back(static_cast<std::uint32_t>(std::strtoul(argv[i], nullptr, 10)));
    }
    if (periods.empty()) {
        periods = {100, 1000};
    }

    std::printf("Playback flash timing, %d ticks after Go, lateness = tick - k x P (ms)\n", kTicks);
    std::printf(
        "platform %s; targets: |median| <= 2, max <= 10, drift (last 5 - first 5) within 1\n",
        qPrintable(QGuiApplication::platformName()));
    bool met = true;
    for (const std::uint32_t period : periods) {
        const Figures f = MeasurePeriod(dataHome, period);
        // Early ticks count as badly as late ones.
        const bool ok = std::abs(f.medianMs) <= 2.0 && f.maxMs <= 10.0 && f.minMs >= -10.0 &&
                        std::abs(f.driftMs) <= 1.0;
        met = met && ok;
        std::printf("P = %5u ms: median %+.2f  max %+.2f  min %+.2f  drift %+.2f  %s\n", period,
                    f.medianMs, f.maxMs, f.minMs, f.driftMs, ok ? "ok" : "MISSED");
    }
    return met ? 0 : 1;
}
