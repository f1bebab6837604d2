#include <memory>

#include "app/application.h"
#include "app/event_loop.h"
#include "app/locale_settings.h"
#include "core/clock_source.h"
#include "core/game_state.h"
#include "log/score_log.h"
#include "results/log_result_writer.h"
#include "ui/Unit1.h"
#include "ui/spin_field.h"

// The program reads nothing from its command line or environment; Qt gets
// only the program's name from argv. Its exit status is the event loop's: 0
// when the main window closes.
int main(int argc, char** argv) {
    const tandrel::app::LocaleSettings locale = tandrel::app::ReadSystemLocaleSettings();
    tandrel::app::Application application(argc, argv);
    tandrel::ui::NumericSpinField::SetDecimalSeparator(locale.decimalSeparator);

    tandrel::results::LogResultWriter results(locale.dates, &tandrel::log::ScoreLogPath);
    auto mainWindow =
        std::make_unique<Tmain>(tandrel::core::TheGameState(), results,
                                tandrel::core::SystemClock(), &tandrel::log::ScoreLogPath);
    const int status = tandrel::app::RunUntilMainWindowCloses(*mainWindow);
    mainWindow.reset();
    return status;
}
