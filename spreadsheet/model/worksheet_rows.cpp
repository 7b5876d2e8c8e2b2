// Worksheet: row heights. A row whose height was never set fits the largest font of its cells,
// as the application grows a row when a cell gets a larger font, a value or a format; a height
// set through RowHeight stays as set.

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "spreadsheet/measure/text_measurer.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;

namespace {

// Pixels a row adds around its tallest line, and the points of a pixel at 96 dpi.
constexpr double kRowPaddingPixels = 2.0;
constexpr double kPointsPerPixel = 0.75;

double rowPointsFor(TextMeasurer& measurer, const FontStyle& font) {
    const double pixels = measurer.lineHeightPixels(FontSpec{font.name, font.size, font.bold, font.italic});
    return (pixels + kRowPaddingPixels) * kPointsPerPixel;
}

}  // namespace

double Worksheet::standardRowHeight() const {
    const Workbook& book = workbook();
    return rowPointsFor(book.application()->textMeasurer(), book.styles().style(StyleTable::kDefault).font);
}

double Worksheet::rowHeight(std::uint32_t row) const {
    if (const auto it = customHeights_.find(row); it != customHeights_.end()) return it->second;
    std::unordered_map<StyleTable::Id, double> byStyle;
    return fittedHeight(cells_.row(row), standardRowHeight(), byStyle);
}

void Worksheet::setRowHeight(std::uint32_t first, std::uint32_t last, double points) {
    workbook();
    if (!(points >= 0.0 && points <= kMaxRowHeight))
        throw AutomationError("Range.RowHeight: " + std::to_string(points) + " is not a row height (0 to 409 points)");
    // The file keeps heights in whole pixels, as the application does.
    const double stored = std::round(points / kPointsPerPixel) * kPointsPerPixel;
    for (std::uint32_t r = first; r <= last; ++r) customHeights_[r] = stored;
    notifyLayoutChanged();
}

std::map<std::uint32_t, Worksheet::RowHeight> Worksheet::rowHeights() const {
    std::map<std::uint32_t, RowHeight> heights;
    std::unordered_map<StyleTable::Id, double> byStyle;
    const double standard = standardRowHeight();
    cells_.forEachRow([&](std::uint32_t row, std::span<const Cell> cells) {
        if (customHeights_.contains(row)) return;
        const double fitted = fittedHeight(cells, standard, byStyle);
        if (fitted != standard) heights[row] = {fitted, false};
    });
    for (const auto& [row, points] : customHeights_) heights[row] = {points, true};
    return heights;
}

double Worksheet::fittedHeight(std::span<const Cell> cells, double standard,
                               std::unordered_map<StyleTable::Id, double>& byStyle) const {
    double tallest = standard;
    for (const Cell& cell : cells) {
        auto it = byStyle.find(cell.style);
        if (it == byStyle.end()) {
            // Measured once per style: a scan of a million rows asks the measurer a few times.
            const Workbook& book = workbook();
            const FontStyle& font = book.styles().style(cell.style).font;
            it = byStyle.emplace(cell.style, rowPointsFor(book.application()->textMeasurer(), font)).first;
        }
        tallest = std::max(tallest, it->second);
    }
    return tallest;
}

}  // namespace tabulix::spreadsheet
