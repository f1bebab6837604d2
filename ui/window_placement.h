#pragma once

#include <QEvent>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <QWidget>
#include <algorithm>

namespace tandrel::ui {

// Keeps a top-level window's outer frame at a given size. Qt sizes the client
// area, and the frame is only known once the window system has framed the
// window: at once offscreen, a little later under a window manager. So the
// client area is corrected whenever the frame's extra size changes, and left
// alone otherwise (a player's own resizing keeps the extra size unchanged).
class OuterSizeKeeper : public QObject {
  public:
    OuterSizeKeeper(QWidget& window, QSize outerSize)
        : QObject(&window), window_(window), outerSize_(outerSize) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ &&
            (event->type() == QEvent::Show || event->type() == QEvent::Move ||
             event->type() == QEvent::Resize)) {
            Fit();
        }
        return false;
    }

    void Fit() {
        const QSize frameExtra = window_.frameGeometry().size() - window_.geometry().size();
        if (frameExtra == appliedExtra_) return;
        appliedExtra_ = frameExtra;
        window_.resize(outerSize_ - frameExtra);
    }

  private:
    QWidget& window_;
    QSize outerSize_;
    QSize appliedExtra_{0, 0};
};

// Before the first show: puts the frame's top-left corner at `frameTopLeft`
// and keeps the frame `outerSize` large.
inline void PlaceByFrame(QWidget& window, QPoint frameTopLeft, QSize outerSize) {
    window.move(frameTopLeft);
    window.resize(outerSize);
    auto* keeper = new OuterSizeKeeper(window, outerSize);
    window.installEventFilter(keeper);
}

// Where a window of `outerSize` stands centred on a screen of `screenSize`:
// the whole part of half the spare room on each axis, never below 0.
inline QPoint CentredFrameTopLeft(QSize screenSize, QSize outerSize) {
    const auto centred = [](int screen, int outer) { return std::max(0, (screen - outer) / 2); };
    return {centred(screenSize.width(), outerSize.width()),
            centred(screenSize.height(), outerSize.height())};
}

// Shows the window in front of the others as the active window.
inline void ShowInFront(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace tandrel::ui
