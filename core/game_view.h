#pragma once

#include <string>

namespace tandrel::core {

// Everything the engine may do to the window that shows the game. The main
// window provides it; tests provide a fake.
class GameView {
  public:
    virtual ~GameView() = default;

    virtual void HideAllBoxes() = 0;
    virtual void ShowBox(int box) = 0;  // box 1..6 in reading order
    virtual void ShowSequence(int number) = 0;
    virtual std::string NameText() const = 0;  // UTF-8
    virtual void SetPlaybackClockEnabled(bool enabled) = 0;
    virtual void SetEndCheckClockEnabled(bool enabled) = 0;
    virtual void ShowScores() = 0;
};

}  // namespace tandrel::core
