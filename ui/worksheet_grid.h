#pragma once
// The grid of a worksheet: column letters and row numbers, and the cells the model shows in the
// sheet's column widths and row heights, merged areas as one cell, and texts wider than their
// cells drawn across empty neighbours (a left-aligned text to the right, a right-aligned one to
// the left, a centred one both ways), as the spreadsheet shows them.
//
// Only what is on screen is drawn and nothing is kept per row: rows and columns lie where two
// AxisLayouts say (a default size and the few others), and the scroll bars count rows and
// columns, so a sheet of a million rows opens and scrolls as fast as one of twenty.
//
// The user selects with the mouse (a cell, a dragged or Shift-clicked range, a whole row or
// column from its header, everything from the corner) and the keyboard (arrows, Page Up/Down,
// Home, Ctrl+Home/End, Tab and Enter; Shift extends). Frozen rows and columns stay at the top
// and the left while the rest scrolls, behind a darker line; the heading cells of an autofilter
// carry their drop-down buttons. Typing a character, F2 or a double-click
// opens the cell's editor ("cellEditor"); Enter or Tab puts what was typed through
// WorksheetModel::setData and moves on, Escape leaves the cell as it was. Delete empties the
// selected cells (their formats stay); Ctrl+C copies them as text, as they are shown.

#include <QAbstractScrollArea>
#include <optional>
#include <vector>

#include "spreadsheet/cells/cell_address.h"
#include "ui/axis_layout.h"

class QLineEdit;

namespace tabulix::ui {

class WorksheetModel;
struct CellLook;

class WorksheetGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    WorksheetGrid(WorksheetModel& model, QWidget* parent);

    // Sizes in pixels, 0-based indexes.
    int rowHeight(int row) const { return rows_.size(row); }
    int columnWidth(int column) const { return columns_.size(column); }
    void setRowHeight(int row, int height);
    // Every row of `defaultHeight` except those given in `others`; likewise for the columns.
    void setRowHeights(int defaultHeight, const std::vector<std::pair<int, int>>& others);
    void setColumnWidths(int defaultWidth, const std::vector<std::pair<int, int>>& others);
    // The merged areas, 1-based as the sheet keeps them.
    void setMerges(std::vector<spreadsheet::CellRect> merges);
    // The first `rows` rows and `columns` columns stay in place while the rest scrolls (0, 0
    // for none).
    void setFrozen(int rows, int columns);
    int frozenRows() const { return frozenRows_; }
    int frozenColumns() const { return frozenColumns_; }
    // The heading cells that show a filter's drop-down button (1-based; none when empty).
    void setFilterButtons(std::optional<spreadsheet::CellRect> headings);
    // Where the filter button of a heading cell is drawn, in viewport coordinates (empty when
    // the cell has none or is not shown).
    QRect filterButtonRect(int row, int column) const;

    int currentRow() const { return currentRow_; }
    int currentColumn() const { return currentColumn_; }
    // Makes the cell current (the start of a one-cell selection) and scrolls it into view.
    void setCurrentCell(int row, int column);
    // The selected cells, 1-based; the current cell lies in it.
    spreadsheet::CellRect selection() const;
    // The first row and column shown at the top left, below and right of the frozen ones.
    int firstVisibleRow() const;
    int firstVisibleColumn() const;
    // Shows `row` at the top and `column` at the left, past the frozen ones (as far as the
    // sheet's end allows).
    void scrollToTopLeft(int row, int column);

    // Where a cell (or the merged area it lies in) is drawn, in viewport coordinates, and the
    // cell at a point of the viewport ({-1, -1} outside the cells).
    QRect cellRect(int row, int column) const;
    std::pair<int, int> cellAt(QPoint point) const;
    // The headers' sizes: the height of the column letters, the width of the row numbers.
    int columnHeaderHeight() const { return headerHeight_; }
    int rowHeaderWidth() const { return headerWidth_; }
    // The label of a row or column header.
    static QString rowLabel(int row);
    static QString columnLabel(int column);

    // The open editor (nullptr when no cell is being edited).
    QLineEdit* editor() const;

signals:
    void currentCellChanged(int row, int column);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Hit { Cell, RowHeader, ColumnHeader, Corner, Outside };
    // A merged area in 0-based rows and columns.
    struct Area {
        int top, left, bottom, right;
        bool contains(int row, int column) const {
            return row >= top && row <= bottom && column >= left && column <= right;
        }
    };

    void modelExtentChanged();
    void updateHeaderSizes();
    void updateScrollBars();
    // After a change of sizes: the scroll ranges, the editor's place and the picture.
    void sizesChanged();
    const Area* mergedAreaAt(int row, int column) const;
    // The cell area's rectangle of a cell range, relative to the cell area's top-left corner.
    QRect areaRect(int top, int left, int bottom, int right) const;
    int lastVisibleRow() const;
    int lastVisibleColumn() const;
    Hit hitAt(QPoint point, int& row, int& column) const;
    // The row or column under a viewport coordinate, clamped to the sheet.
    int rowAtY(int y) const;
    int columnAtX(int x) const;

    // One pane of the cell area: the rows and columns it shows and where, in the cell area's
    // coordinates. Without frozen rows and columns there is one; with both there are four.
    struct Pane {
        int firstRow, lastRow, firstColumn, lastColumn;
        QRect rect;
    };
    std::vector<Pane> panes() const;
    // Offset of a row's (column's) top (left) edge from the cell area's, with the frozen ones
    // first and the scrolled ones after them.
    std::int64_t rowOffset(int row) const;
    std::int64_t columnOffset(int column) const;
    // The sheet position (as AxisLayout counts it) under a cell area offset.
    std::int64_t rowPositionAt(int y) const;
    std::int64_t columnPositionAt(int x) const;
    int frozenHeight() const { return static_cast<int>(rows_.position(frozenRows_)); }
    int frozenWidth() const { return static_cast<int>(columns_.position(frozenColumns_)); }

    void paintCells(QPainter& painter, const Pane& pane);
    void paintSpilledTexts(QPainter& painter, const Pane& pane, const std::vector<Area>& shownMerges);
    void paintFilterButtons(QPainter& painter);
    void paintSelection(QPainter& painter);
    void paintHeaders(QPainter& painter);

    // Moves the current cell; with `extend` the selection stretches from its anchor instead.
    void moveTo(int row, int column, bool extend);
    // Selects from the current cell to (row, column), taking in the merged areas it cuts.
    void selectTo(int row, int column);
    // Where Ctrl+arrow goes from a cell: the edge of the block of filled cells, or the next
    // filled cell across empty ones, or the sheet's edge.
    std::pair<int, int> dataEdge(int row, int column, int rowStep, int columnStep) const;
    void ensureVisible(int row, int column);
    int rowsPerPage() const;

    void openEditor(const QString& text);
    // Puts the editor's text into the current cell and closes it; false when it was refused.
    bool commitEditor();
    void closeEditor();
    void placeEditor();

    WorksheetModel& model_;
    AxisLayout rows_;
    AxisLayout columns_;
    std::vector<Area> merges_;
    int frozenRows_ = 0;
    int frozenColumns_ = 0;
    std::optional<Area> filterButtons_;
    int headerHeight_ = 20;
    int headerWidth_ = 40;
    int currentRow_ = 0;
    int currentColumn_ = 0;
    // The other corner of the selection from the current cell: where Shift+arrows move it.
    int endRow_ = 0;
    int endColumn_ = 0;
    Area selection_{0, 0, 0, 0};
    Hit dragging_ = Hit::Outside;  // what the mouse button went down on, while it is held
    QLineEdit* editor_ = nullptr;
    bool editing_ = false;
    bool committing_ = false;  // set while a commit runs: its message box takes the focus away
};

}  // namespace tabulix::ui
