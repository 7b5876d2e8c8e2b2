#pragma once
// Column widths: Calc's 1/100 mm in the application's unit (characters of the default font's
// widest digit, at most 255), and fitting columns to some of their cells.

#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>

namespace tabulix::office {

namespace css = com::sun::star;

inline constexpr double kMaxColumnCharacters = 255.0;

double charactersOfWidth(sal_Int32 hmm);
sal_Int32 widthOfCharacters(double characters);

// Fits each column of `range` to what the range's own cells show (merged cells aside), as
// AutoFit does; a column whose cells in the range are all empty gets the default width. Calc's
// own optimal width would take every cell of the column, a title above the data included. A
// heading cell of the sheet's filter gets room for the filter's button beside its text.
void fitColumns(const css::uno::Reference<css::sheet::XSpreadsheetDocument>& document,
                const css::table::CellRangeAddress& range);

}  // namespace tabulix::office
