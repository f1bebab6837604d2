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
    // The sound of a refused key; tests replace it. An empty function restores
    // the system's default beep.
    static void SetBeep(std::function<void()> beep);

    // Width of the stacked up and down buttons inside the right edge.
    static constexpr int kButtonWidth = 15;

  signals:
    // Once for every change of the text, typed, pasted or rewritten.
    void Changed();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QToolButton* MakeButton(Qt::ArrowType arrow);
    void PlaceButtons();
    // Sets the value to the current one plus `delta`, limited to the range.
    void Step(int delta);
    // Pulls a number outside the range back to the nearest limit.
    void LimitToRange();
    void RewriteWith(std::int64_t value);
    void NoteTextChange(const QString& text);

    std::int32_t minimum_;
    std::int32_t maximum_;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    // The text as last reported by Changed, so that retyping the same text
    // over a selection reports nothing.
    QString reportedText_;
};

}  // namespace tandrel::ui
