#pragma once
// How a chart reads its data series from a block of cells.
//
// Plotted by rows, every row of the block is a series, except the leading `categoryLabels`
// rows, which hold the category labels; in every series row the leading `seriesLabels`
// columns hold the series' name and the cells right of them its values. The categories of
// each series are the cells of the label rows above its values.
//
// Plotted by columns it is the same with rows and columns exchanged: the leading
// `categoryLabels` columns hold the category labels, the leading `seriesLabels` rows the
// series' names, and every other column is a series.
//
// So the block B2:E20 of a table with its headings in row 2 and the articles' names in
// column B, plotted by rows with one label row and one label column, gives one series per
// article (named by B3, B4, ...) over the three months (the categories C2:E2).

#include <cstdint>
#include <optional>
#include <vector>

#include "spreadsheet/cells/cell_address.h"

namespace tabulix::spreadsheet {

enum class PlotBy : std::int32_t { Rows = 1, Columns = 2 };

// By columns when the block has at least as many rows as columns, else by rows.
PlotBy defaultPlotBy(const CellRect& block);

// The number of rows (by rows) or columns (by columns) of the block: the series lines,
// the first ones of which hold category labels.
std::uint32_t seriesLineCount(const CellRect& block, PlotBy by);
// The number of cells along each series line, the first ones of which hold its name.
std::uint32_t pointLineCount(const CellRect& block, PlotBy by);

struct SeriesSource {
    // The label cells that name the series: one cell per series-label line, none without.
    std::optional<CellRect> name;
    // The category labels for its values: one line per category-label line, none without.
    std::optional<CellRect> categories;
    CellRect values;
    bool operator==(const SeriesSource&) const = default;
};

// The series of the block, in reading order. The label counts must leave at least one series
// line and one point: categoryLabels < seriesLineCount and seriesLabels < pointLineCount.
std::vector<SeriesSource> readSeries(const CellRect& block, PlotBy by, std::uint32_t categoryLabels,
                                     std::uint32_t seriesLabels);

}  // namespace tabulix::spreadsheet
