#pragma once
// The look the design-time dialogs share.

#include <QFont>

namespace tabulix::design {

// "Tahoma", 13 pixels high (the toolkit substitutes a similar face where Tahoma is missing).
inline QFont DialogFont() {
    QFont font("Tahoma");
    font.setPixelSize(13);
    return font;
}

}  // namespace tabulix::design
