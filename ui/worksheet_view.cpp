#include "ui/worksheet_view.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>
#include <unordered_map>

#include "framework/ui_services.h"
#include "spreadsheet/application.h"
#include "spreadsheet/column_width.h"
#include "spreadsheet/text_measurer.h"
#include "spreadsheet/workbook.h"
#include "spreadsheet/worksheet.h"
#include "ui/cell_painter.h"
#include "ui/worksheet_grid.h"
#include "ui/worksheet_model.h"

namespace tabulix::ui {

using spreadsheet::CellRect;

namespace {

// Row heights are kept in points; the screen shows them at 96 pixels per inch.
int pixelsOfPoints(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

double maxDigitWidth(spreadsheet::Worksheet& sheet) {
    spreadsheet::Workbook& book = sheet.workbook();
    spreadsheet::Application* app = book.application();
    if (!app) return 7.0;
    const auto& font = book.styles().style(spreadsheet::StyleTable::kDefault).font;
    return app->textMeasurer().maxDigitWidthPixels({font.name, font.size, font.bold, font.italic});
}

}  // namespace

WorksheetView::WorksheetView(std::shared_ptr<spreadsheet::Worksheet> sheet, QWidget* parent)
    : QWidget(parent), model_(new WorksheetModel(std::move(sheet), this)) {
    setObjectName(QStringLiteral("worksheetView"));
    nameBox_ = new QLabel(this);
    nameBox_->setObjectName(QStringLiteral("nameBox"));
    nameBox_->setMinimumWidth(80);
    nameBox_->setFrameShape(QFrame::StyledPanel);
    formulaBar_ = new QLineEdit(this);
    formulaBar_->setObjectName(QStringLiteral("formulaBar"));
    auto* fx = new QLabel(QStringLiteral("fx"), this);
    fx->setStyleSheet(QStringLiteral("font-style: italic; color: #555;"));

    grid_ = new WorksheetGrid(*model_, this);
    grid_->setObjectName(QStringLiteral("worksheetGrid"));
    grid_->setModel(model_);
    grid_->setItemDelegate(new CellDelegate(*model_, grid_));
    grid_->setShowGrid(false);  // the delegate draws the grid under the cells' borders
    grid_->setWordWrap(false);
    grid_->setCornerButtonEnabled(true);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    grid_->horizontalHeader()->setMinimumSectionSize(0);
    grid_->verticalHeader()->setMinimumSectionSize(0);
    grid_->horizontalHeader()->setHighlightSections(true);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->setStyleSheet(QStringLiteral("QTableView { background: white; selection-background-color: transparent; }"
                                        "QHeaderView::section { background: #F3F3F3; color: #333;"
                                        " border: 0; border-right: 1px solid #D4D4D4;"
                                        " border-bottom: 1px solid #D4D4D4; padding: 0 4px; }"));

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 2);
    bar->addWidget(nameBox_);
    bar->addWidget(fx);
    bar->addWidget(formulaBar_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(grid_, 1);

    connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { showCurrentCell(); });
    connect(formulaBar_, &QLineEdit::returnPressed, this, [this] { commitFormulaBar(); });
    layoutChanged();
    grid_->setCurrentIndex(model_->index(0, 0));
    showCurrentCell();
}

const std::shared_ptr<spreadsheet::Worksheet>& WorksheetView::sheet() const { return model_->sheet(); }

void WorksheetView::showCurrentCell() {
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid()) {
        nameBox_->clear();
        formulaBar_->clear();
        return;
    }
    nameBox_->setText(
        QString::fromStdString(spreadsheet::cellName(WorksheetModel::addressOf(current.row(), current.column()))));
    formulaBar_->setText(model_->entryText(current.row(), current.column()));
}

void WorksheetView::commitFormulaBar() {
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid()) return;
    if (model_->setData(current, formulaBar_->text(), Qt::EditRole)) grid_->setFocus();
}

int WorksheetView::rowHeightFor(std::uint32_t row) const {
    if (!model_->isAttached()) return defaultRowHeight_;
    return pixelsOfPoints(sheet()->rowHeight(row));
}

void WorksheetView::cellsChanged(const CellRect& rect) {
    const int rowsBefore = model_->rowCount();
    const int columnsBefore = model_->columnCount();
    model_->cellsChanged(rect);
    if (model_->rowCount() != rowsBefore || model_->columnCount() != columnsBefore) {
        layoutChanged();
    } else if (rect.rowCount() > 100000) {
        layoutChanged();
    } else {
        // A larger font may have been given to some of the rows.
        const std::uint32_t last = std::min<std::uint32_t>(rect.last.row, static_cast<std::uint32_t>(rowsBefore));
        for (std::uint32_t r = rect.first.row; r <= last; ++r) {
            const int wanted = rowHeightFor(r);
            if (grid_->rowHeight(static_cast<int>(r) - 1) != wanted) grid_->setRowHeight(static_cast<int>(r) - 1, wanted);
        }
    }
    repaintCells();
}

void WorksheetView::repaintCells() {
    grid_->viewport()->update();
    if (!formulaBar_->hasFocus()) showCurrentCell();
}

void WorksheetView::layoutChanged() {
    if (!model_->isAttached()) return;
    spreadsheet::Worksheet& ws = *sheet();
    defaultRowHeight_ = pixelsOfPoints(ws.standardRowHeight());

    QHeaderView* columns = grid_->horizontalHeader();
    const double digit = maxDigitWidth(ws);
    const int defaultColumn = spreadsheet::columnPixelsForWidth(spreadsheet::Worksheet::kDefaultColumnWidth, digit);
    columns->setDefaultSectionSize(defaultColumn);
    for (int c = 0; c < model_->columnCount(); ++c) {
        const int wanted = spreadsheet::columnPixelsForWidth(ws.columnWidth(static_cast<std::uint32_t>(c) + 1), digit);
        if (columns->sectionSize(c) != wanted) columns->resizeSection(c, wanted);
    }

    QHeaderView* rows = grid_->verticalHeader();
    rows->setDefaultSectionSize(defaultRowHeight_);
    std::vector<int> other;
    for (int r : otherRows_)
        if (r < model_->rowCount()) rows->resizeSection(r, defaultRowHeight_);
    for (const auto& [row, height] : ws.rowHeights()) {
        if (row > static_cast<std::uint32_t>(model_->rowCount())) break;
        other.push_back(static_cast<int>(row) - 1);
        rows->resizeSection(other.back(), pixelsOfPoints(height.points));
    }
    otherRows_ = std::move(other);

    grid_->clearSpans();
    for (const CellRect& m : ws.merges()) {
        if (m.first.row > static_cast<std::uint32_t>(model_->rowCount()) ||
            m.first.column > static_cast<std::uint32_t>(model_->columnCount()))
            continue;
        grid_->setSpan(static_cast<int>(m.first.row) - 1, static_cast<int>(m.first.column) - 1,
                       static_cast<int>(m.rowCount()), static_cast<int>(m.columnCount()));
    }
    grid_->viewport()->update();
}

}  // namespace tabulix::ui
