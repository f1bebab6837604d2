#include <memory>

#include "app/application.h"
#include "app/event_loop.h"
#include "app/locale_settings.h"
#include "ui/Unit1.h"
#include "ui/spin_field.h"

// The program reads nothing from its command line or environment; argv only
// goes to Qt, which needs it for its own platform options.
int main(int argc, char** argv) {
    const tandrel::app::LocaleSettings locale = tandrel::app::ReadSystemLocaleSettings();
    tandrel::app::Application application(argc, argv);
    tandrel::ui::NumericSpinField::SetDecimalSeparator(locale.decimalSeparator);

    auto mainWindow = std::make_unique<Tmain>(locale.dates);
    tandrel::app::RunUntilMainWindowCloses(*mainWindow);
    mainWindow.reset();
    return 0;
}
