#pragma once

#include <QLabel>

namespace tandrel::ui {

// An opaque text label that reports a click: a left press and release both
// over the label, taking effect on the release. A double-click gives one click.
class BoxLabel : public QLabel {
    Q_OBJECT
  public:
    explicit BoxLabel(const QString& text, QWidget* parent = nullptr);

  signals:
    void Clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    bool leftPressed_ = false;
};

}  // namespace tandrel::ui
