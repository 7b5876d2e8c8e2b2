#include "office/calc_column_widths.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XCellRangeMovement.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XDatabaseRange.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/sheet/XUnnamedDatabaseRanges.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>

#include "office/uno_text.h"

namespace tabulix::office {

using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace {

constexpr double kHmmPerPixel = 2540.0 / 96.0;
constexpr double kDigitPixels = 7.0;  // the widest digit of the workbook's default font
constexpr double kPaddingPixels = 5.0;
// The filter's drop-down button: LibreOffice draws it 18 pixels wide at most (at 100 %), as the
// embedded spreadsheet's fit allows for it.
constexpr sal_Int32 kFilterButtonHmm = static_cast<sal_Int32>(18 * kHmmPerPixel + 0.5);

constexpr sal_Int32 kShownContent = css::sheet::CellFlags::VALUE | css::sheet::CellFlags::DATETIME |
                                    css::sheet::CellFlags::STRING | css::sheet::CellFlags::FORMULA;

Reference<css::beans::XPropertySet> propertiesOf(const Any& object) {
    return Reference<css::beans::XPropertySet>(object, UNO_QUERY_THROW);
}

bool holds(const Reference<css::table::XCellRange>& cells, sal_Int32 flags) {
    return Reference<css::sheet::XCellRangesQuery>(cells, UNO_QUERY_THROW)->queryContentCells(flags)->getCount() > 0;
}

// A sheet that exists while the columns are fitted, at the end of the document.
class ScratchSheet {
public:
    explicit ScratchSheet(const Reference<css::sheet::XSpreadsheetDocument>& document)
        : sheets_(document->getSheets()), name_(toUno("TabulixFit" + std::to_string(++counter_))) {
        const sal_Int16 count =
            static_cast<sal_Int16>(Reference<css::container::XIndexAccess>(sheets_, UNO_QUERY_THROW)->getCount());
        sheets_->insertNewByName(name_, count);
        sheet_.set(sheets_->getByName(name_), UNO_QUERY_THROW);
        index_ = count;
    }
    ~ScratchSheet() {
        try {
            sheets_->removeByName(name_);
        } catch (const css::uno::Exception&) {
            // The suite went away; the error that follows says so.
        }
    }
    ScratchSheet(const ScratchSheet&) = delete;
    ScratchSheet& operator=(const ScratchSheet&) = delete;

    const Reference<css::sheet::XSpreadsheet>& sheet() const { return sheet_; }
    sal_Int16 index() const { return index_; }

private:
    static inline std::atomic<int> counter_{0};
    Reference<css::sheet::XSpreadsheets> sheets_;
    rtl::OUString name_;
    Reference<css::sheet::XSpreadsheet> sheet_;
    sal_Int16 index_ = 0;
};

Reference<css::table::XCellRange> cellsOf(const Reference<css::sheet::XSpreadsheetDocument>& document,
                                          const css::table::CellRangeAddress& range) {
    const Reference<css::table::XCellRange> sheet(
        Reference<css::container::XIndexAccess>(document->getSheets(), UNO_QUERY_THROW)->getByIndex(range.Sheet),
        UNO_QUERY_THROW);
    return sheet->getCellRangeByPosition(range.StartColumn, range.StartRow, range.EndColumn, range.EndRow);
}

struct ColumnFit {
    sal_Int32 defaultWidth = 0;                    // of a new column
    std::vector<std::optional<sal_Int32>> widths;  // none for a column whose cells are all empty
};

// The width Calc's optimal width gives each column of `range` for the range's own cells.
ColumnFit optimalWidths(const Reference<css::sheet::XSpreadsheetDocument>& document,
                        const css::table::CellRangeAddress& range) {
    const Reference<css::table::XCellRange> cells = cellsOf(document, range);
    const sal_Int32 columnCount = range.EndColumn - range.StartColumn + 1;
    const ScratchSheet scratch(document);
    const Reference<css::table::XCellRange> scratchCells(scratch.sheet(), UNO_QUERY_THROW);
    const Reference<css::table::XCellRange> copy =
        scratchCells->getCellRangeByPosition(0, 0, columnCount - 1, range.EndRow - range.StartRow);
    const Reference<css::container::XIndexAccess> fitted(
        Reference<css::table::XColumnRowRange>(copy, UNO_QUERY_THROW)->getColumns(), UNO_QUERY_THROW);
    ColumnFit fit;
    propertiesOf(fitted->getByIndex(0))->getPropertyValue("Width") >>= fit.defaultWidth;

    // The copy shows what the cells show: their formats come along, and formulas (whose
    // references would move with them) are replaced by their results.
    Reference<css::sheet::XCellRangeMovement>(scratch.sheet(), UNO_QUERY_THROW)
        ->copyRange(css::table::CellAddress(scratch.index(), 0, 0), range);
    if (holds(cells, css::sheet::CellFlags::FORMULA))
        Reference<css::sheet::XCellRangeData>(copy, UNO_QUERY_THROW)
            ->setDataArray(Reference<css::sheet::XCellRangeData>(cells, UNO_QUERY_THROW)->getDataArray());
    Reference<css::beans::XPropertySet>(fitted, UNO_QUERY_THROW)->setPropertyValue("OptimalWidth", Any(true));

    for (sal_Int32 i = 0; i < columnCount; ++i) {
        const Any column = fitted->getByIndex(i);
        std::optional<sal_Int32> width;
        if (holds(Reference<css::table::XCellRange>(column, UNO_QUERY_THROW), kShownContent)) {
            sal_Int32 optimal = 0;
            propertiesOf(column)->getPropertyValue("Width") >>= optimal;
            width = optimal;
        }
        fit.widths.push_back(width);
    }
    return fit;
}

// The cells of `range` that carry the sheet's filter buttons (its filter's heading row), if any.
std::optional<css::table::CellRangeAddress> filterHeadings(const Reference<css::sheet::XSpreadsheetDocument>& document,
                                                           const css::table::CellRangeAddress& range) {
    const Reference<css::sheet::XUnnamedDatabaseRanges> ranges(
        propertiesOf(Any(document))->getPropertyValue("UnnamedDatabaseRanges"), UNO_QUERY_THROW);
    if (!ranges->hasByTable(range.Sheet)) return std::nullopt;
    const Any filter = ranges->getByTable(range.Sheet);
    bool on = false;
    propertiesOf(filter)->getPropertyValue("AutoFilter") >>= on;
    if (!on) return std::nullopt;
    const css::table::CellRangeAddress area = Reference<css::sheet::XDatabaseRange>(filter, UNO_QUERY_THROW)->getDataArea();
    if (area.StartRow < range.StartRow || area.StartRow > range.EndRow) return std::nullopt;
    css::table::CellRangeAddress headings = range;
    headings.StartRow = headings.EndRow = area.StartRow;
    headings.StartColumn = std::max(range.StartColumn, area.StartColumn);
    headings.EndColumn = std::min(range.EndColumn, area.EndColumn);
    if (headings.StartColumn > headings.EndColumn) return std::nullopt;
    return headings;
}

}  // namespace

double charactersOfWidth(sal_Int32 hmm) {
    const double pixels = std::round(hmm / kHmmPerPixel);
    return std::max(0.0, std::round((pixels - kPaddingPixels) / kDigitPixels * 100.0) / 100.0);
}

sal_Int32 widthOfCharacters(double characters) {
    return static_cast<sal_Int32>(std::lround((characters * kDigitPixels + kPaddingPixels) * kHmmPerPixel));
}

void fitColumns(const Reference<css::sheet::XSpreadsheetDocument>& document, const css::table::CellRangeAddress& range) {
    const Reference<css::container::XIndexAccess> targets(
        Reference<css::table::XColumnRowRange>(cellsOf(document, range), UNO_QUERY_THROW)->getColumns(), UNO_QUERY_THROW);
    ColumnFit fit = optimalWidths(document, range);
    // The copy Calc fits carries no filter, so its optimal width leaves no room for a heading's
    // filter button: the headings are measured alone and given the button's room, so that they
    // read whole beside it.
    if (const auto headings = filterHeadings(document, range)) {
        const ColumnFit fitted = optimalWidths(document, *headings);
        for (std::size_t i = 0; i < fitted.widths.size(); ++i) {
            if (!fitted.widths[i]) continue;
            auto& width = fit.widths[static_cast<std::size_t>(headings->StartColumn - range.StartColumn) + i];
            width = std::max(width.value_or(0), *fitted.widths[i] + kFilterButtonHmm);
        }
    }
    const sal_Int32 widest = widthOfCharacters(kMaxColumnCharacters);
    for (std::size_t i = 0; i < fit.widths.size(); ++i)
        propertiesOf(targets->getByIndex(static_cast<sal_Int32>(i)))
            ->setPropertyValue("Width", Any(std::min(fit.widths[i].value_or(fit.defaultWidth), widest)));
}

}  // namespace tabulix::office
