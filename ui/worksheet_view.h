#pragma once
// A worksheet on screen: the formula bar (cell name and the selected cell's formula or value)
// over the grid of cells, with the sheet's column widths, row heights and merged cells.

#include <QWidget>
#include <cstdint>
#include <memory>
#include <set>
#include <span>
#include <unordered_map>

#include "spreadsheet/cells/cell_address.h"
#include "spreadsheet/cells/cell_store.h"

class QLabel;
class QLineEdit;

namespace tabulix::spreadsheet {
class Worksheet;
}

namespace tabulix::ui {

class WorksheetGrid;
class WorksheetModel;

class WorksheetView : public QWidget {
    Q_OBJECT
public:
    explicit WorksheetView(std::shared_ptr<spreadsheet::Worksheet> sheet, QWidget* parent = nullptr);

    WorksheetGrid* grid() const { return grid_; }
    QLineEdit* formulaBar() const { return formulaBar_; }
    QLabel* nameBox() const { return nameBox_; }
    WorksheetModel& model() const { return *model_; }
    const std::shared_ptr<spreadsheet::Worksheet>& sheet() const;

    // The height (pixels) of a row (1-based) on screen: as set, or fitted to its fonts as they
    // are drawn here. Where a font the sheet names is missing and another face is drawn in its
    // place, the row grows to that face, so that no line of text is cut.
    int rowHeightFor(std::uint32_t row) const;

    void cellsChanged(const spreadsheet::CellRect& rect);
    // Draws the shown cells again (formulas may read cells that changed elsewhere).
    void repaintCells();
    // Column widths, row heights, merged areas, frozen panes and filter buttons read again from
    // the sheet.
    void layoutChanged();

private:
    void showCurrentCell();
    void commitFormulaBar();
    // The pixels a row needs to draw its cells' fonts, at least `sheetPixels`.
    int drawnRowPixels(std::span<const spreadsheet::Cell> cells, int sheetPixels) const;

    WorksheetModel* model_;
    WorksheetGrid* grid_;
    QLabel* nameBox_;
    QLineEdit* formulaBar_;
    int defaultRowHeight_ = 20;
    std::set<std::uint32_t> customRows_;  // rows whose height was set, not fitted
    // The pixels a line of each style's font takes as drawn, measured once per style.
    mutable std::unordered_map<std::uint32_t, int> drawnLinePixels_;
};

}  // namespace tabulix::ui
