#pragma once
// Draws worksheet cells as the spreadsheet shows them: fill, text in the cell's font and colour,
// alignment (General: numbers right, texts left, Booleans and errors centred), "####" for a
// number wider than its cell, and the cell's border lines in their weights and colours.

#include <QFont>
#include <QStyledItemDelegate>

#include "spreadsheet/cell_style.h"

namespace tabulix::ui {

class WorksheetModel;

// The Qt font of a cell font, sized in the spreadsheet's pixels (96 per inch) whatever the
// screen's resolution. logicalDpi is the paint device's.
QFont qtFontOf(const spreadsheet::FontStyle& font, int logicalDpi);
QColor qtColourOf(spreadsheet::Rgb rgb, QColor automatic);

class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(const WorksheetModel& model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const WorksheetModel& model_;
};

}  // namespace tabulix::ui
