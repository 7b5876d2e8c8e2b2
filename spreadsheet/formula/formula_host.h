#pragma once
// What the formula engine needs from whoever keeps the cells: sheet lookup, cell values (a
// formula cell answers with its cached result), a walk over the filled cells of a rectangle, and
// a place to put results. The engine never owns cells; a cell store implements this interface.

#include <functional>
#include <optional>
#include <string_view>

#include "spreadsheet/formula/cell_rect.h"
#include "spreadsheet/formula/value.h"

namespace tabulix::spreadsheet::formula {

class FormulaHost {
public:
    using CellVisitor = std::function<void(int row, int column, const Value& value)>;

    virtual ~FormulaHost() = default;

    // Index of the sheet named `name`, compared ignoring letter case; empty when there is none.
    virtual std::optional<int> sheetIndex(std::string_view name) const = 0;

    // The value of a cell: what was put there, or the cached result of its formula; empty for a
    // cell that holds nothing.
    virtual Value cellValue(int sheet, int row, int column) const = 0;

    // Calls `visit` for every cell of `rect` that holds a value or a formula (an empty text
    // counts), row by row and left to right. Cost should follow the filled cells, not the size
    // of the rectangle: formulas over whole columns rely on it.
    virtual void forEachFilledCell(int sheet, const CellRect& rect, const CellVisitor& visit) const = 0;

    // Stores the result of the formula at the cell as its cached value. Must not call back into
    // the engine.
    virtual void setFormulaResult(int sheet, int row, int column, const Value& result) = 0;
};

}  // namespace tabulix::spreadsheet::formula
