#pragma once
// A rectangle of cells of a Calc sheet as a Range: values, formulas in the English A1 notation,
// formats, merging, column widths. `columns` marks the Columns of a range, on which AutoFit
// fits the widths.

#include <memory>
#include <optional>

#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>
#include <com/sun/star/table/XCellRange.hpp>

#include "office/calc_object.h"

namespace tabulix::office {

class CalcSheet;

// A rectangle of a sheet by 0-based positions, corners in order.
struct CellBlock {
    sal_Int32 firstColumn, firstRow, lastColumn, lastRow;
    bool isSingleCell() const { return firstColumn == lastColumn && firstRow == lastRow; }
};

class CalcRange final : public CalcObject {
public:
    CalcRange(std::shared_ptr<CalcSheet> sheet, css::uno::Reference<css::table::XCellRange> cells, bool columns);
    // A range named by its cells: Calc is asked for it only when a call needs it, so that a value
    // put into one cell can wait with the session's pending cells without a round trip.
    CalcRange(std::shared_ptr<CalcSheet> sheet, CellBlock block);

    std::string_view typeName() const override { return "Range"; }
    const css::uno::Reference<css::table::XCellRange>& cells() const;
    const std::shared_ptr<CalcSheet>& sheet() const { return sheet_; }
    css::table::CellRangeAddress address() const;

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const CalcCall& call) override;
    bool passesPendingCells(const CalcCall& call) const override;
    void putValue(const CalcCall& call);
    automation::Variant value(const CalcCall& call) const;
    void putFormula(const CalcCall& call);
    automation::Variant formula(const CalcCall& call) const;
    void putNumberFormat(const CalcCall& call);
    automation::Variant numberFormat() const;
    void toggleAutoFilter();

    std::shared_ptr<CalcSheet> sheet_;
    mutable css::uno::Reference<css::table::XCellRange> cells_;  // asked for on first use
    std::optional<CellBlock> block_;                              // when named by its cells
    bool columns_;
};

// The range between two cell names (A1 notation) of a sheet. Raises AutomationError (through
// `call`) for anything that is not a cell name.
std::shared_ptr<CalcRange> rangeOfSheet(const CalcCall& call, const std::shared_ptr<CalcSheet>& sheet,
                                        const std::string& first, const std::string& last);

}  // namespace tabulix::office
