#pragma once
// Cell coordinates as formulas see them: 1-based rows and columns, sheets by index.

#include <cstdint>

namespace tabulix::spreadsheet::formula {

inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;

struct CellPosition {
    int sheet = 0;
    int row = 1;
    int column = 1;
    bool operator==(const CellPosition&) const = default;
};

// A rectangle of cells on one sheet, first corner top-left, last corner bottom-right.
struct CellRect {
    int firstRow = 1;
    int firstColumn = 1;
    int lastRow = 1;
    int lastColumn = 1;

    bool contains(int row, int column) const {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
    bool isSingleCell() const { return firstRow == lastRow && firstColumn == lastColumn; }
    int rowCount() const { return lastRow - firstRow + 1; }
    int columnCount() const { return lastColumn - firstColumn + 1; }
    std::int64_t cellCount() const { return std::int64_t{rowCount()} * columnCount(); }
    bool operator==(const CellRect&) const = default;
};

}  // namespace tabulix::spreadsheet::formula
