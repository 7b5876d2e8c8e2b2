#pragma once
// Between the Qt font and colour dialogs and the component's fonts and colours. Heights are
// pixels at 96 dots per inch, as TFont keeps them; a face the machine does not have becomes the
// face the machine shows in its place, with the same height.

#include <QColor>
#include <QFont>
#include <QString>

#include "framework/color.h"
#include "framework/font.h"

namespace tabulix::demo {

// `family` when the machine has it, else the family the font matcher gives in its place.
QString AvailableFamily(const QString& family);

// A widget font: the face (or its stand-in) at `pixels` pixels.
QFont WidgetFont(const QString& family, int pixels, bool bold = false);

// The font a QFontDialog starts from for `font`: its face or stand-in, its height as points,
// its style.
QFont DialogFont(const framework::TFont& font);

// Sets `target` to the dialog's choice: face, height in pixels, bold, italic, underline and
// strike-out; the colour and character set, which the dialog does not choose, stay as they are.
void AssignDialogFont(framework::TFont& target, const QFont& chosen);

// An explicit colour; system colours are not chosen in the dialog.
framework::TColor ComponentColor(const QColor& colour);
QColor DialogColor(framework::TColor colour);

}  // namespace tabulix::demo
