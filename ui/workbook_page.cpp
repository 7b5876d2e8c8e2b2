#include "ui/workbook_page.h"

#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

#include "automation/automation_error.h"
#include "framework/ui_services.h"
#include "spreadsheet/model/chart_sheet.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"
#include "ui/chart_sheet_view.h"
#include "ui/worksheet_view.h"

namespace tabulix::ui {

WorkbookPage::WorkbookPage(std::shared_ptr<spreadsheet::Workbook> book, QWidget* parent)
    : QWidget(parent), book_(std::move(book)) {
    setObjectName(QStringLiteral("workbookPage"));
    stack_ = new QStackedWidget(this);
    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("sheetTabs"));
    tabs_->setShape(QTabBar::RoundedSouth);
    tabs_->setExpanding(false);
    tabs_->setDrawBase(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(stack_, 1);
    layout->addWidget(tabs_);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int position) { tabClicked(position); });
    sheetsChanged();
}

QWidget* WorkbookPage::sheetView(int position) const {
    if (position < 0 || static_cast<std::size_t>(position) >= entries_.size()) return nullptr;
    return entries_[static_cast<std::size_t>(position)].view;
}

QWidget* WorkbookPage::viewOf(const spreadsheet::Sheet& sheet) const {
    for (const Entry& e : entries_)
        if (e.sheet.get() == &sheet) return e.view;
    return nullptr;
}

QWidget* WorkbookPage::currentView() const { return stack_->currentWidget(); }

void WorkbookPage::sheetsChanged() {
    updating_ = true;
    std::vector<Entry> entries;
    if (!book_->isClosed()) {
        for (const auto& sheet : book_->sheets()) {
            auto known = std::find_if(entries_.begin(), entries_.end(),
                                      [&](const Entry& e) { return e.sheet == sheet; });
            if (known != entries_.end()) {
                entries.push_back(*known);
                entries_.erase(known);
                continue;
            }
            QWidget* view;
            if (sheet->sheetType() == spreadsheet::SheetType::Worksheet)
                view = new WorksheetView(std::static_pointer_cast<spreadsheet::Worksheet>(sheet), stack_);
            else
                view = new ChartSheetView(std::static_pointer_cast<spreadsheet::ChartSheet>(sheet), stack_);
            stack_->addWidget(view);
            entries.push_back({sheet, view});
        }
    }
    for (const Entry& gone : entries_) {  // sheets no longer in the workbook
        stack_->removeWidget(gone.view);
        delete gone.view;
    }
    entries_ = std::move(entries);
    while (tabs_->count() > static_cast<int>(entries_.size())) tabs_->removeTab(tabs_->count() - 1);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const QString name = QString::fromStdString(entries_[i].sheet->name());
        if (static_cast<int>(i) < tabs_->count())
            tabs_->setTabText(static_cast<int>(i), name);
        else
            tabs_->addTab(name);
    }
    updating_ = false;
    showActiveSheet();
}

void WorkbookPage::showActiveSheet() {
    if (book_->isClosed()) return;
    const auto active = book_->activeSheet();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].sheet != active) continue;
        updating_ = true;
        tabs_->setCurrentIndex(static_cast<int>(i));
        stack_->setCurrentWidget(entries_[i].view);
        updating_ = false;
        if (auto* chart = qobject_cast<ChartSheetView*>(entries_[i].view)) chart->refresh();
        return;
    }
}

void WorkbookPage::tabClicked(int position) {
    if (updating_ || position < 0 || static_cast<std::size_t>(position) >= entries_.size()) return;
    try {
        entries_[static_cast<std::size_t>(position)].sheet->activate();
    } catch (const automation::AutomationError& e) {
        framework::CurrentUi().MessageDlg(e.what(), "", framework::TMsgDlgType::mtError, framework::mbOKOnly);
    }
    // The model decides: a handler may have activated yet another sheet.
    showActiveSheet();
}

void WorkbookPage::cellsChanged(const spreadsheet::Worksheet* sheet, const spreadsheet::CellRect& rect) {
    const auto changed = std::find_if(entries_.begin(), entries_.end(),
                                      [&](const Entry& e) { return e.sheet.get() == sheet; });
    if (changed == entries_.end()) return;
    if (auto* view = qobject_cast<WorksheetView*>(changed->view)) view->cellsChanged(rect);
    // Formulas on other sheets and charts may read the changed cells.
    for (const Entry& e : entries_) {
        if (e.sheet.get() == sheet) continue;
        if (auto* view = qobject_cast<WorksheetView*>(e.view)) {
            if (view->isVisible()) view->repaintCells();
        } else if (auto* chart = qobject_cast<ChartSheetView*>(e.view)) {
            if (chart->isVisible()) chart->refresh();
        }
    }
}

void WorkbookPage::layoutChanged(spreadsheet::Worksheet& sheet) {
    if (auto* view = qobject_cast<WorksheetView*>(viewOf(sheet))) view->layoutChanged();
}

void WorkbookPage::chartChanged(spreadsheet::ChartSheet& sheet) {
    if (auto* view = qobject_cast<ChartSheetView*>(viewOf(sheet))) view->refresh();
}

}  // namespace tabulix::ui
