#include "app/locale_settings.h"

#include <QLocale>
#include <QStringList>
#include <QStringView>
#include <algorithm>

namespace tandrel::app {

namespace {

// One character of a pattern: a single code unit or a surrogate pair.
QStringView CharacterAt(QStringView text, qsizetype index) {
    const bool pair = text[index].isHighSurrogate() && index + 1 < text.size() &&
                      text[index + 1].isLowSurrogate();
    return text.mid(index, pair ? 2 : 1);
}

bool IsLetter(QStringView character) { return QChar::isLetter(character.toUcs4().value(0)); }

// Builds the converted pattern. Literal text that the log's letters would read
// as a field, a quote or the separator is collected and written in quotes.
class PatternWriter {
  public:
    PatternWriter() = default;
    explicit PatternWriter(const QString& separator) : separator_(separator) {
        if (!separator.isEmpty()) out_.separator = separator.toStdString();
    }

    void Field(char letter, qsizetype count) {
        FlushLiteral();
        // Two fields of one letter written side by side would merge into one;
        // an empty quote keeps them apart.
        if (lastField_ == letter) out_.pattern += "''";
        out_.pattern.append(static_cast<std::size_t>(count), letter);
        lastField_ = letter;
    }

    void QuotedText(QStringView text) { literal_ += text; }

    void Character(QStringView character) {
        if (IsSeparator(character)) {
            Plain("/");
        } else if (IsLetter(character) || character == u'/' || character == u'"') {
            literal_ += character;
        } else {
            Plain(character.toString().toStdString());
        }
    }

    ShortDatePattern Result() {
        FlushLiteral();
        return out_;
    }

  private:
    bool IsSeparator(QStringView character) {
        if (separator_.isEmpty() && !IsLetter(character)) {
            separator_ = character.toString();
            out_.separator = separator_.toStdString();
        }
        return character == separator_;
    }

    void Plain(const std::string& text) {
        FlushLiteral();
        out_.pattern += text;
        lastField_ = 0;
    }

    // A quote cannot stand inside quotes of its own kind, so it goes in the
    // other kind.
    void FlushLiteral() {
        if (literal_.isEmpty()) return;
        const QStringList parts = literal_.split(QLatin1Char('\''));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0) out_.pattern += "\"'\"";
            if (!parts[i].isEmpty()) {
                out_.pattern += '\'';
                out_.pattern += parts[i].toStdString();
                out_.pattern += '\'';
            }
        }
        literal_.clear();
        lastField_ = 0;
    }

    ShortDatePattern out_{"", "/"};
    QString separator_;
    QString literal_;
    char lastField_ = 0;
};

qsizetype RunLength(QStringView pattern, qsizetype start) {
    qsizetype end = start;
    while (end < pattern.size() && pattern[end] == pattern[start]) ++end;
    return end - start;
}

// A pattern's quoted text starting at the quote at `index`: "''" is a quote, and
// inside the text "''" is a quote too. Moves `index` past the closing quote.
QString ReadQuoted(QStringView pattern, qsizetype& index) {
    ++index;
    if (index < pattern.size() && pattern[index] == u'\'') {
        ++index;
        return QStringLiteral("'");
    }
    QString text;
    while (index < pattern.size()) {
        if (pattern[index] != u'\'') {
            text += pattern[index++];
        } else if (index + 1 < pattern.size() && pattern[index + 1] == u'\'') {
            text += u'\'';
            index += 2;
        } else {
            ++index;
            break;
        }
    }
    return text;
}

// Whose rules a pattern's letters follow. They differ in the year: in Qt a
// single y is no field and "yyyyy" is a year and a letter y; in Windows every
// run of y is one year, of two digits up to "yy" and of four from "yyy" on,
// as in the log's own letters.
enum class PatternRules { kQt, kWindows };

// Writes one run of a date letter, taking as many letters as the rules do for
// one field, and returns how many it took.
qsizetype ConvertField(QChar letter, qsizetype run, PatternRules rules, PatternWriter& writer) {
    if (letter == u'd' || letter == u'M') {
        const qsizetype count = std::min<qsizetype>(run, 4);
        writer.Field(letter == u'd' ? 'd' : 'm', count);
        return count;
    }
    if (rules == PatternRules::kWindows) {
        writer.Field('y', run);
        return run;
    }
    if (run >= 2) {
        const qsizetype count = run >= 4 ? 4 : 2;
        writer.Field('y', count);
        return count;
    }
    writer.Character(QStringView(u"y"));
    return 1;
}

bool IsDateLetter(QChar c) { return c == u'd' || c == u'M' || c == u'y'; }

std::optional<ShortDatePattern> Convert(const QString& original, const QString& separator,
                                        PatternRules rules) {
    if (original.isEmpty()) return std::nullopt;
    const QStringView pattern(original);
    PatternWriter writer(separator);
    qsizetype index = 0;
    while (index < pattern.size()) {
        const QChar c = pattern[index];
        if (c == u'\'') {
            writer.QuotedText(ReadQuoted(pattern, index));
        } else if (IsDateLetter(c)) {
            index += ConvertField(c, RunLength(pattern, index), rules, writer);
        } else {
            const QStringView character = CharacterAt(pattern, index);
            writer.Character(character);
            index += character.size();
        }
    }
    return writer.Result();
}

}  // namespace

std::optional<ShortDatePattern> ConvertShortDatePattern(const QString& qtPattern) {
    return Convert(qtPattern, QString(), PatternRules::kQt);
}

std::optional<ShortDatePattern> ConvertWindowsShortDatePattern(const QString& pattern,
                                                               const QString& separator) {
    return Convert(pattern, separator, PatternRules::kWindows);
}

namespace {

void ReadNames(const QLocale& locale, log::DateSettings& dates) {
    auto setIfGiven = [](std::string& name, const QString& given) {
        if (!given.isEmpty()) name = given.toStdString();
    };
    for (int day = 0; day < 7; ++day) {
        const int qtDay = day == 0 ? 7 : day;  // Qt counts Monday 1 to Sunday 7
        const auto index = static_cast<std::size_t>(day);
        setIfGiven(dates.shortDayNames[index], locale.dayName(qtDay, QLocale::ShortFormat));
        setIfGiven(dates.longDayNames[index], locale.dayName(qtDay, QLocale::LongFormat));
    }
    for (int month = 1; month <= 12; ++month) {
        const auto index = static_cast<std::size_t>(month - 1);
        setIfGiven(dates.shortMonthNames[index], locale.monthName(month, QLocale::ShortFormat));
        setIfGiven(dates.longMonthNames[index], locale.monthName(month, QLocale::LongFormat));
    }
}

}  // namespace

LocaleSettings ReadLocaleSettings(const QLocale& locale) {
    LocaleSettings settings;
    if (locale.language() == QLocale::C) return settings;

    if (const auto pattern = ConvertShortDatePattern(locale.dateFormat(QLocale::ShortFormat))) {
        settings.dates.pattern = pattern->pattern;
        settings.dates.separator = pattern->separator;
    }
    ReadNames(locale, settings.dates);
    const QString decimalPoint = locale.decimalPoint();
    if (decimalPoint.size() == 1) settings.decimalSeparator = decimalPoint[0];
    return settings;
}

}  // namespace tandrel::app
