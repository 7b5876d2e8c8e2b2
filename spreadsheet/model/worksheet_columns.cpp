// Worksheet: column widths and fitting them to the cells' displayed text.

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "spreadsheet/measure/text_measurer.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"
#include "spreadsheet/numfmt/number_format_table.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;

double Worksheet::columnWidth(std::uint32_t column) const {
    const auto it = widths_.find(column);
    return it == widths_.end() ? kDefaultColumnWidth : it->second;
}

void Worksheet::setColumnWidth(std::uint32_t first, std::uint32_t last, double width) {
    workbook();
    if (!(width >= 0.0 && width <= kMaxColumnWidth))
        throw AutomationError("Range.ColumnWidth: " + std::to_string(width) + " is not a column width (0 to 255)");
    for (std::uint32_t c = first; c <= last; ++c) {
        if (width == kDefaultColumnWidth)
            widths_.erase(c);
        else
            widths_[c] = width;
    }
    notifyLayoutChanged();
}

namespace {

FontSpec fontSpecOf(const FontStyle& font) {
    return FontSpec{font.name, font.size, font.bold, font.italic};
}

// The drop-down button of a filter sits at the right end of each heading cell: LibreOffice draws
// it 18 pixels wide at most (at 100 %), Excel about 17. A heading fitted with that much more room
// reads whole beside it.
constexpr double kFilterButtonPixels = 18.0;

bool spanishWords(automation::Lcid lcid) { return (lcid & 0x3FF) == 0x0A; }

// General has no fixed shape, but its text does: in a font whose digits are equally wide, a text
// of digits with at most a leading minus sign and one decimal mark takes the room its length and
// those two give. The top bit keeps these apart from NumberFormat::fitShape's shapes.
std::optional<std::uint32_t> generalTextShape(std::string_view text) {
    if (text.size() > 24) return std::nullopt;
    std::uint32_t shape = 1u << 31 | static_cast<std::uint32_t>(text.size());
    bool mark = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') continue;
        if (c == '-' && i == 0) {
            shape |= 1u << 5;
        } else if ((c == '.' || c == ',') && !mark) {
            mark = true;
            shape |= static_cast<std::uint32_t>(i + 1) << 6;
        } else {
            return std::nullopt;
        }
    }
    return shape;
}

}  // namespace

void Worksheet::autoFit(const CellRect& rect) {
    Workbook& book = workbook();
    Application* app = book.application();
    TextMeasurer& measurer = app->textMeasurer();
    const NumberConventions conventions = conventionsFor(app->displayLocale());
    const bool spanish = spanishWords(app->displayLocale());
    const double digitWidth = measurer.maxDigitWidthPixels(fontSpecOf(book.styles().style(StyleTable::kDefault).font));

    std::vector<CellRect> merged;
    for (const CellRect& m : merges_)
        if (m.intersects(rect)) merged.push_back(m);

    // Per call: the font of each style, and the widths of (text, style) pairs measured lately. A
    // column repeats a few texts (families, states) or hardly any (codes, names): a small table
    // that new pairs overwrite catches the first kind without growing with the second.
    std::unordered_map<StyleTable::Id, FontSpec> fonts;
    struct TextWidth {
        std::uint64_t key = ~std::uint64_t{0};
        double pixels = 0.0;
    };
    constexpr unsigned kTextWidthBits = 12;
    std::vector<TextWidth> textWidths(std::size_t{1} << kTextWidthBits);
    // A transferred column holds thousands of numbers of a few shapes: in a font whose digits are
    // equally wide, numbers of one shape (NumberFormat::fitShape) take the same room, so each
    // shape is rendered and measured once per style.
    std::unordered_map<std::uint64_t, double> shapeWidths;
    std::unordered_map<StyleTable::Id, bool> evenDigits;
    auto fontOf = [&](StyleTable::Id style) -> const FontSpec& {
        auto it = fonts.find(style);
        if (it == fonts.end()) it = fonts.emplace(style, fontSpecOf(book.styles().style(style).font)).first;
        return it->second;
    };
    auto hasEvenDigits = [&](StyleTable::Id style) {
        auto it = evenDigits.find(style);
        if (it == evenDigits.end()) {
            const FontSpec& font = fontOf(style);
            const double zero = measurer.widthPixels("0", font);
            bool even = true;
            for (char digit = '1'; digit <= '9' && even; ++digit)
                even = measurer.widthPixels(std::string_view(&digit, 1), font) == zero;
            it = evenDigits.emplace(style, even).first;
        }
        return it->second;
    };
    auto numberWidth = [&](double number, StyleTable::Id style, const NumberFormat& format) {
        if (!hasEvenDigits(style))
            return measurer.widthPixels(format.displayForFit(number, conventions), fontOf(style));
        std::string text;
        std::optional<std::uint32_t> shape;
        if (format.isGeneral()) {
            text = format.displayForFit(number, conventions);
            shape = generalTextShape(text);
        } else {
            shape = format.fitShape(number);
        }
        if (!shape) {
            if (text.empty()) text = format.displayForFit(number, conventions);
            return measurer.widthPixels(text, fontOf(style));
        }
        const std::uint64_t key = (std::uint64_t{style} << 32) | *shape;
        auto it = shapeWidths.find(key);
        if (it == shapeWidths.end()) {
            if (text.empty()) text = format.displayForFit(number, conventions);
            it = shapeWidths.emplace(key, measurer.widthPixels(text, fontOf(style))).first;
        }
        return it->second;
    };

    std::vector<double> widest(rect.columnCount(), -1.0);
    cells_.forEachIn(rect, [&](CellAddress at, Cell& cell) {
        if (cell.kind == CellKind::Blank) return;
        for (const CellRect& m : merged)
            if (m.contains(at)) return;
        const CellStyle& style = book.styles().style(cell.style);
        const NumberFormat& format = book.numberFormats().format(style.numberFormat);
        double pixels = 0.0;
        CellValue formulaResult;
        const Cell* shown = &cell;
        Cell cached;
        if (cell.kind == CellKind::Formula) {
            // A formula shows its calculated result; one not calculated yet shows nothing.
            formulaResult = cells_.formula(cell).cached;
            if (const double* n = std::get_if<double>(&formulaResult)) {
                cached.kind = CellKind::Number;
                cached.number = *n;
            } else if (const bool* b = std::get_if<bool>(&formulaResult)) {
                cached.kind = CellKind::Boolean;
                cached.boolean = *b;
            } else if (const auto* e = std::get_if<CellError>(&formulaResult)) {
                cached.kind = CellKind::Error;
                cached.error = static_cast<std::uint16_t>(*e);
            } else if (const auto* t = std::get_if<std::string>(&formulaResult)) {
                pixels = measurer.widthPixels(format.displayTextForFit(*t), fontOf(cell.style));
            } else {
                return;
            }
            shown = &cached;
        }
        switch (shown->kind) {
            case CellKind::Number: pixels = numberWidth(shown->number, cell.style, format); break;
            case CellKind::Text: {
                const std::uint64_t key = (std::uint64_t{shown->text} << 32) | cell.style;
                TextWidth& slot = textWidths[(key * 0x9E3779B97F4A7C15ULL) >> (64 - kTextWidthBits)];
                if (slot.key != key) {
                    slot.key = key;
                    slot.pixels = measurer.widthPixels(format.displayTextForFit(book.strings().text(shown->text)),
                                                       fontOf(cell.style));
                }
                pixels = slot.pixels;
                break;
            }
            case CellKind::Boolean:
                pixels = measurer.widthPixels(
                    spanish ? (shown->boolean ? "VERDADERO" : "FALSO") : (shown->boolean ? "TRUE" : "FALSE"),
                    fontOf(cell.style));
                break;
            case CellKind::Error:
                pixels = measurer.widthPixels(errorText(static_cast<CellError>(shown->error)), fontOf(cell.style));
                break;
            default: break;
        }
        if (pixels <= 0.0) return;  // nothing shown, e.g. an empty text
        if (autoFilter_ && at.row == autoFilter_->first.row && autoFilter_->contains(at)) pixels += kFilterButtonPixels;
        double& w = widest[at.column - rect.first.column];
        w = std::max(w, pixels);
    });

    for (std::uint32_t i = 0; i < widest.size(); ++i) {
        const std::uint32_t column = rect.first.column + i;
        if (widest[i] < 0.0) {
            widths_.erase(column);
            continue;
        }
        widths_[column] = std::min(kMaxColumnWidth, columnWidthForPixels(widest[i], digitWidth));
    }
    notifyLayoutChanged();
}

}  // namespace tabulix::spreadsheet
