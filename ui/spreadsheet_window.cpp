#include "ui/spreadsheet_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <stdexcept>

#include "automation/automation_error.h"
#include "framework/ui_services.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/chart_sheet.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"
#include "ui/chart_sheet_view.h"
#include "ui/workbook_page.h"
#include "ui/worksheet_view.h"

namespace tabulix::ui {

namespace {

constexpr std::int32_t kMaximized = -4137;
constexpr std::int32_t kMinimized = -4140;

// While the window shows a long run of automation writes, it redraws at most this often.
constexpr int kLiveRedrawMs = 250;

void showError(const std::exception& e) {
    framework::CurrentUi().MessageDlg(e.what(), "", framework::TMsgDlgType::mtError, framework::mbOKOnly);
}

spreadsheet::CellRect covering(const spreadsheet::CellRect& a, const spreadsheet::CellRect& b) {
    return {{std::min(a.first.row, b.first.row), std::min(a.first.column, b.first.column)},
            {std::max(a.last.row, b.last.row), std::max(a.last.column, b.last.column)}};
}

}  // namespace

SpreadsheetWindow::SpreadsheetWindow(std::shared_ptr<spreadsheet::Application> app, QWidget* parent)
    : QMainWindow(parent), app_(std::move(app)) {
    setObjectName(QStringLiteral("spreadsheetWindow"));
    resize(1100, 720);
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("workbookPages"));
    pages_->setTabsClosable(true);
    pages_->setDocumentMode(true);
    pages_->setMovable(false);
    setCentralWidget(pages_);
    buildMenus();
    statusBar()->showMessage(QStringLiteral("Listo"));

    askSaveFileName_ = [this] {
        const auto book = app_->activeWorkbook();
        QString suggested = book ? QString::fromStdString(book->name()) : QString();
        if (!suggested.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) suggested += QStringLiteral(".xlsx");
        return QFileDialog::getSaveFileName(this, QStringLiteral("Guardar como"), suggested,
                                            QStringLiteral("Libro de Excel (*.xlsx)"));
    };

    pendingTimer_.setSingleShot(true);
    pendingTimer_.setInterval(0);
    connect(&pendingTimer_, &QTimer::timeout, this, [this] { applyPendingChanges(); });
    sinceShown_.start();

    for (const auto& book : app_->workbooks()) addPage(book);
    connect(pages_, &QTabWidget::currentChanged, this, [this](int index) { pageSelected(index); });
    connect(pages_, &QTabWidget::tabCloseRequested, this, [this](int index) { pageCloseRequested(index); });
    app_->addObserver(*this);
    showActiveWorkbook();
    followWindowState();
}

SpreadsheetWindow::~SpreadsheetWindow() { app_->removeObserver(*this); }

void SpreadsheetWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Archivo"));
    QAction* saveAs = file->addAction(QStringLiteral("Guardar &como…"));
    saveAs->setObjectName(QStringLiteral("saveAsAction"));
    saveAs->setShortcut(QKeySequence::SaveAs);
    connect(saveAs, &QAction::triggered, this, [this] { saveAsInteractively(); });
    QAction* closeBook = file->addAction(QStringLiteral("Ce&rrar libro"));
    closeBook->setObjectName(QStringLiteral("closeWorkbookAction"));
    closeBook->setShortcut(QKeySequence::Close);
    connect(closeBook, &QAction::triggered, this, [this] { pageCloseRequested(pages_->currentIndex()); });
    file->addSeparator();
    QAction* closeWindow = file->addAction(QStringLiteral("&Salir"));
    connect(closeWindow, &QAction::triggered, this, &QWidget::close);
}

WorkbookPage* SpreadsheetWindow::page(int pageIndex) const {
    return qobject_cast<WorkbookPage*>(pages_->widget(pageIndex));
}

WorkbookPage* SpreadsheetWindow::pageOf(const spreadsheet::Workbook& book) const {
    for (int i = 0; i < pages_->count(); ++i)
        if (page(i)->workbook().get() == &book) return page(i);
    return nullptr;
}

QTabBar* SpreadsheetWindow::sheetTabs(int pageIndex) const {
    WorkbookPage* p = page(pageIndex);
    return p ? p->sheetTabs() : nullptr;
}

QWidget* SpreadsheetWindow::activeSheetView() const {
    WorkbookPage* p = page(pages_->currentIndex());
    return p ? p->currentView() : nullptr;
}

void SpreadsheetWindow::addPage(const std::shared_ptr<spreadsheet::Workbook>& book) {
    updating_ = true;
    auto* p = new WorkbookPage(book, pages_);
    pages_->addTab(p, QString::fromStdString(book->name()));
    updating_ = false;
}

void SpreadsheetWindow::showActiveWorkbook() {
    const auto active = app_->activeWorkbook();
    if (active)
        if (WorkbookPage* p = pageOf(*active)) {
            updating_ = true;
            pages_->setCurrentWidget(p);
            updating_ = false;
        }
    updateTitle();
}

void SpreadsheetWindow::updateTitle() {
    const auto active = app_->activeWorkbook();
    setWindowTitle(active ? QStringLiteral("%1 - Tabulix").arg(QString::fromStdString(active->name()))
                          : QStringLiteral("Tabulix"));
}

void SpreadsheetWindow::pageSelected(int index) {
    if (updating_) return;
    WorkbookPage* p = page(index);
    if (!p) return;
    try {
        p->workbook()->activate();
    } catch (const std::exception& e) {
        showError(e);
    }
    // The model decides: a handler may have activated another workbook.
    showActiveWorkbook();
}

void SpreadsheetWindow::pageCloseRequested(int index) {
    WorkbookPage* p = page(index);
    if (!p) return;
    const auto book = p->workbook();
    try {
        if (!book->isClosed()) book->close();  // the page goes when the model reports the workbook removed
    } catch (const std::exception& e) {
        showError(e);
    }
}

void SpreadsheetWindow::saveActiveWorkbookAs(const QString& path) {
    const auto book = app_->activeWorkbook();
    if (!book) throw std::runtime_error("No hay ningún libro abierto que guardar");
    book->saveAs(path.toStdString());
}

void SpreadsheetWindow::setSaveFileNameAsker(std::function<QString()> asker) { askSaveFileName_ = std::move(asker); }

void SpreadsheetWindow::saveAsInteractively() {
    if (!app_->activeWorkbook()) return;
    QString path = askSaveFileName_ ? askSaveFileName_() : QString();
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) path += QStringLiteral(".xlsx");
    try {
        framework::ScopedCursor hourglass;
        saveActiveWorkbookAs(path);
        statusBar()->showMessage(QStringLiteral("Guardado en %1").arg(path), 5000);
    } catch (const std::exception& e) {
        showError(e);
    }
}

void SpreadsheetWindow::closeEvent(QCloseEvent* event) {
    // Closing the window hides the application, as setting Visible to False does; the
    // workbooks stay open for automation.
    event->accept();
    app_->setVisible(false);
}

void SpreadsheetWindow::followWindowState() {
    if (!app_->visible()) {
        hide();
        return;
    }
    switch (app_->windowState()) {
        case kMaximized: showMaximized(); break;
        case kMinimized: showMinimized(); break;
        default: showNormal(); break;
    }
}

void SpreadsheetWindow::applyPendingChanges() {
    pendingTimer_.stop();
    if (pending_.empty()) return;
    const auto changes = std::exchange(pending_, {});
    for (int i = 0; i < pages_->count(); ++i)
        for (const auto& [sheet, rect] : changes) page(i)->cellsChanged(sheet, rect);
    sinceShown_.restart();
}

// --- Following the model ---

void SpreadsheetWindow::windowChanged(spreadsheet::Application&) { followWindowState(); }

void SpreadsheetWindow::workbookAdded(spreadsheet::Workbook& book) {
    addPage(std::static_pointer_cast<spreadsheet::Workbook>(book.shared_from_this()));
}

void SpreadsheetWindow::workbookRemoved(spreadsheet::Workbook& book) {
    WorkbookPage* p = pageOf(book);
    if (!p) return;
    updating_ = true;
    pages_->removeTab(pages_->indexOf(p));
    updating_ = false;
    // Deleted later: the removal may be reported from within one of the page's own slots.
    p->hide();
    p->deleteLater();
    updateTitle();
}

void SpreadsheetWindow::workbookActivated(spreadsheet::Workbook& book) {
    if (WorkbookPage* p = pageOf(book)) {
        updating_ = true;
        pages_->setCurrentWidget(p);
        updating_ = false;
    }
    updateTitle();
}

void SpreadsheetWindow::workbookRenamed(spreadsheet::Workbook& book) {
    if (WorkbookPage* p = pageOf(book)) pages_->setTabText(pages_->indexOf(p), QString::fromStdString(book.name()));
    updateTitle();
}

void SpreadsheetWindow::sheetsChanged(spreadsheet::Workbook& book) {
    applyPendingChanges();
    if (WorkbookPage* p = pageOf(book)) p->sheetsChanged();
}

void SpreadsheetWindow::activeSheetChanged(spreadsheet::Workbook& book) {
    if (WorkbookPage* p = pageOf(book)) p->showActiveSheet();
}

void SpreadsheetWindow::cellsChanged(spreadsheet::Worksheet& sheet, const spreadsheet::CellRect& rect) {
    // Writes come one cell at a time during a transfer: they are gathered and shown together.
    auto [it, added] = pending_.try_emplace(&sheet, rect);
    if (!added) it->second = covering(it->second, rect);
    if (!pendingTimer_.isActive()) pendingTimer_.start();
    // A user watching a long transfer sees it grow, without the event loop running.
    if (isVisible() && sinceShown_.elapsed() >= kLiveRedrawMs) {
        applyPendingChanges();
        if (QWidget* view = activeSheetView()) view->repaint();
    }
}

void SpreadsheetWindow::layoutChanged(spreadsheet::Worksheet& sheet) {
    applyPendingChanges();
    if (sheet.isAttached())
        if (WorkbookPage* p = pageOf(sheet.workbook())) p->layoutChanged(sheet);
}

void SpreadsheetWindow::chartChanged(spreadsheet::ChartSheet& sheet) {
    if (sheet.isAttached())
        if (WorkbookPage* p = pageOf(sheet.workbook())) p->chartChanged(sheet);
}

}  // namespace tabulix::ui
