#pragma once
// Draws worksheet cells as the spreadsheet shows them: fill, text in the cell's font and colour,
// alignment (General: numbers right, texts left, Booleans and errors centred), "####" for a
// number wider than its cell, and the cell's border lines in their weights and colours.

#include <QFont>
#include <QStyledItemDelegate>

#include "spreadsheet/cell_style.h"

namespace tabulix::ui {

class WorksheetModel;
struct CellLook;

// The Qt font of a cell font, sized in the spreadsheet's pixels (96 per inch) whatever the
// screen's resolution. logicalDpi is the paint device's.
QFont qtFontOf(const spreadsheet::FontStyle& font, int logicalDpi);
QColor qtColourOf(spreadsheet::Rgb rgb, QColor automatic);

class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(const WorksheetModel& model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // True when the cell's text is wider than the cell and spills into its empty neighbours, as
    // a text (not a number) outside a merged area does; WorksheetGrid then draws it.
    bool spillsOver(const CellLook& look, const spreadsheet::CellStyle& style, int textWidth, int roomWidth,
                    const QModelIndex& index) const;

private:
    const WorksheetModel& model_;
};

}  // namespace tabulix::ui
