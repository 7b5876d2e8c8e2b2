#pragma once
// What sits on the evaluator's stack: a single value, a reference to a rectangle of cells, or an
// array computed cell by cell (inside array arguments only). Internal to the formula engine.

#include <variant>
#include <vector>

#include "spreadsheet/formula/cell_rect.h"
#include "spreadsheet/formula/value.h"

namespace tabulix::spreadsheet::formula {

struct RangeOperand {
    int sheet = 0;
    CellRect rect;
};

struct ArrayOperand {
    int rows = 0;
    int columns = 0;
    std::vector<Value> cells;  // row by row

    const Value& at(int row, int column) const { return cells[static_cast<std::size_t>(row) * columns + column]; }
};

using Operand = std::variant<Value, RangeOperand, ArrayOperand>;

// Arrays larger than this are not built; the operation gives #NUM! instead. Two whole columns fit.
inline constexpr std::int64_t kMaxArrayCells = std::int64_t{1} << 21;
// Nor are more array cells than this built while evaluating one formula, so that a text of a few
// thousand characters cannot demand minutes of work. SUMPRODUCT((A:A>0)*B:B) needs all of it.
inline constexpr std::int64_t kMaxArrayCellsPerFormula = std::int64_t{1} << 22;

}  // namespace tabulix::spreadsheet::formula
