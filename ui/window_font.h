#pragma once

#include <QFont>

namespace tandrel::ui {

// The windows' font: "MS Sans Serif" at 11 pixels, falling back to the
// system's sans-serif face at the same height.
QFont WindowFont();

}  // namespace tandrel::ui
