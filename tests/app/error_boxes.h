#pragma once

#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <vector>

namespace tandrel::test {

// The message boxes on screen right now.
std::vector<QMessageBox*> OpenMessageBoxes();

// After `ms`, hands the innermost modal box to `check` (nullptr when none is
// open) and clicks its OK button as a player would.
void DismissBoxAfter(int ms, std::function<void(QMessageBox*)> check = {});

// Presses OK on every open box, so that a test that went wrong does not leave
// nested loops behind.
void DismissAllBoxes();

// Counts, from inside the boxes' nested loops, the most boxes open at once.
class BoxCounter {
  public:
    BoxCounter();
    std::size_t MostOpen() const { return mostOpen_; }

  private:
    QTimer timer_;
    std::size_t mostOpen_ = 0;
};

}  // namespace tandrel::test
