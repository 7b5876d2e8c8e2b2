#pragma once
// Draws worksheet cells as the spreadsheet shows them: fill, text in the cell's font and colour,
// alignment (General: numbers right, texts left, Booleans and errors centred), "####" for a
// number wider than its cell, and the cell's border lines in their weights and colours.

#include <QFont>
#include <QRect>

#include "spreadsheet/cells/cell_style.h"

class QPainter;

namespace tabulix::ui {

struct CellLook;

// The Qt font of a cell font, sized in the spreadsheet's pixels (96 per inch) whatever the
// screen's resolution. logicalDpi is the paint device's.
QFont qtFontOf(const spreadsheet::FontStyle& font, int logicalDpi);
QColor qtColourOf(spreadsheet::Rgb rgb, QColor automatic);

// Pixels between a cell's text and its left and right edges. With the grid line that is the
// five pixels a fitted column adds to its widest text.
constexpr int kCellTextMargin = 2;

// True when the cell's text is wider than its room and spills into empty neighbours, as a text
// (not a number) in a cell outside a merged area does with the usual alignments.
bool spillsOver(const CellLook& look, int textWidth, int roomWidth);

// Draws one cell (or one merged area) into `rect`, whose last pixel column and row are the grid
// lines; the painter's origin is the top-left corner of the area the cells are drawn in. A text that spills over is left out when `mayLeaveText`: the caller draws it across
// its neighbours once they are drawn.
void paintCell(QPainter& painter, const QRect& rect, const CellLook& look, bool mayLeaveText);

// Draws a text that spills out of its cell `own` over the area `across` (the cell and the
// empty neighbours it may use), in the cell's alignment.
void paintSpilledText(QPainter& painter, const QRect& own, const QRect& across, const CellLook& look);

}  // namespace tabulix::ui
