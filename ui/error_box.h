#pragma once

#include <exception>
#include <string>
#include <utility>

namespace tandrel::ui {

// Shows the one modal error box: the application's name as its caption, the
// message and a full stop, a stop icon and OK. Returns when the player dismisses it; other
// timers keep ticking meanwhile. While a box with the same message is open, the
// message is not shown again; a different message opens its own box on top.
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
