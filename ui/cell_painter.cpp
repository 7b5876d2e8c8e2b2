#include "ui/cell_painter.h"

#include <QPainter>
#include <QPaintDevice>

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

// Draws a line along one side of r, inside it, so that the neighbouring cells' paint does not
// cover it.
void drawSide(QPainter& p, const QRect& r, CellSide side, const BorderLine& line) {
    if (!line.present()) return;
    const int w = penWidth(line.weight);
    QPen pen(qtColourOf(line.colour, Qt::black));
    pen.setWidth(1);
    if (line.weight == BorderWeight::Hairline) pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    for (int i = 0; i < w; ++i) {
        switch (side) {
            case CellSide::Left: p.drawLine(r.left() + i, r.top(), r.left() + i, r.bottom()); break;
            case CellSide::Right: p.drawLine(r.right() - i, r.top(), r.right() - i, r.bottom()); break;
            case CellSide::Top: p.drawLine(r.left(), r.top() + i, r.right(), r.top() + i); break;
            case CellSide::Bottom: p.drawLine(r.left(), r.bottom() - i, r.right(), r.bottom() - i); break;
            case CellSide::DiagonalDown: p.drawLine(r.topLeft(), r.bottomRight()); return;
            case CellSide::DiagonalUp: p.drawLine(r.bottomLeft(), r.topRight()); return;
        }
    }
}

}  // namespace

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
        painter->setClipRect(cellRect);
        painter->drawText(textRect, static_cast<int>(align) | Qt::TextSingleLine, text);
        painter->setClipping(false);
    }

    for (int side = 0; side < 6; ++side)
        drawSide(*painter, cellRect, static_cast<CellSide>(side), style.borders[side]);
    painter->restore();
}

}  // namespace tabulix::ui
