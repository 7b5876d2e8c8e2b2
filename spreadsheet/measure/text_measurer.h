#pragma once
// Widths of cell text in pixels at 96 dpi, from the fonts' own metrics.
//
// A font is found with fontconfig (family, bold, italic) and read with FreeType. Each character
// takes its advance at exactly size * 96 / 72 pixels per em, rounded to whole pixels as the glyphs
// are placed on screen; kerning is ignored. (FreeType's hinting would first round the em to whole
// pixels, which makes Carlito's digits 8 pixels at 11 points where Calibri's, with its own hinting
// tables, are 7: the unrounded em gives the spreadsheet's figures.) When fontconfig has nothing, or the file it gives
// cannot be loaded, DejaVu Sans takes the font's place; when no font loads at all, every
// character counts 0.6 em. Measuring never fails.

#include <memory>
#include <string>
#include <string_view>

#include "spreadsheet/measure/column_width.h"

namespace tabulix::spreadsheet {

struct FontSpec {
    std::string name;
    double sizePoints = 11.0;  // sizes outside 1 to 409 points are taken as the nearest of them
    bool bold = false;
    bool italic = false;
};

// Owns its FreeType and fontconfig handles and a per-font cache of character advances; one per
// application, used from one thread.
class TextMeasurer {
public:
    TextMeasurer();
    ~TextMeasurer();
    TextMeasurer(const TextMeasurer&) = delete;
    TextMeasurer& operator=(const TextMeasurer&) = delete;

    // Width of UTF-8 text; for text of several lines, the widest line. Malformed bytes count as
    // U+FFFD, control characters take no room.
    double widthPixels(std::string_view utf8, const FontSpec& font);
    // Height of a line of the font in whole pixels: its ascent and descent (the Windows metrics
    // of the font file), each rounded. A row that shows the font is this plus its padding.
    double lineHeightPixels(const FontSpec& font);
    // Widest of the digits 0 to 9: the unit of column widths when font is the workbook's default.
    double maxDigitWidthPixels(const FontSpec& font);

    // The font file that measures font, or "" when the 0.6 em estimate stands in for it.
    std::string fontFileFor(const FontSpec& font);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tabulix::spreadsheet
