#include "spreadsheet/cells/cell_store.h"

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

Cell* CellStore::allocateCells(Block& block, std::size_t index, std::size_t count) {
    if (block.spareCount < count) {
        constexpr std::size_t kRowsPerChunk = 32;
        constexpr std::size_t kLargestChunk = std::size_t{1} << 16;  // cells: 1 MiB
        const std::size_t rowsLeft = std::min(kRowsPerChunk, kRowsPerBlock - index);
        const std::size_t cells = std::max(count, std::min(count * rowsLeft, kLargestChunk));
        block.chunks.push_back(std::unique_ptr<Cell[]>(new Cell[cells]));
        block.spare = block.chunks.back().get();
        block.spareCount = cells;
        block.chunkCells += cells;
    }
    Cell* space = block.spare;
    block.spare += count;
    block.spareCount -= count;
    block.lastRow = index;
    return space;
}

Cell& CellStore::insertCell(Block& block, std::size_t index, std::size_t position, const Cell& cell,
                            std::size_t firstCapacity) {
    Row& row = block.rows[index];
    if (row.size == row.capacity && row.size != 0 && index == block.lastRow && block.spareCount != 0) {
        // The row written last in its block ends where the spare space begins: it grows in
        // place, whatever its first size was.
        ++block.spare;
        --block.spareCount;
        ++row.capacity;
    } else if (row.size == row.capacity) {
        const std::size_t capacity =
            row.capacity == 0 ? firstCapacity : std::min<std::size_t>(std::size_t{row.capacity} * 2, kMaxColumns);
        Cell* space = allocateCells(block, index, capacity);
        std::copy(row.cells, row.cells + row.size, space);
        row.cells = space;
        row.capacity = static_cast<std::uint16_t>(capacity);
    }
    std::copy_backward(row.cells + position, row.cells + row.size, row.cells + row.size + 1);
    row.cells[position] = cell;
    ++row.size;
    return row.cells[position];
}

Cell& CellStore::obtain(CellAddress at) {
    std::unique_ptr<Block>& block = blocks_[(at.row - 1) / kRowsPerBlock];
    if (!block) block = std::make_unique<Block>();
    const std::size_t index = (at.row - 1) % kRowsPerBlock;
    const Row& row = block->rows[index];
    const std::span<Cell> cells(row.cells, row.size);
    const auto column0 = static_cast<std::uint16_t>(at.column - 1);
    Cell cell;
    cell.column0 = column0;
    std::size_t position = cells.size();  // appending in column order is the common case
    if (cells.empty()) {
        // A new row: size it like the row started before it, so rows of equal length grow once.
        if (lastRow_ != 0 && lastRow_ != at.row) {
            if (const std::span<const Cell> previous = this->row(lastRow_); !previous.empty())
                rowSizeHint_ = std::clamp<std::size_t>(previous.size(), 1, 256);
        }
        lastRow_ = at.row;
    } else if (cells.back().column0 >= column0) {
        // Rows are mostly dense from their first cell: try the cell's place before searching.
        const std::size_t guess = static_cast<std::size_t>(column0) - cells.front().column0;
        if (column0 >= cells.front().column0 && guess < cells.size() && cells[guess].column0 == column0)
            return cells[guess];
        const auto it = std::lower_bound(cells.begin(), cells.end(), column0,
                                         [](const Cell& c, std::uint16_t col) { return c.column0 < col; });
        if (it->column0 == column0) return *it;
        position = static_cast<std::size_t>(it - cells.begin());
    }
    ++cellCount_;
    return insertCell(*block, index, position, cell, rowSizeHint_);
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
    const Row& cells = block->rows[(r - 1) % kRowsPerBlock];
    return {cells.cells, cells.size};
}

std::span<Cell> CellStore::row(std::uint32_t r) {
    if (r == 0 || r > kMaxRows) return {};
    std::unique_ptr<Block>& block = blocks_[(r - 1) / kRowsPerBlock];
    if (!block) return {};
    const Row& cells = block->rows[(r - 1) % kRowsPerBlock];
    return {cells.cells, cells.size};
}

std::size_t CellStore::memoryUse() const {
    std::size_t bytes = blocks_.capacity() * sizeof(std::unique_ptr<Block>);
    for (const auto& block : blocks_) {
        if (!block) continue;
        bytes += sizeof(Block) + block->chunks.capacity() * sizeof(block->chunks[0]) +
                 block->chunkCells * sizeof(Cell);
    }
    bytes += formulas_.capacity() * sizeof(FormulaSlot);
    for (const FormulaSlot& f : formulas_) bytes += f.text.capacity();
    return bytes;
}

}  // namespace tabulix::spreadsheet
