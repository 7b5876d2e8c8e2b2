#pragma once
// Views of the spreadsheet (its window) learn what changed through this interface, so that the
// spreadsheet itself needs no windowing toolkit. Every change is reported after it is made, on
// the thread that made it, whether automation or the view's own user made it. Observers must
// not throw, and must not change the model from within a notification.

#include <cstdint>

#include "spreadsheet/cells/cell_address.h"

namespace tabulix::spreadsheet {

class Application;
class Workbook;
class Worksheet;
class ChartSheet;

class ModelObserver {
public:
    virtual ~ModelObserver() = default;

    // Visible or WindowState changed.
    virtual void windowChanged(Application&) {}
    // A workbook was opened (before it is activated) or closed (after it left the application).
    virtual void workbookAdded(Workbook&) {}
    virtual void workbookRemoved(Workbook&) {}
    // The active workbook changed (reported before the workbook-activated event is raised).
    virtual void workbookActivated(Workbook&) {}
    // The workbook's name changed (saved under a new name).
    virtual void workbookRenamed(Workbook&) {}
    // Sheets were added, deleted or renamed.
    virtual void sheetsChanged(Workbook&) {}
    // The workbook's active sheet changed (reported before the sheet-activated event is raised).
    virtual void activeSheetChanged(Workbook&) {}
    // Contents or formats of the cells of rect changed; formulas elsewhere that read them may
    // have new results.
    virtual void cellsChanged(Worksheet&, const CellRect&) {}
    // Column widths or merged areas changed.
    virtual void layoutChanged(Worksheet&) {}
    virtual void chartChanged(ChartSheet&) {}
    // A save of the workbook is under way: its worksheets' rows written so far, of `total`; told
    // with 0 when the save begins, then every few thousand rows and once at the end.
    virtual void saveProgress(Workbook&, std::uint64_t /*rowsWritten*/, std::uint64_t /*total*/) {}
};

}  // namespace tabulix::spreadsheet
