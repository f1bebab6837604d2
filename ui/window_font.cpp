#include "ui/window_font.h"

namespace tandrel::ui {

QFont WindowFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

}  // namespace tandrel::ui
