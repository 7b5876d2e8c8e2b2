#include "spreadsheet/model/chart_series.h"

#include <stdexcept>

namespace tabulix::spreadsheet {

PlotBy defaultPlotBy(const CellRect& block) {
    return block.rowCount() >= block.columnCount() ? PlotBy::Columns : PlotBy::Rows;
}

std::uint32_t seriesLineCount(const CellRect& block, PlotBy by) {
    return by == PlotBy::Rows ? block.rowCount() : block.columnCount();
}

std::uint32_t pointLineCount(const CellRect& block, PlotBy by) {
    return by == PlotBy::Rows ? block.columnCount() : block.rowCount();
}

std::vector<SeriesSource> readSeries(const CellRect& block, PlotBy by, std::uint32_t categoryLabels,
                                     std::uint32_t seriesLabels) {
    if (categoryLabels >= seriesLineCount(block, by) || seriesLabels >= pointLineCount(block, by))
        throw std::invalid_argument("the label counts leave no values in the block " + rangeName(block));
    // Work in (line, point) coordinates: line = row and point = column when plotted by rows.
    const bool byRows = by == PlotBy::Rows;
    const std::uint32_t firstLine = byRows ? block.first.row : block.first.column;
    const std::uint32_t lastLine = byRows ? block.last.row : block.last.column;
    const std::uint32_t firstPoint = byRows ? block.first.column : block.first.row;
    const std::uint32_t lastPoint = byRows ? block.last.column : block.last.row;
    auto rect = [byRows](std::uint32_t line0, std::uint32_t line1, std::uint32_t point0, std::uint32_t point1) {
        return byRows ? CellRect{{line0, point0}, {line1, point1}} : CellRect{{point0, line0}, {point1, line1}};
    };
    const std::uint32_t valuesFrom = firstPoint + seriesLabels;
    std::optional<CellRect> categories;
    if (categoryLabels > 0) categories = rect(firstLine, firstLine + categoryLabels - 1, valuesFrom, lastPoint);

    std::vector<SeriesSource> series;
    series.reserve(lastLine - firstLine + 1 - categoryLabels);
    for (std::uint32_t line = firstLine + categoryLabels; line <= lastLine; ++line) {
        SeriesSource s{std::nullopt, categories, rect(line, line, valuesFrom, lastPoint)};
        if (seriesLabels > 0) s.name = rect(line, line, firstPoint, valuesFrom - 1);
        series.push_back(s);
    }
    return series;
}

}  // namespace tabulix::spreadsheet
