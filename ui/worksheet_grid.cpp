#include "ui/worksheet_grid.h"

#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>
#include <limits>

#include "ui/cell_painter.h"
#include "ui/worksheet_model.h"

namespace tabulix::ui {

namespace {

// Far enough outside the viewport for any drawing, near enough for QRect's arithmetic.
constexpr std::int64_t kFar = std::int64_t{1} << 28;

int clampedOffset(std::int64_t offset) { return static_cast<int>(std::clamp(offset, -kFar, kFar)); }

}  // namespace

WorksheetGrid::WorksheetGrid(WorksheetModel& model, QWidget* parent)
    : QAbstractScrollArea(parent), model_(model) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setFocusProxy(this);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(1);
    rows_ = AxisLayout(model_.rowCount(), 20);
    columns_ = AxisLayout(model_.columnCount(), 64);
    connect(&model_, &QAbstractItemModel::rowsInserted, this, [this] { modelExtentChanged(); });
    connect(&model_, &QAbstractItemModel::columnsInserted, this, [this] { modelExtentChanged(); });
    connect(&model_, &QAbstractItemModel::modelReset, this, [this] { modelExtentChanged(); });
    connect(&model_, &QAbstractItemModel::dataChanged, viewport(), [this] { viewport()->update(); });
    updateHeaderSizes();
    updateScrollBars();
}

// --- Geometry ---

QString WorksheetGrid::rowLabel(int row) { return QString::number(row + 1); }

QString WorksheetGrid::columnLabel(int column) {
    return QString::fromStdString(spreadsheet::columnLetters(static_cast<std::uint32_t>(column) + 1));
}

void WorksheetGrid::modelExtentChanged() {
    rows_.setCount(model_.rowCount());
    columns_.setCount(model_.columnCount());
    updateHeaderSizes();
    sizesChanged();
}

void WorksheetGrid::updateHeaderSizes() {
    const QFontMetrics metrics(font());
    headerHeight_ = metrics.height() + 6;
    // Wide enough for the largest row number the sheet can show, so it does not change while scrolling.
    headerWidth_ = std::max(metrics.horizontalAdvance(rowLabel(std::max(0, rows_.count() - 1))) + 14, 36);
}

void WorksheetGrid::updateScrollBars() {
    // The bars scroll the rows and columns after the frozen ones, in what room those leave.
    const int areaHeight = viewport()->height() - headerHeight_ - frozenHeight();
    const int areaWidth = viewport()->width() - headerWidth_ - frozenWidth();
    verticalScrollBar()->setRange(frozenRows_, std::max(frozenRows_, rows_.lastFirstIndex(std::max(areaHeight, 1))));
    horizontalScrollBar()->setRange(frozenColumns_,
                                    std::max(frozenColumns_, columns_.lastFirstIndex(std::max(areaWidth, 1))));
    verticalScrollBar()->setPageStep(rowsPerPage());
    horizontalScrollBar()->setPageStep(std::max(1, lastVisibleColumn() - firstVisibleColumn()));
}

void WorksheetGrid::sizesChanged() {
    updateScrollBars();
    placeEditor();
    viewport()->update();
}

void WorksheetGrid::setRowHeight(int row, int height) {
    if (rows_.size(row) == height) return;
    rows_.setSize(row, height);
    sizesChanged();
}

void WorksheetGrid::setRowHeights(int defaultHeight, const std::vector<std::pair<int, int>>& others) {
    rows_.reset(defaultHeight);
    for (const auto& [row, height] : others) rows_.setSize(row, height);
    sizesChanged();
}

void WorksheetGrid::setColumnWidths(int defaultWidth, const std::vector<std::pair<int, int>>& others) {
    columns_.reset(defaultWidth);
    for (const auto& [column, width] : others) columns_.setSize(column, width);
    sizesChanged();
}

void WorksheetGrid::setMerges(std::vector<spreadsheet::CellRect> merges) {
    merges_.clear();
    for (const spreadsheet::CellRect& m : merges)
        merges_.push_back({static_cast<int>(m.first.row) - 1, static_cast<int>(m.first.column) - 1,
                           static_cast<int>(m.last.row) - 1, static_cast<int>(m.last.column) - 1});
    // The current cell of a merged area is its top-left cell; the view stays where it is.
    if (const Area* a = mergedAreaAt(currentRow_, currentColumn_);
        a && (a->top != currentRow_ || a->left != currentColumn_)) {
        currentRow_ = a->top;
        currentColumn_ = a->left;
        emit currentCellChanged(currentRow_, currentColumn_);
    }
    selectTo(endRow_, endColumn_);
    viewport()->update();
}

void WorksheetGrid::setFrozen(int rows, int columns) {
    // At least one row and one column keep scrolling.
    rows = std::clamp(rows, 0, std::max(0, rows_.count() - 1));
    columns = std::clamp(columns, 0, std::max(0, columns_.count() - 1));
    if (rows == frozenRows_ && columns == frozenColumns_) return;
    frozenRows_ = rows;
    frozenColumns_ = columns;
    sizesChanged();
}

void WorksheetGrid::setFilterButtons(std::optional<spreadsheet::CellRect> headings) {
    if (headings)
        filterButtons_ = Area{static_cast<int>(headings->first.row) - 1, static_cast<int>(headings->first.column) - 1,
                              static_cast<int>(headings->first.row) - 1, static_cast<int>(headings->last.column) - 1};
    else
        filterButtons_.reset();
    viewport()->update();
}

QRect WorksheetGrid::filterButtonRect(int row, int column) const {
    if (!filterButtons_ || !filterButtons_->contains(row, column)) return {};
    const bool rowShown = row < frozenRows_ || (row >= firstVisibleRow() && row <= lastVisibleRow());
    const bool columnShown =
        column < frozenColumns_ || (column >= firstVisibleColumn() && column <= lastVisibleColumn());
    if (!rowShown || !columnShown) return {};
    const QRect cell = areaRect(row, column, row, column).translated(headerWidth_, headerHeight_);
    const int side = std::clamp(cell.height() - 4, 9, 17);
    return QRect(cell.right() - side - 1, cell.bottom() - side - 1, side, side);
}

std::int64_t WorksheetGrid::rowOffset(int row) const {
    if (row < frozenRows_) return rows_.position(row);
    return frozenHeight() + rows_.position(row) - rows_.position(firstVisibleRow());
}

std::int64_t WorksheetGrid::columnOffset(int column) const {
    if (column < frozenColumns_) return columns_.position(column);
    return frozenWidth() + columns_.position(column) - columns_.position(firstVisibleColumn());
}

std::int64_t WorksheetGrid::rowPositionAt(int y) const {
    y = std::max(0, y);
    if (y < frozenHeight()) return y;
    return rows_.position(firstVisibleRow()) + y - frozenHeight();
}

std::int64_t WorksheetGrid::columnPositionAt(int x) const {
    x = std::max(0, x);
    if (x < frozenWidth()) return x;
    return columns_.position(firstVisibleColumn()) + x - frozenWidth();
}

std::vector<WorksheetGrid::Pane> WorksheetGrid::panes() const {
    const int height = viewport()->height() - headerHeight_, width = viewport()->width() - headerWidth_;
    const int frozenH = std::min(frozenHeight(), height), frozenW = std::min(frozenWidth(), width);
    struct Span {
        int first, last, offset, extent;
    };
    std::vector<Span> rowSpans, columnSpans;
    if (frozenRows_ > 0) rowSpans.push_back({0, frozenRows_ - 1, 0, frozenH});
    rowSpans.push_back({firstVisibleRow(), lastVisibleRow(), frozenH, height - frozenH});
    if (frozenColumns_ > 0) columnSpans.push_back({0, frozenColumns_ - 1, 0, frozenW});
    columnSpans.push_back({firstVisibleColumn(), lastVisibleColumn(), frozenW, width - frozenW});
    std::vector<Pane> result;
    for (const Span& r : rowSpans)
        for (const Span& c : columnSpans)
            if (r.extent > 0 && c.extent > 0)
                result.push_back({r.first, r.last, c.first, c.last, QRect(c.offset, r.offset, c.extent, r.extent)});
    return result;
}

const WorksheetGrid::Area* WorksheetGrid::mergedAreaAt(int row, int column) const {
    for (const Area& a : merges_)
        if (a.contains(row, column)) return &a;
    return nullptr;
}

int WorksheetGrid::firstVisibleRow() const {
    return std::min(std::max(verticalScrollBar()->value(), frozenRows_), std::max(0, rows_.count() - 1));
}

int WorksheetGrid::firstVisibleColumn() const {
    return std::min(std::max(horizontalScrollBar()->value(), frozenColumns_), std::max(0, columns_.count() - 1));
}

int WorksheetGrid::lastVisibleRow() const {
    return rows_.indexAt(rows_.position(firstVisibleRow()) +
                         std::max(0, viewport()->height() - headerHeight_ - frozenHeight() - 1));
}

int WorksheetGrid::lastVisibleColumn() const {
    return columns_.indexAt(columns_.position(firstVisibleColumn()) +
                            std::max(0, viewport()->width() - headerWidth_ - frozenWidth() - 1));
}

int WorksheetGrid::rowsPerPage() const { return std::max(1, lastVisibleRow() - firstVisibleRow()); }

QRect WorksheetGrid::areaRect(int top, int left, int bottom, int right) const {
    const std::int64_t y0 = rowOffset(top);
    const std::int64_t y1 = rowOffset(bottom) + rows_.size(bottom);
    const std::int64_t x0 = columnOffset(left);
    const std::int64_t x1 = columnOffset(right) + columns_.size(right);
    return QRect(QPoint(clampedOffset(x0), clampedOffset(y0)), QPoint(clampedOffset(x1) - 1, clampedOffset(y1) - 1));
}

QRect WorksheetGrid::cellRect(int row, int column) const {
    const Area* a = mergedAreaAt(row, column);
    const QRect r = a ? areaRect(a->top, a->left, a->bottom, a->right) : areaRect(row, column, row, column);
    return r.translated(headerWidth_, headerHeight_);
}

int WorksheetGrid::rowAtY(int y) const { return rows_.indexAt(rowPositionAt(y - headerHeight_)); }

int WorksheetGrid::columnAtX(int x) const { return columns_.indexAt(columnPositionAt(x - headerWidth_)); }

WorksheetGrid::Hit WorksheetGrid::hitAt(QPoint point, int& row, int& column) const {
    row = column = -1;
    if (!viewport()->rect().contains(point) || rows_.count() == 0 || columns_.count() == 0) return Hit::Outside;
    const bool overColumns = point.y() < headerHeight_, overRows = point.x() < headerWidth_;
    if (overColumns && overRows) return Hit::Corner;
    // Past the sheet's last row or column there is nothing.
    const std::int64_t y = rowPositionAt(point.y() - headerHeight_);
    const std::int64_t x = columnPositionAt(point.x() - headerWidth_);
    if ((!overColumns && y >= rows_.total()) || (!overRows && x >= columns_.total())) return Hit::Outside;
    row = rowAtY(point.y());
    column = columnAtX(point.x());
    if (overColumns) return Hit::ColumnHeader;
    if (overRows) return Hit::RowHeader;
    return Hit::Cell;
}

std::pair<int, int> WorksheetGrid::cellAt(QPoint point) const {
    int row, column;
    if (hitAt(point, row, column) != Hit::Cell) return {-1, -1};
    if (const Area* a = mergedAreaAt(row, column)) return {a->top, a->left};
    return {row, column};
}

void WorksheetGrid::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) modelExtentChanged();
}

void WorksheetGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    placeEditor();
}

void WorksheetGrid::scrollContentsBy(int, int) {
    placeEditor();
    viewport()->update();
}

void WorksheetGrid::scrollToTopLeft(int row, int column) {
    verticalScrollBar()->setValue(row);
    horizontalScrollBar()->setValue(column);
}

void WorksheetGrid::ensureVisible(int row, int column) {
    const int areaHeight = viewport()->height() - headerHeight_ - frozenHeight();
    const int areaWidth = viewport()->width() - headerWidth_ - frozenWidth();
    // Scrolls one axis so that [index, index] is inside the shown extent, moving as little as it
    // can; a frozen row or column is always shown.
    const auto follow = [](QScrollBar* bar, const AxisLayout& axis, int index, int extent) {
        if (extent <= 0 || index < bar->minimum()) return;
        if (index < bar->value()) {
            bar->setValue(index);
            return;
        }
        const std::int64_t end = axis.position(index + 1);
        if (end - axis.position(bar->value()) <= extent) return;
        int first = axis.indexAt(end - extent);
        if (axis.position(first) < end - extent) ++first;
        bar->setValue(std::min(first, index));
    };
    follow(verticalScrollBar(), rows_, row, areaHeight);
    follow(horizontalScrollBar(), columns_, column, areaWidth);
}

// --- Selection ---

spreadsheet::CellRect WorksheetGrid::selection() const {
    return {{static_cast<std::uint32_t>(selection_.top) + 1, static_cast<std::uint32_t>(selection_.left) + 1},
            {static_cast<std::uint32_t>(selection_.bottom) + 1, static_cast<std::uint32_t>(selection_.right) + 1}};
}

void WorksheetGrid::setCurrentCell(int row, int column) {
    if (editing_ && !commitEditor()) return;
    moveTo(row, column, false);
}

void WorksheetGrid::moveTo(int row, int column, bool extend) {
    if (rows_.count() == 0 || columns_.count() == 0) return;
    row = std::clamp(row, 0, rows_.count() - 1);
    column = std::clamp(column, 0, columns_.count() - 1);
    if (extend) {
        selectTo(row, column);
        ensureVisible(row, column);
        viewport()->update();
        return;
    }
    if (const Area* a = mergedAreaAt(row, column)) {
        row = a->top;
        column = a->left;
    }
    const bool moved = row != currentRow_ || column != currentColumn_;
    currentRow_ = row;
    currentColumn_ = column;
    selectTo(row, column);
    ensureVisible(row, column);
    placeEditor();
    viewport()->update();
    if (moved) emit currentCellChanged(row, column);
}

void WorksheetGrid::selectTo(int row, int column) {
    endRow_ = row;
    endColumn_ = column;
    Area s{std::min(row, currentRow_), std::min(column, currentColumn_), std::max(row, currentRow_),
           std::max(column, currentColumn_)};
    // A merged area is selected whole: grow until no merged area sticks out.
    for (bool grown = true; grown;) {
        grown = false;
        for (const Area& a : merges_) {
            if (a.bottom < s.top || a.top > s.bottom || a.right < s.left || a.left > s.right) continue;
            const Area u{std::min(s.top, a.top), std::min(s.left, a.left), std::max(s.bottom, a.bottom),
                         std::max(s.right, a.right)};
            if (u.top != s.top || u.left != s.left || u.bottom != s.bottom || u.right != s.right) {
                s = u;
                grown = true;
            }
        }
    }
    selection_ = s;
}

std::pair<int, int> WorksheetGrid::dataEdge(int row, int column, int rowStep, int columnStep) const {
    const auto inside = [&](int r, int c) { return r >= 0 && c >= 0 && r < rows_.count() && c < columns_.count(); };
    if (!inside(row + rowStep, column + columnStep)) return {row, column};
    int r = row + rowStep, c = column + columnStep;
    if (model_.hasContent(row, column) && model_.hasContent(r, c)) {
        // Along the filled block to its last cell.
        while (inside(r + rowStep, c + columnStep) && model_.hasContent(r + rowStep, c + columnStep)) {
            r += rowStep;
            c += columnStep;
        }
        return {r, c};
    }
    // Across the empty cells to the next filled one, or to the edge.
    while (!model_.hasContent(r, c) && inside(r + rowStep, c + columnStep)) {
        r += rowStep;
        c += columnStep;
    }
    return {r, c};
}

// --- Mouse and keyboard ---

void WorksheetGrid::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton) return;
    if (editing_ && !commitEditor()) return;
    int row, column;
    dragging_ = hitAt(event->position().toPoint(), row, column);
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    switch (dragging_) {
        case Hit::Cell:
            moveTo(row, column, extend);
            break;
        case Hit::RowHeader:
            if (!extend) moveTo(row, firstVisibleColumn(), false);
            selectTo(row, columns_.count() - 1);
            selection_.left = 0;
            break;
        case Hit::ColumnHeader:
            if (!extend) moveTo(firstVisibleRow(), column, false);
            selectTo(rows_.count() - 1, column);
            selection_.top = 0;
            break;
        case Hit::Corner:
            moveTo(firstVisibleRow(), firstVisibleColumn(), false);
            selection_ = {0, 0, rows_.count() - 1, columns_.count() - 1};
            break;
        case Hit::Outside: break;
    }
    viewport()->update();
}

void WorksheetGrid::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const QPoint point = event->position().toPoint();
    switch (dragging_) {
        case Hit::Cell: moveTo(rowAtY(point.y()), columnAtX(point.x()), true); break;
        case Hit::RowHeader:
            selectTo(rowAtY(point.y()), columns_.count() - 1);
            selection_.left = 0;
            viewport()->update();
            break;
        case Hit::ColumnHeader:
            selectTo(rows_.count() - 1, columnAtX(point.x()));
            selection_.top = 0;
            viewport()->update();
            break;
        default: break;
    }
}

void WorksheetGrid::mouseReleaseEvent(QMouseEvent*) { dragging_ = Hit::Outside; }

void WorksheetGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    int row, column;
    if (event->button() != Qt::LeftButton || hitAt(event->position().toPoint(), row, column) != Hit::Cell) return;
    moveTo(row, column, false);
    openEditor(model_.entryText(currentRow_, currentColumn_));
}

void WorksheetGrid::keyPressEvent(QKeyEvent* event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    // Arrows move from the current cell, or with Shift the selection's other corner; a merged
    // area is left from its far side.
    const int row = shift ? endRow_ : currentRow_, column = shift ? endColumn_ : currentColumn_;
    const Area* area = shift ? nullptr : mergedAreaAt(row, column);
    const int below = area ? area->bottom + 1 : row + 1, right = area ? area->right + 1 : column + 1;
    const int above = area ? area->top - 1 : row - 1, left = area ? area->left - 1 : column - 1;
    const auto step = [&](int rowStep, int columnStep) {
        if (control) {
            const auto [r, c] = dataEdge(row, column, rowStep, columnStep);
            moveTo(r, c, shift);
        } else {
            moveTo(rowStep > 0 ? below : rowStep < 0 ? above : row, columnStep > 0 ? right : columnStep < 0 ? left : column,
                   shift);
        }
    };
    switch (event->key()) {
        case Qt::Key_Up: step(-1, 0); return;
        case Qt::Key_Down: step(1, 0); return;
        case Qt::Key_Left: step(0, -1); return;
        case Qt::Key_Right: step(0, 1); return;
        case Qt::Key_PageDown:
        case Qt::Key_PageUp: {
            const int page = rowsPerPage() * (event->key() == Qt::Key_PageDown ? 1 : -1);
            verticalScrollBar()->setValue(firstVisibleRow() + page);
            moveTo(row + page, column, shift);
            return;
        }
        case Qt::Key_Home:
            // Ctrl+Home goes to the first cell past the frozen ones, and scrolls them to the top.
            if (control) moveTo(frozenRows_, frozenColumns_, shift);
            else moveTo(row, 0, shift);
            return;
        case Qt::Key_End:
            if (control) {
                const auto [lastRow, lastColumn] = model_.lastUsedCell();
                moveTo(lastRow, lastColumn, shift);
            }
            return;
        case Qt::Key_Tab: moveTo(currentRow_, right, false); return;
        case Qt::Key_Backtab: moveTo(currentRow_, currentColumn_ - 1, false); return;
        case Qt::Key_Return:
        case Qt::Key_Enter: moveTo(shift ? currentRow_ - 1 : below, currentColumn_, false); return;
        case Qt::Key_F2: openEditor(model_.entryText(currentRow_, currentColumn_)); return;
        case Qt::Key_Delete: model_.clearContents(selection()); return;
        default: break;
    }
    if (event->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(model_.shownText(selection()));
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        openEditor(text);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

bool WorksheetGrid::event(QEvent* event) {
    // Tab and Backtab move between cells here, not to the next widget.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

// --- The cell editor ---

QLineEdit* WorksheetGrid::editor() const { return editing_ ? editor_ : nullptr; }

void WorksheetGrid::openEditor(const QString& text) {
    if (!model_.isAttached() || rows_.count() == 0) return;
    if (!editor_) {
        editor_ = new QLineEdit(viewport());
        editor_->setObjectName(QStringLiteral("cellEditor"));
        editor_->setFrame(false);
        editor_->installEventFilter(this);
    }
    const CellLook look = model_.look(currentRow_, currentColumn_);
    if (look.style) editor_->setFont(qtFontOf(look.style->font, viewport()->logicalDpiY()));
    editor_->setText(text);
    editing_ = true;
    placeEditor();
    editor_->show();
    editor_->setFocus(Qt::OtherFocusReason);
}

void WorksheetGrid::placeEditor() {
    if (!editing_ || !editor_) return;
    const QRect cells(headerWidth_, headerHeight_, viewport()->width() - headerWidth_,
                      viewport()->height() - headerHeight_);
    QRect rect = cellRect(currentRow_, currentColumn_).adjusted(0, 0, -1, -1);
    rect.setWidth(std::max(rect.width(), 40));  // room to type into a narrow column
    editor_->setGeometry(rect.intersected(cells));
}

void WorksheetGrid::closeEditor() {
    editing_ = false;
    if (editor_) editor_->hide();
    setFocus(Qt::OtherFocusReason);
}

bool WorksheetGrid::commitEditor() {
    if (!editing_ || committing_) return true;
    committing_ = true;
    const QString text = editor_->text();
    closeEditor();
    const bool accepted = model_.setData(model_.index(currentRow_, currentColumn_), text, Qt::EditRole);
    committing_ = false;
    return accepted;
}

bool WorksheetGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched != editor_ || !editing_) return QAbstractScrollArea::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shift = key->modifiers() & Qt::ShiftModifier;
        switch (key->key()) {
            case Qt::Key_Escape: closeEditor(); return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_Tab:
            case Qt::Key_Backtab: {
                // A refused entry leaves the user on the cell.
                if (!commitEditor()) return true;
                const Area* a = mergedAreaAt(currentRow_, currentColumn_);
                const int below = a ? a->bottom + 1 : currentRow_ + 1, right = a ? a->right + 1 : currentColumn_ + 1;
                switch (key->key()) {
                    case Qt::Key_Up: moveTo(currentRow_ - 1, currentColumn_, false); break;
                    case Qt::Key_Tab: moveTo(currentRow_, right, false); break;
                    case Qt::Key_Backtab: moveTo(currentRow_, currentColumn_ - 1, false); break;
                    default: moveTo(shift ? currentRow_ - 1 : below, currentColumn_, false); break;
                }
                return true;
            }
            default: break;
        }
    } else if (event->type() == QEvent::FocusOut) {
        // Leaving the editor for another widget keeps what was typed, as the spreadsheet does.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) commitEditor();
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

}  // namespace tabulix::ui
