#include "spreadsheet/formula/evaluation_context.h"

#include <algorithm>

namespace tabulix::spreadsheet::formula {

Value EvaluationContext::toValue(const Operand& operand) const {
    if (const auto* value = std::get_if<Value>(&operand)) return *value;
    if (const auto* array = std::get_if<ArrayOperand>(&operand)) return array->cells.empty() ? Value() : array->cells[0];
    const auto& range = std::get<RangeOperand>(operand);
    const CellRect& r = range.rect;
    if (r.isSingleCell()) return host_.cellValue(range.sheet, r.firstRow, r.firstColumn);
    if (r.firstColumn == r.lastColumn && at_.row >= r.firstRow && at_.row <= r.lastRow)
        return host_.cellValue(range.sheet, at_.row, r.firstColumn);
    if (r.firstRow == r.lastRow && at_.column >= r.firstColumn && at_.column <= r.lastColumn)
        return host_.cellValue(range.sheet, r.firstRow, at_.column);
    return ErrorCode::Value;
}

bool EvaluationContext::isMultiCell(const Operand& operand) {
    if (const auto* range = std::get_if<RangeOperand>(&operand)) return !range->rect.isSingleCell();
    if (const auto* array = std::get_if<ArrayOperand>(&operand)) return array->cells.size() > 1;
    return false;
}

bool EvaluationContext::spendArrayCells(std::int64_t cells) const {
    if (cells > arrayCellsLeft_) return false;
    arrayCellsLeft_ -= cells;
    return true;
}

Checked<ArrayOperand> EvaluationContext::toArray(const Operand& operand) const {
    if (const auto* array = std::get_if<ArrayOperand>(&operand)) return *array;
    if (const auto* range = std::get_if<RangeOperand>(&operand)) {
        const CellRect& r = range->rect;
        if (r.cellCount() > kMaxArrayCells || !spendArrayCells(r.cellCount())) return ErrorCode::Num;
        ArrayOperand array{r.rowCount(), r.columnCount(), std::vector<Value>(static_cast<std::size_t>(r.cellCount()))};
        host_.forEachFilledCell(range->sheet, r, [&](int row, int column, const Value& value) {
            if (r.contains(row, column)) array.cells[static_cast<std::size_t>(row - r.firstRow) * array.columns + (column - r.firstColumn)] = value;
        });
        return array;
    }
    return ArrayOperand{1, 1, {std::get<Value>(operand)}};
}

Operand EvaluationContext::elementwise(std::span<const Operand> arguments, const ElementFunction& function) const {
    std::vector<ArrayOperand> arrays;
    std::vector<int> arrayIndex(arguments.size(), -1);
    std::vector<Value> singles(arguments.size());
    int rows = 1, columns = 1;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (!isMultiCell(arguments[i])) {
            singles[i] = toValue(arguments[i]);
            continue;
        }
        auto array = toArray(arguments[i]);
        if (!array.ok()) return Value(array.error());
        rows = std::max(rows, (*array).rows);
        columns = std::max(columns, (*array).columns);
        arrayIndex[i] = static_cast<int>(arrays.size());
        arrays.push_back(array.take());
    }
    const std::int64_t cells = std::int64_t{rows} * columns;
    if (cells > kMaxArrayCells || !spendArrayCells(cells)) return Value(ErrorCode::Num);
    ArrayOperand result{rows, columns, std::vector<Value>(static_cast<std::size_t>(rows) * columns)};
    std::vector<Value> element(arguments.size());
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            for (std::size_t i = 0; i < arguments.size(); ++i) {
                if (arrayIndex[i] < 0) {
                    element[i] = singles[i];
                    continue;
                }
                const ArrayOperand& a = arrays[static_cast<std::size_t>(arrayIndex[i])];
                const int r = a.rows == 1 ? 0 : row, c = a.columns == 1 ? 0 : column;
                element[i] = (r < a.rows && c < a.columns) ? a.at(r, c) : Value(ErrorCode::NA);
            }
            result.cells[static_cast<std::size_t>(row) * columns + column] = function(element);
        }
    }
    return result;
}

}  // namespace tabulix::spreadsheet::formula
