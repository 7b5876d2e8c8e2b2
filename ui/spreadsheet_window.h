#pragma once
// The embedded spreadsheet's own window: one page per open workbook ("workbookPages", a
// QTabWidget whose pages are WorkbookPage widgets), each with one tab per sheet ("sheetTabs").
// It follows the application as it changes (through the model's observer interface) and turns
// the user's actions into the same model calls automation makes, so the same events fire:
// a page switch activates its workbook, a sheet tab activates its sheet, closing a page closes
// its workbook (unless a before-close handler cancels), typing puts a value or a formula.
//
// Thread rule: a widget, so the GUI thread only, showing an application of the GUI thread.

#include <QMainWindow>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <memory>
#include <unordered_map>

#include "spreadsheet/model/model_observer.h"

class QTabBar;
class QTabWidget;

namespace tabulix::spreadsheet {
class Application;
class Sheet;
}

namespace tabulix::ui {

class WorkbookPage;

class SpreadsheetWindow : public QMainWindow, private spreadsheet::ModelObserver {
    Q_OBJECT
public:
    explicit SpreadsheetWindow(std::shared_ptr<spreadsheet::Application> app, QWidget* parent = nullptr);
    ~SpreadsheetWindow() override;

    const std::shared_ptr<spreadsheet::Application>& application() const { return app_; }

    // Saves the active workbook to `path` as .xlsx through the spreadsheet's atomic save; throws on failure.
    void saveActiveWorkbookAs(const QString& path);
    // The "Save as…" menu action asks for a file name through this function (a QFileDialog by
    // default); tests replace it so that no modal dialog blocks. An empty name cancels.
    void setSaveFileNameAsker(std::function<QString()> asker);
    // What "Save as…" does: asks for a name, saves, and shows the spreadsheet's message when the
    // save fails.
    void saveAsInteractively();

    // For tests and the programs that embed the window: the workbook pages (objectName
    // "workbookPages"), the page of a workbook, and the sheet tabs ("sheetTabs") of the page at
    // `pageIndex` (nullptr when there is no such page).
    QTabWidget* workbookPages() const { return pages_; }
    WorkbookPage* page(int pageIndex) const;
    WorkbookPage* pageOf(const spreadsheet::Workbook& book) const;
    QTabBar* sheetTabs(int pageIndex) const;
    // The view of the active sheet of the active workbook (a WorksheetView or a ChartSheetView).
    QWidget* activeSheetView() const;

    // Applies the model's pending cell changes to the views now (they are otherwise applied
    // when the event loop next runs).
    void applyPendingChanges();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // spreadsheet::ModelObserver
    void windowChanged(spreadsheet::Application&) override;
    void workbookAdded(spreadsheet::Workbook& book) override;
    void workbookRemoved(spreadsheet::Workbook& book) override;
    void workbookActivated(spreadsheet::Workbook& book) override;
    void workbookRenamed(spreadsheet::Workbook& book) override;
    void sheetsChanged(spreadsheet::Workbook& book) override;
    void activeSheetChanged(spreadsheet::Workbook& book) override;
    void cellsChanged(spreadsheet::Worksheet& sheet, const spreadsheet::CellRect& rect) override;
    void layoutChanged(spreadsheet::Worksheet& sheet) override;
    void chartChanged(spreadsheet::ChartSheet& sheet) override;

    void buildMenus();
    void addPage(const std::shared_ptr<spreadsheet::Workbook>& book);
    void showActiveWorkbook();
    void pageSelected(int index);
    void pageCloseRequested(int index);
    void updateTitle();
    void followWindowState();

    std::shared_ptr<spreadsheet::Application> app_;
    QTabWidget* pages_;
    std::function<QString()> askSaveFileName_;
    bool updating_ = false;  // set while the window follows the model, so no user action is reported
    // Cell changes not yet shown, by sheet: the rectangle covering them.
    std::unordered_map<const spreadsheet::Worksheet*, spreadsheet::CellRect> pending_;
    QTimer pendingTimer_;
    QElapsedTimer sinceShown_;
};

}  // namespace tabulix::ui
