#pragma once

#include <exception>
#include <string>
#include <utility>

namespace tandrel::ui {

// Shows the one modal error box: the application's name as its caption, the
// message and a full stop, a stop icon and OK. Returns when the player
// dismisses it; other timers keep ticking meanwhile, and an error they raise
// opens its own box on top. The box is shown in place, so a clock whose
// handler failed does not tick again until its box is dismissed.
void ShowErrorBox(const std::string& message);

// Runs one event handler; any error it raises goes to the error box, so no
// exception ever crosses a Qt frame.
template <class Handler>
void Guarded(Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        ShowErrorBox(error.what());
    } catch (...) {
        ShowErrorBox("Unexpected error");
    }
}

}  // namespace tandrel::ui
