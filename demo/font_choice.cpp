#include "demo/font_choice.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <cmath>

namespace tabulix::demo {

QString AvailableFamily(const QString& family) {
    if (QFontDatabase::hasFamily(family)) return family;
    return QFontInfo(QFont(family)).family();
}

QFont WidgetFont(const QString& family, int pixels, bool bold) {
    QFont font(AvailableFamily(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont DialogFont(const framework::TFont& source) {
    QFont font(AvailableFamily(QString::fromStdString(source.Name())));
    const int pixels = std::abs(source.Height());
    if (pixels > 0) font.setPointSizeF(pixels * 72.0 / 96.0);
    const framework::TFontStyles style = source.Style();
    font.setBold(style.Contains(framework::fsBold));
    font.setItalic(style.Contains(framework::fsItalic));
    font.setUnderline(style.Contains(framework::fsUnderline));
    font.setStrikeOut(style.Contains(framework::fsStrikeOut));
    return font;
}

void AssignDialogFont(framework::TFont& font, const QFont& source) {
    font.SetName(source.family().toStdString());
    if (source.pointSizeF() > 0)
        font.SetHeight(-static_cast<int>(std::lround(source.pointSizeF() * 96.0 / 72.0)));
    else if (source.pixelSize() > 0)
        font.SetHeight(-source.pixelSize());
    framework::TFontStyles style;
    if (source.bold()) style.Include(framework::fsBold);
    if (source.italic()) style.Include(framework::fsItalic);
    if (source.underline()) style.Include(framework::fsUnderline);
    if (source.strikeOut()) style.Include(framework::fsStrikeOut);
    font.SetStyle(style);
}

framework::TColor ComponentColor(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return framework::RGB(static_cast<std::uint8_t>(rgb.red()), static_cast<std::uint8_t>(rgb.green()),
                          static_cast<std::uint8_t>(rgb.blue()));
}

QColor DialogColor(framework::TColor colour) {
    if (framework::IsSystemColor(colour)) return QColor(Qt::black);
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

}  // namespace tabulix::demo
