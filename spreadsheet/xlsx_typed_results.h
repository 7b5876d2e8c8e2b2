#pragma once
// Formula results of a kind the file writer cannot type: Booleans and error values. The writer
// stores every formula result that is not a number as text, so these are written as text results
// ("1" or "0", "#DIV/0!") and listed here; once the writer has closed the file, each listed cell
// gets its own type, so that a reader that does not recalculate shows TRUE or #DIV/0! and not a
// text.
// The same pass unmarks the heights of rows fitted to their fonts: the writer marks every height
// it writes as set by hand (customHeight), which only heights set through RowHeight are.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "spreadsheet/cell_address.h"

namespace tabulix::spreadsheet {

class TypedResults {
public:
    enum class Kind { Boolean, Error };

    // A cell of the `worksheet`-th worksheet of the file (from 1; chart sheets are numbered
    // apart). Cells of one worksheet must come in the order the writer wrote them.
    void add(std::size_t worksheet, CellAddress at, Kind kind);
    // A row of the `worksheet`-th worksheet whose height follows its fonts; rows of one
    // worksheet in order.
    void addFittedRow(std::size_t worksheet, std::uint32_t row);
    bool empty() const { return bySheet_.empty() && fittedRows_.empty(); }

    // Retypes the listed cells in the closed file at `path`, which stays a complete file whether
    // or not this succeeds. Raises automation::AutomationError with the reason.
    void applyTo(const std::string& path) const;

private:
    struct Entry {
        CellAddress at;
        Kind kind;
    };
    std::map<std::size_t, std::vector<Entry>> bySheet_;
    std::map<std::size_t, std::vector<std::uint32_t>> fittedRows_;
};

}  // namespace tabulix::spreadsheet
