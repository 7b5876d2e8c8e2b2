#include "office/calc_pending_cells.h"

#include <vector>

#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/table/XCellRange.hpp>

namespace tabulix::office {

using css::uno::Any;
using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY_THROW;

void CalcPendingCells::keep(const Reference<css::sheet::XSpreadsheet>& sheet, sal_Int32 column, sal_Int32 row,
                            Any value) {
    if (!cells_.empty() && sheet != sheet_) write();
    sheet_ = sheet;
    cells_[{row, column}] = std::move(value);
    if (cells_.size() >= kMostKept) write();
}

void CalcPendingCells::write() {
    if (cells_.empty()) return;
    std::map<std::pair<sal_Int32, sal_Int32>, Any> cells;
    cells.swap(cells_);
    const Reference<css::table::XCellRange> sheetCells(sheet_, UNO_QUERY_THROW);
    sheet_.clear();

    // Runs of neighbouring cells in a row; runs over the same columns in consecutive rows make
    // one rectangle, every cell of which has a value to write.
    struct Run {
        sal_Int32 row, first, last;
        std::vector<Any> values;
    };
    std::vector<Run> block;
    auto writeBlock = [&] {
        if (block.empty()) return;
        Sequence<Sequence<Any>> rows(static_cast<sal_Int32>(block.size()));
        for (std::size_t r = 0; r < block.size(); ++r)
            rows.getArray()[r] = Sequence<Any>(block[r].values.data(), static_cast<sal_Int32>(block[r].values.size()));
        const Run& top = block.front();
        Reference<css::sheet::XCellRangeData>(
            sheetCells->getCellRangeByPosition(top.first, top.row, top.last, block.back().row), UNO_QUERY_THROW)
            ->setDataArray(rows);
        block.clear();
    };
    auto add = [&](Run run) {
        if (!block.empty()) {
            const Run& last = block.back();
            if (run.row != last.row + 1 || run.first != last.first || run.last != last.last) writeBlock();
        }
        block.push_back(std::move(run));
    };
    Run run{-1, -1, -1, {}};
    for (auto& [at, value] : cells) {
        const auto [row, column] = at;
        if (run.row == row && column == run.last + 1) {
            run.last = column;
        } else {
            if (run.row >= 0) add(std::move(run));
            run = Run{row, column, column, {}};
        }
        run.values.push_back(std::move(value));
    }
    if (run.row >= 0) add(std::move(run));
    writeBlock();
}

}  // namespace tabulix::office
