#pragma once
// The look the design-time dialogs share.

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tabulix::design {

// "Tahoma", 13 pixels high (the toolkit substitutes a similar face where Tahoma is missing).
inline QFont DialogFont() {
    QFont font("Tahoma");
    font.setPixelSize(13);
    return font;
}

// Moves a dialog to the middle of the screen's free area.
inline void CentreOnScreen(QWidget& dialog) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
}

}  // namespace tabulix::design
