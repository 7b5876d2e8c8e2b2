#include "xlsx_styles.h"

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "spreadsheet/cells/cell_style.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/numfmt/number_format_table.h"
#include "xml_part.h"
#include "xml_text.h"

namespace tabulix::spreadsheet {

namespace {

// Format ids below this are the spreadsheet's built-in formats.
constexpr std::uint32_t kFirstCustomFormat = 164;

std::string rgbText(Rgb rgb) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "FF";
    for (int shift = 20; shift >= 0; shift -= 4) text += kDigits[(rgb >> shift) & 15];
    return text;
}

std::string colourElement(Rgb rgb, bool automaticAsAuto) {
    if (rgb == kAutomaticColour) return automaticAsAuto ? R"(<color auto="1"/>)" : "";
    return R"(<color rgb=")" + rgbText(rgb) + R"("/>)";
}

const char* underlineValue(Underline u) {
    switch (u) {
        case Underline::None: return nullptr;
        case Underline::Single: return "single";
        case Underline::Double: return "double";
        case Underline::SingleAccounting: return "singleAccounting";
        case Underline::DoubleAccounting: return "doubleAccounting";
    }
    return nullptr;
}

const char* borderValue(BorderWeight weight) {
    switch (weight) {
        case BorderWeight::None: return nullptr;
        case BorderWeight::Hairline: return "hair";
        case BorderWeight::Thin: return "thin";
        case BorderWeight::Medium: return "medium";
        case BorderWeight::Thick: return "thick";
    }
    return nullptr;
}

const char* alignmentValue(HorizontalAlignment a) {
    switch (a) {
        case HorizontalAlignment::General: return nullptr;
        case HorizontalAlignment::Left: return "left";
        case HorizontalAlignment::Center: return "center";
        case HorizontalAlignment::Right: return "right";
        case HorizontalAlignment::Fill: return "fill";
        case HorizontalAlignment::Justify: return "justify";
        case HorizontalAlignment::CenterAcrossSelection: return "centerContinuous";
        case HorizontalAlignment::Distributed: return "distributed";
    }
    return nullptr;
}

std::string numberText(double value) {
    char digits[32];
    return std::string(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

std::string fontXml(const FontStyle& font) {
    std::string xml = "<font>";
    if (font.bold) xml += "<b/>";
    if (font.italic) xml += "<i/>";
    if (const char* u = underlineValue(font.underline))
        xml += font.underline == Underline::Single ? std::string("<u/>") : std::string(R"(<u val=")") + u + R"("/>)";
    xml += R"(<sz val=")" + numberText(font.size) + R"("/>)";
    xml += colourElement(font.colour, false);
    xml += R"(<name val=")";
    appendXmlText(xml, font.name);
    xml += R"("/><family val="2"/></font>)";
    return xml;
}

std::string fillXml(Rgb fill) {
    return R"(<fill><patternFill patternType="solid"><fgColor rgb=")" + rgbText(fill) +
           R"("/><bgColor indexed="64"/></patternFill></fill>)";
}

std::string lineXml(const char* element, const BorderLine& line) {
    const char* style = borderValue(line.weight);
    if (!style) return std::string("<") + element + "/>";
    return std::string("<") + element + R"( style=")" + style + R"(">)" + colourElement(line.colour, true) + "</" +
           element + ">";
}

std::string borderXml(const CellStyle& s) {
    // The file keeps one line for both diagonals; the falling one wins when both differ.
    const BorderLine& down = s.border(CellSide::DiagonalDown);
    const BorderLine& up = s.border(CellSide::DiagonalUp);
    std::string xml = "<border";
    if (up.present()) xml += R"( diagonalUp="1")";
    if (down.present()) xml += R"( diagonalDown="1")";
    xml += ">";
    xml += lineXml("left", s.border(CellSide::Left));
    xml += lineXml("right", s.border(CellSide::Right));
    xml += lineXml("top", s.border(CellSide::Top));
    xml += lineXml("bottom", s.border(CellSide::Bottom));
    xml += lineXml("diagonal", down.present() ? down : up);
    xml += "</border>";
    return xml;
}

// Distinct pieces of the styles in first-use order; the index is the id the cell formats use.
class Pieces {
public:
    std::size_t add(std::string xml) {
        const auto [it, added] = ids_.emplace(std::move(xml), order_.size());
        if (added) order_.push_back(&it->first);
        return it->second;
    }
    void write(XmlPart& out, std::string_view element) const {
        out.raw("<").raw(element).raw(" count=\"").integer(order_.size()).raw("\">");
        for (const std::string* xml : order_) out.raw(*xml);
        out.raw("</").raw(element).raw(">");
    }

private:
    std::map<std::string, std::size_t> ids_;
    std::vector<const std::string*> order_;
};

}  // namespace

void writeStylesPart(const Workbook& book, XmlPart& out) {
    const StyleTable& styles = book.styles();
    const NumberFormatTable& formats = book.numberFormats();
    Pieces fonts;
    Pieces fills;
    Pieces borders;
    fills.add(R"(<fill><patternFill patternType="none"/></fill>)");
    fills.add(R"(<fill><patternFill patternType="gray125"/></fill>)");
    std::map<std::uint32_t, bool> usedFormats;
    std::string xfs;
    for (std::size_t id = 0; id < styles.size(); ++id) {
        const CellStyle& s = styles.style(static_cast<StyleTable::Id>(id));
        const std::size_t font = fonts.add(fontXml(s.font));
        const std::size_t fill = s.fill == kAutomaticColour ? 0 : fills.add(fillXml(s.fill));
        const std::size_t border = borders.add(borderXml(s));
        const std::uint32_t format =
            s.numberFormat == NumberFormatTable::kGeneral ? 0 : kFirstCustomFormat + s.numberFormat - 1;
        if (format != 0) usedFormats[s.numberFormat] = true;
        const char* align = alignmentValue(s.alignment);
        xfs += R"(<xf numFmtId=")" + std::to_string(format) + R"(" fontId=")" + std::to_string(font) +
               R"(" fillId=")" + std::to_string(fill) + R"(" borderId=")" + std::to_string(border) + R"(" xfId="0")";
        if (id != 0) {
            if (format != 0) xfs += R"( applyNumberFormat="1")";
            xfs += R"( applyFont="1")";
            if (fill != 0) xfs += R"( applyFill="1")";
            if (border != 0) xfs += R"( applyBorder="1")";
        }
        if (align || s.shrinkToFit) {
            xfs += R"( applyAlignment="1"><alignment)";
            if (align) xfs += std::string(R"( horizontal=")") + align + "\"";
            if (s.shrinkToFit) xfs += R"( shrinkToFit="1")";
            xfs += "/></xf>";
        } else {
            xfs += "/>";
        }
    }

    out.raw(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
            "\n"
            R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)");
    if (!usedFormats.empty()) {
        out.raw(R"(<numFmts count=")").integer(usedFormats.size()).raw("\">");
        for (const auto& [id, used] : usedFormats) {
            out.raw(R"(<numFmt numFmtId=")").integer(kFirstCustomFormat + id - 1).raw(R"(" formatCode=")");
            out.text(formats.format(id).fileCode()).raw("\"/>");
        }
        out.raw("</numFmts>");
    }
    fonts.write(out, "fonts");
    fills.write(out, "fills");
    borders.write(out, "borders");
    out.raw(R"(<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>)");
    out.raw(R"(<cellXfs count=")").integer(styles.size()).raw("\">").raw(xfs).raw("</cellXfs>");
    out.raw(R"(<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>)"
            R"(<dxfs count="0"/><tableStyles count="0"/></styleSheet>)");
}

double storedColumnWidth(double width) {
    if (width <= 0) return 0;
    if (width < 1) return std::floor(std::floor(width * 12 + 0.5) / 12 * 256) / 256;
    const double pixels = std::floor(width * 7 + 0.5) + 5;
    return std::floor(pixels / 7 * 256) / 256;
}

}  // namespace tabulix::spreadsheet
