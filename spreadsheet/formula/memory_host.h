#pragma once
// A FormulaHost that keeps cells in memory: for tests, tools and benchmarks that exercise the
// engine without a workbook. Cells are ordered row by row, as forEachFilledCell promises.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "spreadsheet/formula/formula_host.h"

namespace tabulix::spreadsheet::formula {

class MemoryHost : public FormulaHost {
public:
    // Adds a sheet and returns its index (0, 1, ...).
    int addSheet(std::string name);

    // Stores a value (an empty one clears the cell). Does not recalculate anything.
    void setValue(const CellPosition& at, Value value);
    Value value(const CellPosition& at) const { return cellValue(at.sheet, at.row, at.column); }
    std::size_t filledCellCount() const { return cells_.size(); }

    std::optional<int> sheetIndex(std::string_view name) const override;
    Value cellValue(int sheet, int row, int column) const override;
    void forEachFilledCell(int sheet, const CellRect& rect, const CellVisitor& visit) const override;
    void setFormulaResult(int sheet, int row, int column, const Value& result) override;

private:
    static std::uint64_t key(int sheet, int row, int column);

    std::vector<std::string> sheetNames_;
    std::map<std::uint64_t, Value> cells_;
};

}  // namespace tabulix::spreadsheet::formula
