// WorksheetGrid: drawing the shown cells, the selection and the headers.
#include <QPainter>
#include <algorithm>

#include "ui/cell_painter.h"
#include "ui/worksheet_grid.h"
#include "ui/worksheet_model.h"

namespace tabulix::ui {

namespace {

// How far outside the shown columns a text that spills into them is looked for.
constexpr int kSpillSearchColumns = 8;

const QColor kGridLine(0xD4, 0xD4, 0xD4);
const QColor kHeaderFill(0xF3, 0xF3, 0xF3);
const QColor kHeaderSelectedFill(0xD2, 0xE8, 0xDA);
const QColor kHeaderText(0x33, 0x33, 0x33);
const QColor kSelectionLine(33, 115, 70);
const QColor kSelectionTint(33, 115, 70, 40);
const QColor kFrozenLine(0x70, 0x70, 0x70);
const QColor kButtonFace(0xF6, 0xF6, 0xF6);
const QColor kButtonEdge(0x9A, 0x9A, 0x9A);

}  // namespace

void WorksheetGrid::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    if (rows_.count() > 0 && columns_.count() > 0) {
        const QRect cells(headerWidth_, headerHeight_, viewport()->width() - headerWidth_,
                          viewport()->height() - headerHeight_);
        painter.save();
        painter.translate(headerWidth_, headerHeight_);
        // Each pane draws inside its own rectangle, so scrolled cells never cover frozen ones.
        for (const Pane& pane : panes()) {
            painter.save();
            painter.setClipRect(pane.rect);
            paintCells(painter, pane);
            painter.restore();
        }
        painter.setClipRect(cells.translated(-headerWidth_, -headerHeight_));
        paintSelection(painter);
        painter.setPen(kFrozenLine);
        if (frozenRows_ > 0) painter.drawLine(0, frozenHeight() - 1, cells.width(), frozenHeight() - 1);
        if (frozenColumns_ > 0) painter.drawLine(frozenWidth() - 1, 0, frozenWidth() - 1, cells.height());
        painter.restore();
        painter.save();
        painter.setClipRect(cells);
        paintFilterButtons(painter);
        painter.restore();
    }
    paintHeaders(painter);
}

void WorksheetGrid::paintFilterButtons(QPainter& painter) {
    if (!filterButtons_) return;
    for (int column = filterButtons_->left; column <= filterButtons_->right; ++column) {
        const QRect button = filterButtonRect(filterButtons_->top, column);
        if (button.isEmpty()) continue;
        painter.fillRect(button, kButtonFace);
        painter.setPen(kButtonEdge);
        painter.drawRect(button.adjusted(0, 0, -1, -1));
        // The drop-down arrow.
        const QPointF centre = QRectF(button).center();
        const qreal half = button.width() / 4.0;
        const QPointF arrow[] = {{centre.x() - half, centre.y() - half / 2}, {centre.x() + half, centre.y() - half / 2},
                                 {centre.x(), centre.y() + half / 2}};
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kHeaderText);
        painter.drawPolygon(arrow, 3);
        painter.setBrush(Qt::NoBrush);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
}

void WorksheetGrid::paintCells(QPainter& painter, const Pane& pane) {
    const int firstRow = pane.firstRow, lastRow = pane.lastRow;
    const int firstColumn = pane.firstColumn, lastColumn = pane.lastColumn;
    // Merged areas first, as one cell each with the look of their top-left cell.
    std::vector<Area> shownMerges;
    for (const Area& a : merges_) {
        if (a.bottom < firstRow || a.top > lastRow) continue;
        if (a.right < firstColumn - kSpillSearchColumns || a.left > lastColumn + kSpillSearchColumns) continue;
        shownMerges.push_back(a);
        paintCell(painter, areaRect(a.top, a.left, a.bottom, a.right), model_.look(a.top, a.left), false);
    }
    const auto merged = [&](int row, int column) {
        return std::any_of(shownMerges.begin(), shownMerges.end(),
                           [&](const Area& a) { return a.contains(row, column); });
    };
    for (int r = firstRow; r <= lastRow; ++r) {
        if (rows_.size(r) == 0) continue;
        for (int c = firstColumn; c <= lastColumn; ++c) {
            if (columns_.size(c) == 0 || merged(r, c)) continue;
            paintCell(painter, areaRect(r, c, r, c), model_.look(r, c), true);
        }
    }
    paintSpilledTexts(painter, pane, shownMerges);
}

void WorksheetGrid::paintSpilledTexts(QPainter& painter, const Pane& pane, const std::vector<Area>& shownMerges) {
    const int firstRow = pane.firstRow, lastRow = pane.lastRow;
    const int firstColumn = std::max(0, pane.firstColumn - kSpillSearchColumns);
    const int lastColumn = std::min(columns_.count() - 1, pane.lastColumn + kSpillSearchColumns);
    const auto merged = [&](int row, int column) {
        return std::any_of(shownMerges.begin(), shownMerges.end(),
                           [&](const Area& a) { return a.contains(row, column); });
    };
    const int dpi = viewport()->logicalDpiY();
    for (int row = firstRow; row <= lastRow; ++row) {
        if (rows_.size(row) == 0) continue;
        for (int column = firstColumn; column <= lastColumn; ++column) {
            if (merged(row, column)) continue;
            const CellLook look = model_.look(row, column);
            if (look.text.isEmpty() || look.number || !look.style) continue;
            const QRect own = areaRect(row, column, row, column);
            const int textWidth = QFontMetrics(qtFontOf(look.style->font, dpi)).horizontalAdvance(look.text);
            if (!spillsOver(look, textWidth, own.width() - 2 * kCellTextMargin)) continue;

            const auto alignment = look.style->alignment;
            const bool right = alignment == spreadsheet::HorizontalAlignment::Right;
            const bool centre = alignment == spreadsheet::HorizontalAlignment::Center;
            QRect across = own;
            const int need = textWidth + 2 * kCellTextMargin - own.width();
            // Takes in empty neighbours on one side until the text fits or a cell is not empty.
            const auto grow = [&](int step, int budget) {
                for (int c = column + step; budget > 0 && c >= 0 && c < columns_.count(); c += step) {
                    if (mergedAreaAt(row, c)) break;
                    const CellLook next = model_.look(row, c);
                    if (!next.text.isEmpty()) break;
                    const QRect rect = areaRect(row, c, row, c);
                    const spreadsheet::Rgb fill = next.style ? next.style->fill : spreadsheet::kAutomaticColour;
                    // The grid line under the text goes, as in the spreadsheet.
                    painter.fillRect(step > 0 ? rect.adjusted(-1, 0, 0, -1) : rect.adjusted(0, 0, 1, -1),
                                     qtColourOf(fill, Qt::white));
                    across = across.united(rect);
                    budget -= rect.width();
                }
            };
            if (centre) {
                grow(1, need / 2 + 1);
                grow(-1, need / 2 + 1);
            } else {
                grow(right ? -1 : 1, need);
            }
            paintSpilledText(painter, own, across, look);
        }
    }
}

void WorksheetGrid::paintSelection(QPainter& painter) {
    const QRect area = areaRect(selection_.top, selection_.left, selection_.bottom, selection_.right);
    const bool oneCell = [&] {
        if (selection_.top == selection_.bottom && selection_.left == selection_.right) return true;
        const Area* a = mergedAreaAt(currentRow_, currentColumn_);
        return a && a->top == selection_.top && a->left == selection_.left && a->bottom == selection_.bottom &&
               a->right == selection_.right;
    }();
    if (!oneCell) {
        // The current cell stays clear inside a tinted range, as in the spreadsheet.
        const Area* current = mergedAreaAt(currentRow_, currentColumn_);
        const QRect clear = current ? areaRect(current->top, current->left, current->bottom, current->right)
                                    : areaRect(currentRow_, currentColumn_, currentRow_, currentColumn_);
        painter.save();
        painter.setClipRegion(QRegion(area).subtracted(QRegion(clear)), Qt::IntersectClip);
        painter.fillRect(area, kSelectionTint);
        painter.restore();
    }
    QPen pen(kSelectionLine);
    pen.setWidth(2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}

void WorksheetGrid::paintHeaders(QPainter& painter) {
    const int width = viewport()->width(), height = viewport()->height();
    painter.fillRect(QRect(0, 0, width, headerHeight_), kHeaderFill);
    painter.fillRect(QRect(0, 0, headerWidth_, height), kHeaderFill);
    painter.setFont(font());
    const auto section = [&](const QRect& rect, const QString& label, bool selected) {
        if (selected) painter.fillRect(rect, kHeaderSelectedFill);
        painter.setPen(kGridLine);
        painter.drawLine(rect.topRight(), rect.bottomRight());
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        painter.setPen(selected ? kSelectionLine : kHeaderText);
        painter.drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignCenter | Qt::TextSingleLine, label);
    };
    if (columns_.count() > 0) {
        painter.save();
        painter.setClipRect(QRect(headerWidth_, 0, width - headerWidth_, headerHeight_));
        const auto columnsFrom = [&](int first, int last) {
            for (int c = first; c <= last; ++c) {
                if (columns_.size(c) == 0) continue;
                const QRect cell = areaRect(0, c, 0, c);
                section(QRect(headerWidth_ + cell.left(), 0, cell.width(), headerHeight_), columnLabel(c),
                        c >= selection_.left && c <= selection_.right);
            }
        };
        columnsFrom(firstVisibleColumn(), lastVisibleColumn());
        columnsFrom(0, frozenColumns_ - 1);  // last: over any scrolled one that reaches under them
        painter.restore();
    }
    if (rows_.count() > 0) {
        painter.save();
        painter.setClipRect(QRect(0, headerHeight_, headerWidth_, height - headerHeight_));
        const auto rowsFrom = [&](int first, int last) {
            for (int r = first; r <= last; ++r) {
                if (rows_.size(r) == 0) continue;
                const QRect cell = areaRect(r, 0, r, 0);
                section(QRect(0, headerHeight_ + cell.top(), headerWidth_, cell.height()), rowLabel(r),
                        r >= selection_.top && r <= selection_.bottom);
            }
        };
        rowsFrom(firstVisibleRow(), lastVisibleRow());
        rowsFrom(0, frozenRows_ - 1);
        painter.restore();
    }
    // The corner, and the lines that close the headers off from the cells.
    painter.setPen(kGridLine);
    painter.fillRect(QRect(0, 0, headerWidth_, headerHeight_), kHeaderFill);
    painter.drawLine(0, headerHeight_ - 1, width, headerHeight_ - 1);
    painter.drawLine(headerWidth_ - 1, 0, headerWidth_ - 1, height);
}

}  // namespace tabulix::ui
