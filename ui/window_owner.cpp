#include "ui/window_owner.h"

namespace tandrel::ui {

WindowOwner& WindowOwner::Instance() {
    static WindowOwner owner;
    return owner;
}

}  // namespace tandrel::ui
