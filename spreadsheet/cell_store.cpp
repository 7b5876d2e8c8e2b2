#include "spreadsheet/cell_store.h"

#include <algorithm>
#include <utility>

namespace tabulix::spreadsheet {

CellStore::CellStore() : blocks_((kMaxRows + kRowsPerBlock - 1) / kRowsPerBlock) {}

CellStore::~CellStore() = default;

const Cell* CellStore::find(CellAddress at) const {
    const std::span<const Cell> cells = row(at.row);
    const auto column0 = static_cast<std::uint16_t>(at.column - 1);
    if (cells.empty()) return nullptr;
    const std::size_t guess = static_cast<std::size_t>(column0) - cells.front().column0;
    if (column0 >= cells.front().column0 && guess < cells.size() && cells[guess].column0 == column0)
        return &cells[guess];
    const auto it = std::lower_bound(cells.begin(), cells.end(), column0,
                                     [](const Cell& c, std::uint16_t col) { return c.column0 < col; });
    return it != cells.end() && it->column0 == column0 ? &*it : nullptr;
}

Cell* CellStore::find(CellAddress at) { return const_cast<Cell*>(std::as_const(*this).find(at)); }

Cell& CellStore::obtain(CellAddress at) {
    std::unique_ptr<Block>& block = blocks_[(at.row - 1) / kRowsPerBlock];
    if (!block) block = std::make_unique<Block>();
    std::vector<Cell>& cells = block->rows[(at.row - 1) % kRowsPerBlock];
    const auto column0 = static_cast<std::uint16_t>(at.column - 1);
    Cell cell;
    cell.column0 = column0;
    if (cells.empty()) {
        // A new row: size it like the row started before it, so rows of equal length grow once.
        if (lastRow_ != 0 && lastRow_ != at.row) {
            if (const std::span<const Cell> previous = row(lastRow_); !previous.empty())
                rowSizeHint_ = std::clamp<std::size_t>(previous.size(), 1, 256);
        }
        cells.reserve(rowSizeHint_);
        lastRow_ = at.row;
    } else if (cells.back().column0 >= column0) {
        // Rows are mostly dense from their first cell: try the cell's place before searching.
        const std::size_t guess = static_cast<std::size_t>(column0) - cells.front().column0;
        if (column0 >= cells.front().column0 && guess < cells.size() && cells[guess].column0 == column0)
            return cells[guess];
        const auto it = std::lower_bound(cells.begin(), cells.end(), column0,
                                         [](const Cell& c, std::uint16_t col) { return c.column0 < col; });
        if (it->column0 == column0) return *it;
        ++cellCount_;
        return *cells.insert(it, cell);
    }
    // Appending in column order is the common case: no search.
    ++cellCount_;
    cells.push_back(cell);
    return cells.back();
}

std::span<Cell> CellStore::obtainRun(std::uint32_t row, std::uint32_t firstColumn, std::uint32_t lastColumn) {
    const std::size_t count = lastColumn - firstColumn + 1;
    const auto first0 = static_cast<std::uint16_t>(firstColumn - 1);
    const auto last0 = static_cast<std::uint16_t>(lastColumn - 1);
    auto findRun = [&]() -> std::span<Cell> {
        std::span<Cell> cells = this->row(row);
        const auto it = std::lower_bound(cells.begin(), cells.end(), first0,
                                         [](const Cell& c, std::uint16_t col) { return c.column0 < col; });
        const auto at = static_cast<std::size_t>(it - cells.begin());
        // Columns are unique and sorted: the run is complete when its last cell is the last column.
        if (at + count <= cells.size() && it->column0 == first0 && cells[at + count - 1].column0 == last0)
            return cells.subspan(at, count);
        return {};
    };
    if (std::span<Cell> run = findRun(); !run.empty()) return run;
    for (std::uint32_t c = firstColumn; c <= lastColumn; ++c) obtain({row, c});
    return findRun();
}

void CellStore::setFormula(Cell& cell, std::string text) {
    if (cell.kind == CellKind::Formula) {
        formulas_[cell.formula] = FormulaSlot{std::move(text), {}};
        return;
    }
    std::uint32_t slot;
    if (!freeFormulas_.empty()) {
        slot = freeFormulas_.back();
        freeFormulas_.pop_back();
        formulas_[slot] = FormulaSlot{std::move(text), {}};
    } else {
        slot = static_cast<std::uint32_t>(formulas_.size());
        formulas_.push_back(FormulaSlot{std::move(text), {}});
    }
    cell.kind = CellKind::Formula;
    cell.formula = slot;
}

void CellStore::clearFormula(Cell& cell) {
    if (cell.kind != CellKind::Formula) return;
    formulas_[cell.formula] = FormulaSlot{};
    freeFormulas_.push_back(cell.formula);
    cell.kind = CellKind::Blank;
    cell.number = 0.0;
}

std::span<const Cell> CellStore::row(std::uint32_t r) const {
    if (r == 0 || r > kMaxRows) return {};
    const std::unique_ptr<Block>& block = blocks_[(r - 1) / kRowsPerBlock];
    if (!block) return {};
    return block->rows[(r - 1) % kRowsPerBlock];
}

std::span<Cell> CellStore::row(std::uint32_t r) {
    if (r == 0 || r > kMaxRows) return {};
    std::unique_ptr<Block>& block = blocks_[(r - 1) / kRowsPerBlock];
    if (!block) return {};
    return block->rows[(r - 1) % kRowsPerBlock];
}

std::size_t CellStore::memoryUse() const {
    std::size_t bytes = blocks_.capacity() * sizeof(std::unique_ptr<Block>);
    for (const auto& block : blocks_) {
        if (!block) continue;
        bytes += sizeof(Block);
        for (const auto& cells : block->rows) bytes += cells.capacity() * sizeof(Cell);
    }
    bytes += formulas_.capacity() * sizeof(FormulaSlot);
    for (const FormulaSlot& f : formulas_) bytes += f.text.capacity();
    return bytes;
}

}  // namespace tabulix::spreadsheet
