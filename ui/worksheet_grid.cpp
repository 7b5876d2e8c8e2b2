#include "ui/worksheet_grid.h"

#include <QPainter>
#include <algorithm>

#include "ui/cell_painter.h"
#include "ui/worksheet_model.h"

namespace tabulix::ui {

using spreadsheet::HorizontalAlignment;

namespace {

// How far outside the shown columns a spilling text is looked for.
constexpr int kSpillSearchColumns = 8;

}  // namespace

WorksheetGrid::WorksheetGrid(const WorksheetModel& model, QWidget* parent) : QTableView(parent), model_(model) {}

bool WorksheetGrid::isEmptyCell(int row, int column) const {
    return model_.look(row, column).text.isEmpty() && columnSpan(row, column) == 1 && rowSpan(row, column) == 1;
}

void WorksheetGrid::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (model_.rowCount() == 0 || model_.columnCount() == 0) return;
    const int firstRow = std::max(0, rowAt(0));
    int lastRow = rowAt(viewport()->height() - 1);
    if (lastRow < 0) lastRow = model_.rowCount() - 1;
    const int firstColumn = std::max(0, columnAt(0) - kSpillSearchColumns);
    int lastColumn = columnAt(viewport()->width() - 1);
    lastColumn = lastColumn < 0 ? model_.columnCount() - 1
                                : std::min(model_.columnCount() - 1, lastColumn + kSpillSearchColumns);
    QPainter painter(viewport());
    for (int r = firstRow; r <= lastRow; ++r)
        for (int c = firstColumn; c <= lastColumn; ++c) drawSpilledText(painter, r, c);
}

void WorksheetGrid::drawSpilledText(QPainter& painter, int row, int column) {
    const CellLook look = model_.look(row, column);
    if (look.text.isEmpty() || look.number || !look.style) return;
    const spreadsheet::CellStyle& style = *look.style;
    const QFont font = qtFontOf(style.font, viewport()->logicalDpiY());
    const QFontMetrics metrics(font);
    const int textWidth = metrics.horizontalAdvance(look.text);
    const QRect own = visualRect(model_.index(row, column));
    const auto* delegate = static_cast<const CellDelegate*>(itemDelegate());
    if (!delegate->spillsOver(look, style, textWidth, own.width() - 6, model_.index(row, column))) return;

    const bool right = style.alignment == HorizontalAlignment::Right;
    const bool centre = style.alignment == HorizontalAlignment::Center;
    QRect area = own;
    int need = textWidth + 6 - own.width();
    // Grows the area over empty neighbours on one side until the text fits or a cell is not empty.
    auto grow = [&](int step, int budget) {
        for (int c = column + step; budget > 0 && c >= 0 && c < model_.columnCount(); c += step) {
            if (!isEmptyCell(row, c)) break;
            const QRect next = visualRect(model_.index(row, c));
            const spreadsheet::Rgb fill = model_.look(row, c).style ? model_.look(row, c).style->fill
                                                                     : spreadsheet::kAutomaticColour;
            // The grid line under the text goes, as in the spreadsheet.
            painter.fillRect(step > 0 ? next.adjusted(-1, 0, 0, -1) : next.adjusted(0, 0, 1, -1),
                             qtColourOf(fill, Qt::white));
            area = area.united(next);
            budget -= next.width();
        }
    };
    if (centre) {
        grow(1, need / 2 + 1);
        grow(-1, need / 2 + 1);
    } else {
        grow(right ? -1 : 1, need);
    }
    Qt::Alignment align = Qt::AlignBottom | (right ? Qt::AlignRight : centre ? Qt::AlignHCenter : Qt::AlignLeft);
    QRect textRect = own.adjusted(3, 0, -3, -1);
    if (right) textRect.setLeft(area.left() + 3);
    else if (centre) textRect = QRect(own.center().x() - textWidth / 2, own.top(), textWidth, own.height() - 1);
    else textRect.setRight(area.right() - 3);
    painter.save();
    painter.setClipRect(area);
    painter.setFont(font);
    painter.setPen(qtColourOf(style.font.colour, Qt::black));
    painter.drawText(textRect, static_cast<int>(align) | Qt::TextSingleLine, look.text);
    painter.restore();
}

}  // namespace tabulix::ui
