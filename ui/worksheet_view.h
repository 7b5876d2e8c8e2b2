#pragma once
// A worksheet on screen: the formula bar (cell name and the selected cell's formula or value)
// over the grid of cells, with the sheet's column widths, row heights and merged cells.

#include <QWidget>
#include <memory>

#include "spreadsheet/cells/cell_address.h"

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

    // The height (pixels) the spreadsheet gives a row (1-based): as set, or fitted to its fonts.
    int rowHeightFor(std::uint32_t row) const;

    void cellsChanged(const spreadsheet::CellRect& rect);
    // Draws the shown cells again (formulas may read cells that changed elsewhere).
    void repaintCells();
    // Column widths, row heights and merged areas read again from the sheet.
    void layoutChanged();

private:
    void showCurrentCell();
    void commitFormulaBar();

    WorksheetModel* model_;
    WorksheetGrid* grid_;
    QLabel* nameBox_;
    QLineEdit* formulaBar_;
    int defaultRowHeight_ = 20;
};

}  // namespace tabulix::ui
