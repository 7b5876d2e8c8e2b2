#include "office/calc_pending_cells.h"

#include <optional>
#include <vector>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/sheet/XCellFormatRangesSupplier.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>

namespace tabulix::office {

using css::uno::Any;
using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY_THROW;

namespace {

// Whether Calc may read the text `value` as something else (a number, a date, a percentage, a
// Boolean, a formula): then it gives the cell the text format.
bool mayReadAsNumber(const Any& value) {
    if (value.getValueTypeClass() != css::uno::TypeClass_STRING) return false;
    const rtl::OUString* text = static_cast<const rtl::OUString*>(value.getValue());
    if (text->isEmpty()) return false;
    if (text->equalsIgnoreAsciiCase("TRUE") || text->equalsIgnoreAsciiCase("FALSE") || (*text)[0] == '=') return true;
    for (sal_Int32 i = 0; i < text->getLength(); ++i)
        if ((*text)[i] >= '0' && (*text)[i] <= '9') return true;
    return false;
}

// Whether every cell of `area` has the general number format.
bool hasGeneralFormat(const Reference<css::table::XCellRange>& area) {
    const Reference<css::beans::XPropertySet> props(area, UNO_QUERY_THROW);
    sal_Int32 key = -1;
    return Reference<css::sheet::XCellFormatRangesSupplier>(area, UNO_QUERY_THROW)->getCellFormatRanges()->getCount() == 1 &&
           (props->getPropertyValue("NumberFormat") >>= key) && key == 0;
}

}  // namespace

void CalcPendingCells::keep(const Reference<css::frame::XModel>& document, const Reference<css::sheet::XSpreadsheet>& sheet,
                            sal_Int32 column, sal_Int32 row, Any value, ImpliedFormat implied) {
    if (!cells_.empty() && sheet != sheet_) write();
    // A new row begins: the rows before it are whole, and written when they have waited long enough.
    const auto now = std::chrono::steady_clock::now();
    if (interval_.count() > 0 && !cells_.empty() && row != lastRow_ && now - firstKept_ >= interval_) write();
    if (cells_.empty()) firstKept_ = now;
    lastRow_ = row;
    document_ = document;
    sheet_ = sheet;
    cells_[{row, column}] = Kept{std::move(value), std::move(implied)};
    if (cells_.size() >= kMostKept) write();
}

void CalcPendingCells::write() {
    if (cells_.empty()) return;
    std::map<std::pair<sal_Int32, sal_Int32>, Kept> cells;
    cells.swap(cells_);
    const Reference<css::table::XCellRange> sheetCells(sheet_, UNO_QUERY_THROW);

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
        bool numberLike = false;
        for (std::size_t r = 0; r < block.size(); ++r) {
            rows.getArray()[r] = Sequence<Any>(block[r].values.data(), static_cast<sal_Int32>(block[r].values.size()));
            for (const Any& value : block[r].values) numberLike = numberLike || mayReadAsNumber(value);
        }
        const Run& top = block.front();
        const Reference<css::table::XCellRange> area =
            sheetCells->getCellRangeByPosition(top.first, top.row, top.last, block.back().row);
        // Calc gives a text that it would read as a number or a formula the text format ("@");
        // the cells keep their general format, as in the application.
        const bool general = numberLike && hasGeneralFormat(area);
        std::vector<Reference<css::beans::XPropertySet>> generalCells;  // in an area formatted otherwise
        if (numberLike && !general) {
            for (std::size_t r = 0; r < block.size(); ++r)
                for (std::size_t c = 0; c < block[r].values.size(); ++c) {
                    if (!mayReadAsNumber(block[r].values[c])) continue;
                    Reference<css::beans::XPropertySet> cell(
                        area->getCellByPosition(static_cast<sal_Int32>(c), static_cast<sal_Int32>(r)), UNO_QUERY_THROW);
                    sal_Int32 key = -1;
                    if ((cell->getPropertyValue("NumberFormat") >>= key) && key == 0) generalCells.push_back(cell);
                }
        }
        Reference<css::sheet::XCellRangeData>(area, UNO_QUERY_THROW)->setDataArray(rows);
        if (general) Reference<css::beans::XPropertySet>(area, UNO_QUERY_THROW)->setPropertyValue("NumberFormat", Any(sal_Int32{0}));
        for (const auto& cell : generalCells) cell->setPropertyValue("NumberFormat", Any(sal_Int32{0}));
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
    for (const auto& [at, kept] : cells) {
        const auto [row, column] = at;
        if (run.row == row && column == run.last + 1) {
            run.last = column;
        } else {
            if (run.row >= 0) add(std::move(run));
            run = Run{row, column, column, {}};
        }
        run.values.push_back(kept.value);
    }
    if (run.row >= 0) add(std::move(run));
    writeBlock();
    writeImpliedFormats(cells);
    sheet_.clear();
    document_.clear();
}

void CalcPendingCells::writeImpliedFormats(const std::map<std::pair<sal_Int32, sal_Int32>, Kept>& cells) const {
    // Runs down a column: cells of one column in consecutive rows with the same implied format.
    struct Run {
        sal_Int32 column, first, last;
        const ImpliedFormat* implied;
    };
    std::map<std::pair<sal_Int32, sal_Int32>, const ImpliedFormat*> byColumn;  // (column, row)
    for (const auto& [at, kept] : cells)
        if (kept.implied.kind != ImpliedFormat::Kind::None) byColumn[{at.second, at.first}] = &kept.implied;
    if (byColumn.empty()) return;

    const Reference<css::table::XCellRange> sheetCells(sheet_, UNO_QUERY_THROW);
    const Reference<css::util::XNumberFormats> formats =
        Reference<css::util::XNumberFormatsSupplier>(document_, UNO_QUERY_THROW)->getNumberFormats();
    auto format = [&](const Run& run) {
        const sal_Int32 key = impliedFormatKey(formats, *run.implied);
        const Reference<css::beans::XPropertySet> cellsOfRun(
            sheetCells->getCellRangeByPosition(run.column, run.first, run.column, run.last), UNO_QUERY_THROW);
        // A run formatted alike throughout is one format range: when that has the general
        // format, the run takes the new one at once; otherwise its cells are looked at one by one.
        const Reference<css::container::XIndexAccess> alike =
            Reference<css::sheet::XCellFormatRangesSupplier>(cellsOfRun, UNO_QUERY_THROW)->getCellFormatRanges();
        sal_Int32 current = -1;
        if (alike->getCount() == 1 && (cellsOfRun->getPropertyValue("NumberFormat") >>= current) && current == 0) {
            cellsOfRun->setPropertyValue("NumberFormat", Any(key));
            return;
        }
        for (sal_Int32 row = run.first; row <= run.last; ++row) {
            const Reference<css::beans::XPropertySet> cell(sheetCells->getCellByPosition(run.column, row), UNO_QUERY_THROW);
            sal_Int32 own = 0;
            cell->getPropertyValue("NumberFormat") >>= own;
            if (own == 0) cell->setPropertyValue("NumberFormat", Any(key));
        }
    };
    std::optional<Run> run;
    for (const auto& [at, implied] : byColumn) {
        const auto [column, row] = at;
        if (run && run->column == column && row == run->last + 1 && *run->implied == *implied) {
            run->last = row;
            continue;
        }
        if (run) format(*run);
        run = Run{column, row, row, implied};
    }
    if (run) format(*run);
}

}  // namespace tabulix::office
