#include "spreadsheet/formula/memory_host.h"

#include "spreadsheet/formula/text_rules.h"

namespace tabulix::spreadsheet::formula {

std::uint64_t MemoryHost::key(int sheet, int row, int column) {
    return (std::uint64_t(std::uint32_t(sheet)) << 36) | (std::uint64_t(row) << 15) | std::uint64_t(column);
}

int MemoryHost::addSheet(std::string name) {
    sheetNames_.push_back(std::move(name));
    return static_cast<int>(sheetNames_.size() - 1);
}

void MemoryHost::setValue(const CellPosition& at, Value value) {
    if (value.isEmpty())
        cells_.erase(key(at.sheet, at.row, at.column));
    else
        cells_[key(at.sheet, at.row, at.column)] = std::move(value);
}

std::optional<int> MemoryHost::sheetIndex(std::string_view name) const {
    for (std::size_t i = 0; i < sheetNames_.size(); ++i)
        if (equalsIgnoringCase(sheetNames_[i], name)) return static_cast<int>(i);
    return std::nullopt;
}

Value MemoryHost::cellValue(int sheet, int row, int column) const {
    auto it = cells_.find(key(sheet, row, column));
    return it == cells_.end() ? Value() : it->second;
}

// Walks the ordered map from the first corner, jumping over the parts of each row outside the
// rectangle, so the cost follows the filled cells.
void MemoryHost::forEachFilledCell(int sheet, const CellRect& rect, const CellVisitor& visit) const {
    const std::uint64_t end = key(sheet, rect.lastRow, rect.lastColumn);
    auto it = cells_.lower_bound(key(sheet, rect.firstRow, rect.firstColumn));
    while (it != cells_.end() && it->first <= end) {
        const int row = static_cast<int>((it->first >> 15) & 0x1FFFFF);
        const int column = static_cast<int>(it->first & 0x7FFF);
        if (column < rect.firstColumn) {
            it = cells_.lower_bound(key(sheet, row, rect.firstColumn));
        } else if (column > rect.lastColumn) {
            it = cells_.lower_bound(key(sheet, row + 1, rect.firstColumn));
        } else {
            visit(row, column, it->second);
            ++it;
        }
    }
}

void MemoryHost::setFormulaResult(int sheet, int row, int column, const Value& result) {
    setValue(CellPosition{sheet, row, column}, result);
}

}  // namespace tabulix::spreadsheet::formula
