#pragma once

#include <QValidator>

namespace tandrel::ui {

// Keeps a text field made of whole characters. A field with a length limit
// cuts what is typed, pasted or set at that many UTF-16 units, which can
// split a character beyond the 16-bit range in two; the half left over is
// dropped. Everything else is accepted as it is.
class WholeCharacters : public QValidator {
    Q_OBJECT
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

}  // namespace tandrel::ui
