#pragma once
// The look of a cell: font, fill, border lines, alignment, number format, shrink to fit.
// Styles are interned per workbook (StyleTable) so that a cell holds a 32-bit style id.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace tabulix::spreadsheet {

// 0xRRGGBB, or kAutomaticColour for the spreadsheet's default (black text, no fill).
using Rgb = std::uint32_t;
inline constexpr Rgb kAutomaticColour = 0xFF000000u;

enum class BorderWeight : std::uint8_t { None, Hairline, Thin, Medium, Thick };

struct BorderLine {
    BorderWeight weight = BorderWeight::None;
    Rgb colour = kAutomaticColour;
    bool present() const { return weight != BorderWeight::None; }
    bool operator==(const BorderLine&) const = default;
};

enum class Underline : std::uint8_t { None, Single, Double, SingleAccounting, DoubleAccounting };

enum class HorizontalAlignment : std::uint8_t {
    General, Left, Center, Right, Fill, Justify, CenterAcrossSelection, Distributed
};

struct FontStyle {
    std::string name = "Calibri";
    double size = 11.0;
    Rgb colour = kAutomaticColour;
    bool bold = false;
    bool italic = false;
    Underline underline = Underline::None;
    bool operator==(const FontStyle&) const = default;
};

// Which line of a cell: the four sides and the two diagonals.
enum class CellSide : std::uint8_t { Left, Right, Top, Bottom, DiagonalDown, DiagonalUp };

struct CellStyle {
    FontStyle font;
    Rgb fill = kAutomaticColour;  // automatic = no fill
    BorderLine borders[6];        // indexed by CellSide
    HorizontalAlignment alignment = HorizontalAlignment::General;
    bool shrinkToFit = false;
    std::uint32_t numberFormat = 0;  // id in the workbook's NumberFormatTable; 0 = General

    BorderLine& border(CellSide side) { return borders[static_cast<int>(side)]; }
    const BorderLine& border(CellSide side) const { return borders[static_cast<int>(side)]; }
    bool operator==(const CellStyle&) const = default;
};

std::size_t hashStyle(const CellStyle& style);

class StyleTable {
public:
    using Id = std::uint32_t;
    static constexpr Id kDefault = 0;

    StyleTable();
    // The id of an equal style, adding it when new. Raises AutomationError beyond the
    // spreadsheet's limit of distinct cell formats.
    Id intern(const CellStyle& style);
    const CellStyle& style(Id id) const { return styles_[id]; }
    std::size_t size() const { return styles_.size(); }

    static constexpr std::size_t kMaxStyles = 64000;

    // The id of `base` with its number format replaced, remembered so that filling a column
    // with dates costs one lookup per cell.
    Id withNumberFormat(Id base, std::uint32_t numberFormat);

private:
    std::unordered_map<std::uint64_t, Id> numberFormatMemo_;
    std::vector<CellStyle> styles_;
    std::vector<std::vector<Id>> buckets_;  // by hash; styles are few, so a simple chained index
};

}  // namespace tabulix::spreadsheet
