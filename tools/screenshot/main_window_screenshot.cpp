// Pictures the main window in the middle of a game under the offscreen
// platform: a name typed, the second flash lit and the Sequence field showing
// its number. Writes the PNG to the path given.
//
//   main_window_screenshot <output.png>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "core/box_draw.h"
#include "core/game_state.h"
#include "results/log_result_writer.h"
#include "ui/Unit1.h"

namespace {

// A clock stopped at a millisecond whose draw lights the red box.
class StoppedClock : public tandrel::core::ClockSource {
  public:
    StoppedClock() {
        while (tandrel::core::DrawBox(3, *this) != 1) {
            ++millisecond_;
        }
    }
    std::uint32_t MillisecondOfUtcDay() const override { return millisecond_; }
    tandrel::core::Date LocalDate() const override { return {2026, 12, 6, 0}; }

  private:
    std::uint32_t millisecond_ = 43'200'000;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.png>\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataHome;
    QApplication application(argc, argv);

    StoppedClock clock;
    std::string logPath = (dataHome.path() + QStringLiteral("/trl.txt")).toStdString();
    tandrel::core::GameState state;
    tandrel::results::LogResultWriter results(tandrel::log::DateSettings{},
                                              [&] { return logPath; });
    Tmain window{state, results, clock, [&] { return logPath; }};
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        return 1;
    }
    window.activateWindow();
    window.namedit->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(window.namedit, QStringLiteral("Ann"));
    window.Timer1.SetInterval(100);
    window.Go1->trigger();
    if (!QTest::qWaitFor([&] { return window.Edit1->text() == QStringLiteral("2"); }, 2000)) {
        return 1;
    }
    window.Timer1.SetEnabled(false);  // hold the second flash for the picture
    QTest::qWait(50);
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
