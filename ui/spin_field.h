#pragma once

#include <QLineEdit>
#include <cstdint>
#include <functional>

class QToolButton;

namespace tandrel::ui {

// A numeric field with up and down buttons. Its value is read from the text
// and is not limited to the range while the field has the focus; leaving the
// field pulls a number outside the range back to the nearest limit.
class NumericSpinField : public QLineEdit {
    Q_OBJECT
  public:
    NumericSpinField(std::int32_t minimum, std::int32_t maximum, std::int32_t value,
                     QWidget* parent = nullptr);

    std::int32_t Value() const;
    std::int32_t Minimum() const { return minimum_; }
    std::int32_t Maximum() const { return maximum_; }

    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

    // The locale's decimal separator, accepted as a typed key.
    static void SetDecimalSeparator(QChar separator);
    // The sound of a refused key; tests replace it.
    static void SetBeep(std::function<void()> beep);

  signals:
    // Once for every change of the text, typed, pasted or rewritten.
    void Changed();

  private:
    std::int32_t minimum_;
    std::int32_t maximum_;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
};

}  // namespace tandrel::ui
