#pragma once
// The series of a Calc chart, laid out as the embedded spreadsheet lays them out from a block of
// cells and its label counts: plotted by columns, the first `categoryLabels` columns hold the
// categories and every further column is a series, named by its first `seriesLabels` cells;
// plotted by rows the same across. Calc's own reading of a block takes one line of labels at
// most, and guesses from the cells' contents.

#include <string>

#include <com/sun/star/chart2/XChartDocument.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

namespace tabulix::office {

namespace css = com::sun::star;

struct SeriesLayout {
    css::table::CellRangeAddress block;
    std::string sheet;  // the name of the block's sheet
    bool byRows;
    sal_Int32 categoryLabels;
    sal_Int32 seriesLabels;
};

// Replaces the chart's series and categories with those of `layout`. The counts must leave at
// least one line of values each way (see labelCountProblem).
void setChartSeries(const css::uno::Reference<css::uno::XComponentContext>& context,
                    const css::uno::Reference<css::chart2::XChartDocument>& chart, const SeriesLayout& layout);

// Why a label count does not fit the block (the embedded spreadsheet's wording), or empty.
std::string labelCountProblem(const SeriesLayout& layout);

}  // namespace tabulix::office
