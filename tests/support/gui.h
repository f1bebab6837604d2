#pragma once

#include <QPoint>
#include <QWidget>
#include <cstddef>
#include <functional>

namespace tandrel::test {

// Shows the window and waits until it is exposed and active.
void ShowAndActivate(QWidget& window);

// A left click through the window system path (hit-testing, grab, modality),
// at `local` inside `target`.
void ClickThroughWindow(QWidget& target, QPoint local);
void DoubleClickThroughWindow(QWidget& target, QPoint local);

// Waits up to `timeoutMs` for `condition`, running the event loop.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs);

// The scores and about windows opened so far, and their removal (each test
// removes them before the QApplication goes).
std::size_t OwnedWindowCount();
void DestroyOwnedWindows();

}  // namespace tandrel::test
