#pragma once
// Values put into cells, kept to be written together. A transfer puts one value a call, and every
// UNO call is a round trip to soffice: written as rectangles of whole rows (one call for a block
// of records) they cost a small part of that. The values are written before any other call
// reaches Calc, so nothing can observe the difference but the time; what Calc would refuse or
// cut is refused when the value is put. While the suite shows the sheet, the values are written
// in small batches of whole rows instead, so that the user sees it grow.

#include <chrono>
#include <map>
#include <utility>

#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/uno/Any.hxx>

#include "office/calc_number_formats.h"

namespace tabulix::office {

class CalcPendingCells {
public:
    // Keeps the value (a number, or a text: an empty one empties the cell) for a cell of `sheet`
    // in `document`; the values of another sheet are written first.
    void keep(const css::uno::Reference<css::frame::XModel>& document,
              const css::uno::Reference<css::sheet::XSpreadsheet>& sheet, sal_Int32 column, sal_Int32 row,
              css::uno::Any value, ImpliedFormat implied = {});
    bool empty() const { return cells_.empty(); }
    // Writes what is kept, whole rows, once its first value has waited `interval` (zero: only
    // when another call needs it or a block is full).
    void writeEvery(std::chrono::milliseconds interval) { interval_ = interval; }
    // Writes what is kept; afterwards nothing is kept, whether or not Calc took it. Raises the
    // UNO exception of a write that failed.
    void write();
    // Forgets what is kept, for a suite that is going away.
    void discard() {
        cells_.clear();
        sheet_.clear();
        document_.clear();
    }

private:
    // More would only hold memory: a block of this many cells is written at once.
    static constexpr std::size_t kMostKept = 65536;

    struct Kept {
        css::uno::Any value;
        ImpliedFormat implied;
    };
    // Gives the cells of each column run of one implied format its standard format, where they
    // have the general one.
    void writeImpliedFormats(const std::map<std::pair<sal_Int32, sal_Int32>, Kept>& cells) const;

    css::uno::Reference<css::frame::XModel> document_;
    css::uno::Reference<css::sheet::XSpreadsheet> sheet_;
    std::map<std::pair<sal_Int32, sal_Int32>, Kept> cells_;  // (row, column)
    std::chrono::milliseconds interval_{0};
    std::chrono::steady_clock::time_point firstKept_;
    sal_Int32 lastRow_ = -1;
};

}  // namespace tabulix::office
