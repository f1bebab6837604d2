#pragma once

#include <QChar>
#include <QString>
#include <optional>
#include <string>

#include "log/date_format.h"

class QLocale;

namespace tandrel::app {

// A short date pattern in the score log's pattern letters, with the date
// separator taken out of it and replaced by "/".
struct ShortDatePattern {
    std::string pattern;
    std::string separator;
};

// Converts a short date pattern written in Qt's pattern letters (d, M, y, with
// '...' quoting) into the score log's letters (d, m, y, with '...' or "..."
// quoting), keeping the date exactly as Qt would write it. The first
// character outside quotes that is not a letter is the date separator; each
// such character becomes "/". An empty pattern gives nothing.
std::optional<ShortDatePattern> ConvertShortDatePattern(const QString& qtPattern);

// The same for a Windows short date pattern, whose letters are Qt's but for
// the year: every run of y is one year, two digits for one or two y and four
// for more. Windows gives the date separator beside the pattern: each
// occurrence of `separator` outside quotes becomes "/", and every other
// character is text. An empty separator leaves the choice to the pattern, as
// above.
std::optional<ShortDatePattern> ConvertWindowsShortDatePattern(const QString& pattern,
                                                               const QString& separator);

// Everything the program takes from the system locale, read once at start-up.
struct LocaleSettings {
    log::DateSettings dates;
    QChar decimalSeparator = QLatin1Char('.');
};

// Reads the settings of `locale`. The C and POSIX locales count as giving
// none, so their short date is the program's own default rather than Qt's
// "d MMM yyyy"; the same holds for anything else a locale leaves empty.
LocaleSettings ReadLocaleSettings(const QLocale& locale);

// The settings of the system's default locale: on Windows as the system
// itself gives them, elsewhere through Qt's system locale.
LocaleSettings ReadSystemLocaleSettings();

}  // namespace tandrel::app
