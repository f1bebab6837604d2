// The system locale on POSIX systems, as Qt reads it from the environment.

#include <QLocale>

#include "app/locale_settings.h"

namespace tandrel::app {

LocaleSettings ReadSystemLocaleSettings() { return ReadLocaleSettings(QLocale::system()); }

}  // namespace tandrel::app
