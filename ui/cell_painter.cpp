#include "ui/cell_painter.h"

#include <QPainter>
#include <QPaintDevice>
#include <algorithm>

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

const spreadsheet::CellStyle& styleOf(const CellLook& look) {
    static const spreadsheet::CellStyle kDefaultStyle;
    return look.style ? *look.style : kDefaultStyle;
}

QFont fontOf(const QPainter& painter, const spreadsheet::CellStyle& style) {
    return qtFontOf(style.font, painter.device() ? painter.device()->logicalDpiY() : 96);
}

int penWidth(BorderWeight weight) {
    switch (weight) {
        case BorderWeight::Medium: return 2;
        case BorderWeight::Thick: return 3;
        default: return 1;
    }
}

// Draws a line along one side of r, in coordinates whose origin is the cell area's top-left
// corner. A line between two cells lies on the grid line between them (the last pixel row or
// column of the upper or left cell), widening away from it, so that the two cells that both hold
// it draw the same pixels.
void drawSide(QPainter& p, const QRect& r, CellSide side, const BorderLine& line) {
    if (!line.present()) return;
    const int w = penWidth(line.weight);
    QPen pen(qtColourOf(line.colour, Qt::black));
    pen.setWidth(1);
    if (line.weight == BorderWeight::Hairline) pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    // At the edge of the cell area the line before the cell cannot be seen: it is drawn inside.
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

Qt::Alignment alignmentOf(const CellLook& look, const spreadsheet::CellStyle& style) {
    Qt::Alignment align = Qt::AlignBottom;
    switch (style.alignment) {
        case HorizontalAlignment::Left: return align | Qt::AlignLeft;
        case HorizontalAlignment::Right: return align | Qt::AlignRight;
        case HorizontalAlignment::Center:
        case HorizontalAlignment::CenterAcrossSelection:
        case HorizontalAlignment::Distributed: return align | Qt::AlignHCenter;
        case HorizontalAlignment::Justify: return align | Qt::AlignJustify;
        default: return align | (look.number ? Qt::AlignRight : look.centred ? Qt::AlignHCenter : Qt::AlignLeft);
    }
}

}  // namespace

bool spillsOver(const CellLook& look, int textWidth, int roomWidth) {
    if (look.number || look.text.isEmpty() || textWidth <= roomWidth) return false;
    switch (styleOf(look).alignment) {
        case HorizontalAlignment::General:
        case HorizontalAlignment::Left:
        case HorizontalAlignment::Right:
        case HorizontalAlignment::Center: return true;
        default: return false;
    }
}

void paintCell(QPainter& painter, const QRect& rect, const CellLook& look, bool mayLeaveText) {
    const spreadsheet::CellStyle& style = styleOf(look);
    painter.save();
    // Fill and grid: the grid line lies on the right and bottom edge of every cell.
    if (style.fill != spreadsheet::kAutomaticColour) painter.fillRect(rect, qtColourOf(style.fill, Qt::white));
    painter.setPen(QColor(0xD4, 0xD4, 0xD4));
    painter.drawLine(rect.topRight(), rect.bottomRight());
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());

    if (!look.text.isEmpty()) {
        const QFont font = fontOf(painter, style);
        painter.setFont(font);
        painter.setPen(qtColourOf(style.font.colour, Qt::black));
        const QRect textRect = rect.adjusted(kCellTextMargin, 0, -kCellTextMargin, -1);
        QString text = look.text;
        const QFontMetrics metrics(font);
        const int textWidth = metrics.horizontalAdvance(text);
        if (look.number && textWidth > textRect.width()) {
            const int hashes = std::max(1, textRect.width() / std::max(1, metrics.horizontalAdvance(QChar('#'))));
            text = QString(hashes, QChar('#'));
        }
        if (!(mayLeaveText && spillsOver(look, textWidth, textRect.width()))) {
            painter.setClipRect(rect);
            painter.drawText(textRect, static_cast<int>(alignmentOf(look, style)) | Qt::TextSingleLine, text);
            painter.setClipping(false);
        }
    }

    for (int side = 0; side < 6; ++side)
        drawSide(painter, rect, static_cast<CellSide>(side), style.borders[side]);
    painter.restore();
}

void paintSpilledText(QPainter& painter, const QRect& own, const QRect& across, const CellLook& look) {
    const spreadsheet::CellStyle& style = styleOf(look);
    const QFont font = fontOf(painter, style);
    const int textWidth = QFontMetrics(font).horizontalAdvance(look.text);
    const bool right = style.alignment == HorizontalAlignment::Right;
    const bool centre = style.alignment == HorizontalAlignment::Center;
    QRect textRect = own.adjusted(kCellTextMargin, 0, -kCellTextMargin, -1);
    if (right)
        textRect.setLeft(across.left() + kCellTextMargin);
    else if (centre)
        textRect = QRect(own.center().x() - textWidth / 2, own.top(), textWidth, own.height() - 1);
    else
        textRect.setRight(across.right() - kCellTextMargin);
    const Qt::Alignment align = Qt::AlignBottom | (right ? Qt::AlignRight : centre ? Qt::AlignHCenter : Qt::AlignLeft);
    painter.save();
    painter.setClipRect(across);
    painter.setFont(font);
    painter.setPen(qtColourOf(style.font.colour, Qt::black));
    painter.drawText(textRect, static_cast<int>(align) | Qt::TextSingleLine, look.text);
    painter.restore();
}

}  // namespace tabulix::ui
