#include "ui/cell_painter.h"

#include <QPainter>
#include <QPaintDevice>
#include <QTableView>

#include "ui/worksheet_model.h"

namespace tabulix::ui {

using spreadsheet::BorderLine;
using spreadsheet::BorderWeight;
using spreadsheet::CellSide;
using spreadsheet::HorizontalAlignment;

QFont qtFontOf(const spreadsheet::FontStyle& font, int logicalDpi) {
    QFont qfont(QString::fromStdString(font.name));
    qfont.setPointSizeF(font.size * 96.0 / (logicalDpi > 0 ? logicalDpi : 96));
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline != spreadsheet::Underline::None);
    return qfont;
}

QColor qtColourOf(spreadsheet::Rgb rgb, QColor automatic) {
    if (rgb == spreadsheet::kAutomaticColour) return automatic;
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

namespace {

int penWidth(BorderWeight weight) {
    switch (weight) {
        case BorderWeight::Medium: return 2;
        case BorderWeight::Thick: return 3;
        default: return 1;
    }
}

// Draws a line along one side of r. A line between two cells lies on the grid line between them
// (the last pixel row or column of the upper or left cell), widening away from it, so that the
// two cells that both hold it draw the same pixels.
void drawSide(QPainter& p, const QRect& r, CellSide side, const BorderLine& line) {
    if (!line.present()) return;
    const int w = penWidth(line.weight);
    QPen pen(qtColourOf(line.colour, Qt::black));
    pen.setWidth(1);
    if (line.weight == BorderWeight::Hairline) pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    // At the edge of the viewport the line before the cell cannot be seen: it is drawn inside.
    const int left = r.left() > 0 ? r.left() - 1 : r.left() + w - 1;
    const int top = r.top() > 0 ? r.top() - 1 : r.top() + w - 1;
    const int right = r.right(), bottom = r.bottom();
    for (int i = 0; i < w; ++i) {
        switch (side) {
            case CellSide::Left: p.drawLine(left - i, top - w + 1, left - i, bottom); break;
            case CellSide::Right: p.drawLine(right - i, top - w + 1, right - i, bottom); break;
            case CellSide::Top: p.drawLine(left - w + 1, top - i, right, top - i); break;
            case CellSide::Bottom: p.drawLine(left - w + 1, bottom - i, right, bottom - i); break;
            case CellSide::DiagonalDown: p.drawLine(r.topLeft(), r.bottomRight()); return;
            case CellSide::DiagonalUp: p.drawLine(r.bottomLeft(), r.topRight()); return;
        }
    }
}

}  // namespace

bool CellDelegate::spillsOver(const CellLook& look, const spreadsheet::CellStyle& style, int textWidth,
                              int roomWidth, const QModelIndex& index) const {
    if (look.number || look.text.isEmpty() || textWidth <= roomWidth) return false;
    switch (style.alignment) {
        case HorizontalAlignment::General:
        case HorizontalAlignment::Left:
        case HorizontalAlignment::Right:
        case HorizontalAlignment::Center: break;
        default: return false;
    }
    const auto* grid = qobject_cast<const QTableView*>(parent());
    return grid && grid->columnSpan(index.row(), index.column()) == 1 && grid->rowSpan(index.row(), index.column()) == 1;
}

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const CellLook look = model_.look(index.row(), index.column());
    const QRect cellRect = option.rect;
    painter->save();
    static const spreadsheet::CellStyle kDefaultStyle;
    const spreadsheet::CellStyle& style = look.style ? *look.style : kDefaultStyle;

    // Fill and grid: the grid line lies on the right and bottom edge of every cell.
    if (style.fill != spreadsheet::kAutomaticColour) painter->fillRect(cellRect, qtColourOf(style.fill, Qt::white));
    painter->setPen(QColor(0xD4, 0xD4, 0xD4));
    painter->drawLine(cellRect.topRight(), cellRect.bottomRight());
    painter->drawLine(cellRect.bottomLeft(), cellRect.bottomRight());
    if (option.state & QStyle::State_Selected) painter->fillRect(cellRect, QColor(33, 115, 70, 40));

    if (!look.text.isEmpty()) {
        const QFont font = qtFontOf(style.font, painter->device() ? painter->device()->logicalDpiY() : 96);
        painter->setFont(font);
        painter->setPen(qtColourOf(style.font.colour, Qt::black));
        const QRect textRect = cellRect.adjusted(3, 0, -3, -1);
        QString text = look.text;
        const QFontMetrics metrics(font);
        if (look.number && metrics.horizontalAdvance(text) > textRect.width()) {
            const int hashes = std::max(1, textRect.width() / std::max(1, metrics.horizontalAdvance(QChar('#'))));
            text = QString(hashes, QChar('#'));
        }
        Qt::Alignment align = Qt::AlignBottom;
        switch (style.alignment) {
            case HorizontalAlignment::Left: align |= Qt::AlignLeft; break;
            case HorizontalAlignment::Right: align |= Qt::AlignRight; break;
            case HorizontalAlignment::Center:
            case HorizontalAlignment::CenterAcrossSelection:
            case HorizontalAlignment::Distributed: align |= Qt::AlignHCenter; break;
            case HorizontalAlignment::Justify: align |= Qt::AlignJustify; break;
            default:
                align |= look.number ? Qt::AlignRight : look.centred ? Qt::AlignHCenter : Qt::AlignLeft;
                break;
        }
        // A text too wide for its cell spills into empty neighbours: the grid draws it over them.
        if (!spillsOver(look, style, metrics.horizontalAdvance(text), textRect.width(), index)) {
            painter->setClipRect(cellRect);
            painter->drawText(textRect, static_cast<int>(align) | Qt::TextSingleLine, text);
            painter->setClipping(false);
        }
    }

    for (int side = 0; side < 6; ++side)
        drawSide(*painter, cellRect, static_cast<CellSide>(side), style.borders[side]);
    painter->restore();
}

}  // namespace tabulix::ui
