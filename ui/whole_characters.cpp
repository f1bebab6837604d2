#include "ui/whole_characters.h"

namespace tandrel::ui {

namespace {

bool IsHalfOfAPair(const QString& text, qsizetype index) {
    const QChar unit = text[index];
    if (unit.isHighSurrogate()) {
        return index + 1 < text.size() && text[index + 1].isLowSurrogate();
    }
    return index > 0 && text[index - 1].isHighSurrogate();
}

}  // namespace

QValidator::State WholeCharacters::validate(QString& input, int& position) const {
    if (input.isValidUtf16()) {
        return Acceptable;
    }
    QString whole;
    whole.reserve(input.size());
    for (qsizetype index = 0; index < input.size(); ++index) {
        if (!input[index].isSurrogate() || IsHalfOfAPair(input, index)) {
            whole.append(input[index]);
        } else if (index < position) {
            --position;
        }
    }
    input = whole;
    return Acceptable;
}

}  // namespace tandrel::ui
