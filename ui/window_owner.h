#pragma once

#include <QWidget>
#include <memory>
#include <vector>

namespace tandrel::ui {

// Owns the scores and about windows from the command that created them until
// the program ends. Closing such a window only hides it.
class WindowOwner {
  public:
    static WindowOwner& Instance();

    template <class Window>
    Window* Adopt(std::unique_ptr<Window> window) {
        Window* raw = window.get();
        raw->setAttribute(Qt::WA_QuitOnClose, false);
        windows_.push_back(std::move(window));
        return raw;
    }

    std::size_t Count() const { return windows_.size(); }
    void DestroyAll() { windows_.clear(); }

  private:
    std::vector<std::unique_ptr<QWidget>> windows_;
};

}  // namespace tandrel::ui
