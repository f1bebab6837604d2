#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <span>

namespace tandrel::ui {

// An opaque text label that reports a click: a left press and release both
// over the label, taking effect on the release. A double-click gives one click.
// From the keyboard it is reached with Tab (a click leaves the focus where it
// was), shows the style's focus frame, answers Space, Return and Enter as a
// click, once per press, and hands the focus to its grid neighbours with the
// arrow keys.
//
// It draws its text as a plain QLabel does, rather than being one: a QLabel
// that takes the focus lays its text out as a rich-text document, whose line
// is taller than the font's own for some fonts (MS Sans Serif among them), and
// the label would grow.
class BoxLabel : public QWidget {
    Q_OBJECT
  public:
    explicit BoxLabel(QString text, QWidget* parent = nullptr);

    const QString& Text() const { return text_; }
    // Its text's size in its font, as a plain label's.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Reports a click, as the pointer, the keyboard and assistive technology do.
    void Click();

    // The label the arrow key `key` moves the focus to; none at the grid's edge.
    void SetNeighbour(Qt::Key key, BoxLabel* neighbour);

  signals:
    void Clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QString text_;
    bool leftPressed_ = false;
    std::array<BoxLabel*, 4> neighbours_{};  // left, up, right, down
};

// Links `labels`, given row by row, as a grid `columns` wide, so that the
// arrow keys move the focus between them.
void LinkAsGrid(std::span<BoxLabel* const> labels, int columns);

}  // namespace tandrel::ui
