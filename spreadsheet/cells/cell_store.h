#pragma once
// The cells of one worksheet. Rows are kept in blocks of 256 that are allocated on first use;
// each row is an array of 16-byte cells sorted by column, in space the block hands out from a
// few large chunks rather than one heap allocation per row. A cell holds its kind, a style id
// and an 8-byte payload (a number, a text id, a Boolean, an error code or a formula slot), so a
// plain numeric cell costs 16 bytes plus its share of a 16-byte row entry.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "spreadsheet/cells/cell_address.h"
#include "spreadsheet/cells/cell_value.h"

namespace tabulix::spreadsheet {

enum class CellKind : std::uint8_t { Blank, Number, Text, Boolean, Error, Formula };

struct Cell {
    std::uint16_t column0 = 0;  // 0-based column
    CellKind kind = CellKind::Blank;
    std::uint32_t style = 0;
    union {
        double number;
        std::uint32_t text;     // StringPool id
        bool boolean;
        std::uint16_t error;    // CellError
        std::uint32_t formula;  // slot in the store's formula table
    };
    Cell() : number(0.0) {}
};
static_assert(sizeof(Cell) == 16);

// A formula as written, and the last value computed for it (none until it is calculated).
struct FormulaSlot {
    std::string text;
    CellValue cached;
};

class CellStore {
public:
    CellStore();
    ~CellStore();
    CellStore(const CellStore&) = delete;
    CellStore& operator=(const CellStore&) = delete;

    // nullptr when the cell has never been written or styled.
    const Cell* find(CellAddress at) const;
    Cell* find(CellAddress at);
    // The cell, created blank with the default style when absent.
    Cell& obtain(CellAddress at);

    // The cells of columns first to last of a row, created blank where absent; they lie side by
    // side in the row.
    std::span<Cell> obtainRun(std::uint32_t row, std::uint32_t firstColumn, std::uint32_t lastColumn);

    // Turns the cell into a formula cell with the given text (no cached result yet).
    void setFormula(Cell& cell, std::string text);
    // Releases the formula slot of a formula cell before it takes another kind of content.
    void clearFormula(Cell& cell);
    FormulaSlot& formula(const Cell& cell) { return formulas_[cell.formula]; }
    const FormulaSlot& formula(const Cell& cell) const { return formulas_[cell.formula]; }

    // The cells of one row, sorted by column (empty when the row holds none).
    std::span<const Cell> row(std::uint32_t row) const;
    std::span<Cell> row(std::uint32_t row);
    // Calls fn(rowNumber, cells) for every non-empty row in ascending order.
    template <class Fn>
    void forEachRow(Fn&& fn) const {
        for (std::size_t b = 0; b < blocks_.size(); ++b) {
            if (!blocks_[b]) continue;
            for (std::size_t i = 0; i < kRowsPerBlock; ++i) {
                const Row& cells = blocks_[b]->rows[i];
                if (cells.size != 0)
                    fn(static_cast<std::uint32_t>(b * kRowsPerBlock + i + 1),
                       std::span<const Cell>(cells.cells, cells.size));
            }
        }
    }
    // Calls fn(address, cell) for the existing cells of a rectangle, row by row.
    template <class Fn>
    void forEachIn(const CellRect& rect, Fn&& fn) {
        for (std::uint32_t r = rect.first.row; r <= rect.last.row; ++r) {
            std::span<Cell> cells = row(r);
            for (Cell& cell : cells) {
                const std::uint32_t column = cell.column0 + 1u;
                if (column < rect.first.column) continue;
                if (column > rect.last.column) break;
                fn(CellAddress{r, column}, cell);
            }
        }
    }

    std::size_t cellCount() const { return cellCount_; }
    // Bytes held by the store (cells, row vectors, blocks, formula slots), for measurements.
    std::size_t memoryUse() const;

private:
    static constexpr std::size_t kRowsPerBlock = 256;
    // A row's cells. The row given space last in its block grows into the space after it; any
    // other row that outgrows its space moves to twice as much, and the space it leaves stays
    // with the block (rows are mostly written one after another, seldom grow afterwards, and
    // never shrink).
    struct Row {
        Cell* cells = nullptr;
        std::uint16_t size = 0;
        std::uint16_t capacity = 0;
    };
    struct Block {
        std::array<Row, kRowsPerBlock> rows;
        std::vector<std::unique_ptr<Cell[]>> chunks;
        Cell* spare = nullptr;  // the unused end of the last chunk
        std::size_t spareCount = 0;
        // The row given space last: its space ends where the spare begins, in the same chunk.
        std::size_t lastRow = kRowsPerBlock;
        std::size_t chunkCells = 0;  // cells in all chunks, for memoryUse
    };

    // Space for count cells of the row at index within the block. A chunk holds the space of up
    // to 32 rows of that size, so a block of equal rows takes a handful of allocations.
    static Cell* allocateCells(Block& block, std::size_t index, std::size_t count);
    // Inserts cell at position within the row, moving the row to more space when it is full.
    static Cell& insertCell(Block& block, std::size_t index, std::size_t position, const Cell& cell,
                            std::size_t firstCapacity);

    std::vector<std::unique_ptr<Block>> blocks_;
    std::vector<FormulaSlot> formulas_;
    std::vector<std::uint32_t> freeFormulas_;
    std::size_t cellCount_ = 0;
    std::size_t rowSizeHint_ = 1;  // cells in the row last started, to size the next one at once
    std::uint32_t lastRow_ = 0;
};

}  // namespace tabulix::spreadsheet
