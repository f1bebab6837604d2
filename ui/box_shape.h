#pragma once

#include <QColor>
#include <QWidget>

namespace tandrel::ui {

// A filled square with a one-pixel black outline.
class BoxShape : public QWidget {
    Q_OBJECT
  public:
    explicit BoxShape(QWidget* parent = nullptr);

    void SetFill(const QColor& fill);
    QColor Fill() const { return fill_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor fill_ = Qt::white;
};

}  // namespace tandrel::ui
