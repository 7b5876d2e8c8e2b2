#include "ui/worksheet_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QFontMetrics>
#include <QVBoxLayout>
#include <cmath>
#include <map>

#include "spreadsheet/measure/column_width.h"
#include "spreadsheet/measure/text_measurer.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"
#include "ui/cell_painter.h"
#include "ui/worksheet_grid.h"
#include "ui/worksheet_model.h"

namespace tabulix::ui {

using spreadsheet::CellRect;

namespace {

// Row heights are kept in points; the screen shows them at 96 pixels per inch.
int pixelsOfPoints(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

// As the spreadsheet fits a row: its tallest line plus two pixels.
constexpr int kRowPaddingPixels = 2;

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

    connect(grid_, &WorksheetGrid::currentCellChanged, this, [this] { showCurrentCell(); });
    connect(formulaBar_, &QLineEdit::returnPressed, this, [this] { commitFormulaBar(); });
    layoutChanged();
    showCurrentCell();
}

const std::shared_ptr<spreadsheet::Worksheet>& WorksheetView::sheet() const { return model_->sheet(); }

void WorksheetView::showCurrentCell() {
    const int row = grid_->currentRow(), column = grid_->currentColumn();
    nameBox_->setText(QString::fromStdString(spreadsheet::cellName(WorksheetModel::addressOf(row, column))));
    formulaBar_->setText(model_->entryText(row, column));
}

void WorksheetView::commitFormulaBar() {
    if (model_->setData(model_->index(grid_->currentRow(), grid_->currentColumn()), formulaBar_->text(), Qt::EditRole))
        grid_->setFocus();
}

int WorksheetView::drawnRowPixels(std::span<const spreadsheet::Cell> cells, int sheetPixels) const {
    int tallest = sheetPixels;
    const spreadsheet::Workbook& book = sheet()->workbook();
    std::uint32_t lastStyle = UINT32_MAX;  // neighbouring cells mostly share their style
    for (const spreadsheet::Cell& cell : cells) {
        if (cell.style == lastStyle) continue;
        lastStyle = cell.style;
        auto it = drawnLinePixels_.find(cell.style);
        if (it == drawnLinePixels_.end()) {
            const QFont font = qtFontOf(book.styles().style(cell.style).font, grid_->viewport()->logicalDpiY());
            it = drawnLinePixels_.emplace(cell.style, QFontMetrics(font).height() + kRowPaddingPixels).first;
        }
        tallest = std::max(tallest, it->second);
    }
    return tallest;
}

int WorksheetView::rowHeightFor(std::uint32_t row) const {
    if (!model_->isAttached()) return defaultRowHeight_;
    const int set = pixelsOfPoints(sheet()->rowHeight(row));
    if (customRows_.contains(row)) return set;
    return drawnRowPixels(sheet()->cells().row(row), std::max(set, defaultRowHeight_));
}

void WorksheetView::cellsChanged(const CellRect& rect) {
    model_->cellsChanged(rect);
    // A larger font may have been given to some of the rows; over many rows one scan of the
    // sheet's heights costs less than asking row by row.
    if (rect.rowCount() > 100000) {
        layoutChanged();
    } else {
        for (std::uint32_t r = rect.first.row; r <= rect.last.row; ++r)
            grid_->setRowHeight(static_cast<int>(r) - 1, rowHeightFor(r));
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
    const spreadsheet::Cell defaultCell{};
    defaultRowHeight_ = drawnRowPixels({&defaultCell, 1}, pixelsOfPoints(ws.standardRowHeight()));

    const double digit = maxDigitWidth(ws);
    std::vector<std::pair<int, int>> widths;
    for (const auto& [column, width] : ws.columnWidths())
        widths.emplace_back(static_cast<int>(column) - 1, spreadsheet::columnPixelsForWidth(width, digit));
    grid_->setColumnWidths(spreadsheet::columnPixelsForWidth(spreadsheet::Worksheet::kDefaultColumnWidth, digit), widths);

    // Rows set by hand keep their height; every other row fits its fonts as drawn here.
    std::map<std::uint32_t, int> pixels;
    customRows_.clear();
    for (const auto& [row, height] : ws.rowHeights()) {
        pixels[row] = pixelsOfPoints(height.points);
        if (height.custom) customRows_.insert(row);
    }
    ws.cells().forEachRow([&](std::uint32_t row, std::span<const spreadsheet::Cell> cells) {
        if (customRows_.contains(row)) return;
        const auto it = pixels.find(row);
        const int drawn = drawnRowPixels(cells, std::max(defaultRowHeight_, it == pixels.end() ? 0 : it->second));
        if (drawn != defaultRowHeight_) pixels[row] = drawn;
        else if (it != pixels.end()) pixels.erase(it);
    });
    std::vector<std::pair<int, int>> heights;
    heights.reserve(pixels.size());
    for (const auto& [row, height] : pixels) heights.emplace_back(static_cast<int>(row) - 1, height);
    grid_->setRowHeights(defaultRowHeight_, heights);
    grid_->setMerges(ws.merges());

    // The grid freezes from the sheet's first row and column: what lies above and left of the
    // scrolling pane stays.
    const spreadsheet::Panes& panes = ws.panes();
    const spreadsheet::CellAddress scrolling = panes.scrollingCell();
    if (panes.frozen)
        grid_->setFrozen(panes.splitRows == 0 ? 0 : static_cast<int>(scrolling.row) - 1,
                         panes.splitColumns == 0 ? 0 : static_cast<int>(scrolling.column) - 1);
    else
        grid_->setFrozen(0, 0);
    std::optional<spreadsheet::CellRect> headings;
    if (const auto& filter = ws.autoFilter())
        headings = spreadsheet::CellRect{filter->first, {filter->first.row, filter->last.column}};
    grid_->setFilterButtons(headings);
}

}  // namespace tabulix::ui
