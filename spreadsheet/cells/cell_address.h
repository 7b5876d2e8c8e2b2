#pragma once
// A1-style cell names: parsing and formatting. Rows 1..1048576, columns A..XFD (1..16384).
// Lower-case column letters and "$" markers ('$B$12') are accepted, as spreadsheets do.

#include <cstdint>
#include <string>
#include <string_view>

namespace tabulix::spreadsheet {

inline constexpr std::uint32_t kMaxRows = 1048576;
inline constexpr std::uint32_t kMaxColumns = 16384;

// 1-based row and column.
struct CellAddress {
    std::uint32_t row = 1;
    std::uint32_t column = 1;
    bool operator==(const CellAddress&) const = default;
};

// A rectangle of cells, always normalised so that first is the top-left and last the
// bottom-right corner.
struct CellRect {
    CellAddress first;
    CellAddress last;

    static CellRect spanning(CellAddress a, CellAddress b);
    std::uint32_t rowCount() const { return last.row - first.row + 1; }
    std::uint32_t columnCount() const { return last.column - first.column + 1; }
    std::uint64_t cellCount() const { return std::uint64_t{rowCount()} * columnCount(); }
    bool contains(CellAddress a) const {
        return a.row >= first.row && a.row <= last.row && a.column >= first.column && a.column <= last.column;
    }
    bool intersects(const CellRect& o) const {
        return first.row <= o.last.row && o.first.row <= last.row && first.column <= o.last.column &&
               o.first.column <= last.column;
    }
    bool isSingleCell() const { return first == last; }
    bool operator==(const CellRect&) const = default;
};

// "B12" -> {12, 2}. Raises automation::AutomationError naming the text when it is not a cell name.
CellAddress parseCellName(std::string_view text);

// "A1:C3" or "B2" (a single cell). Raises automation::AutomationError naming the text.
CellRect parseRangeRef(std::string_view text);

// 28 -> "AB". column must be 1..kMaxColumns.
std::string columnLetters(std::uint32_t column);
// {12, 2} -> "B12".
std::string cellName(CellAddress address);
// "A1:C3", or "B2" for a single cell.
std::string rangeName(const CellRect& rect);

}  // namespace tabulix::spreadsheet
