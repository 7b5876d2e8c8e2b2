#pragma once
// One open workbook in the spreadsheet window: its sheets' views stacked over a tab bar with one
// tab per sheet in sheet order ("sheetTabs"). Clicking a tab asks the workbook to activate that
// sheet; the page shows whatever sheet the workbook says is active.

#include <QWidget>
#include <memory>
#include <vector>

#include "spreadsheet/cells/cell_address.h"

class QStackedWidget;
class QTabBar;

namespace tabulix::spreadsheet {
class Workbook;
class Sheet;
class Worksheet;
class ChartSheet;
}

namespace tabulix::ui {

class WorksheetView;
class ChartSheetView;

class WorkbookPage : public QWidget {
    Q_OBJECT
public:
    explicit WorkbookPage(std::shared_ptr<spreadsheet::Workbook> book, QWidget* parent = nullptr);

    const std::shared_ptr<spreadsheet::Workbook>& workbook() const { return book_; }
    QTabBar* sheetTabs() const { return tabs_; }
    // The view of the sheet at 0-based tab position, or of a sheet (nullptr when none).
    QWidget* sheetView(int position) const;
    QWidget* viewOf(const spreadsheet::Sheet& sheet) const;
    QWidget* currentView() const;

    // The workbook's sheets were added, deleted or renamed.
    void sheetsChanged();
    // Shows the workbook's active sheet.
    void showActiveSheet();
    // Cells of `sheet` changed (the pointer is only compared: the sheet may have gone since).
    void cellsChanged(const spreadsheet::Worksheet* sheet, const spreadsheet::CellRect& rect);
    void layoutChanged(spreadsheet::Worksheet& sheet);
    void chartChanged(spreadsheet::ChartSheet& sheet);

private:
    void tabClicked(int position);

    std::shared_ptr<spreadsheet::Workbook> book_;
    QStackedWidget* stack_;
    QTabBar* tabs_;
    struct Entry {
        std::shared_ptr<spreadsheet::Sheet> sheet;
        QWidget* view;
    };
    std::vector<Entry> entries_;  // in sheet order
    bool updating_ = false;       // set while the page follows the model, so no tab click is reported
};

}  // namespace tabulix::ui
