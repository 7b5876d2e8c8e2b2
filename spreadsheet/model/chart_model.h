#pragma once
// A chart as the chart wizard builds it: its kind, its data series (cell references into one
// worksheet of the chart's workbook), its titles and its legend, made from the wizard's
// arguments after checking them.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/cells/cell_address.h"
#include "spreadsheet/model/chart_kind.h"
#include "spreadsheet/model/chart_series.h"

namespace tabulix::spreadsheet {

class Workbook;
class Worksheet;

// The arguments of ChartWizard, as given (absent when not passed).
struct ChartWizardSettings {
    std::weak_ptr<Worksheet> sourceSheet;  // the sheet of the source range
    std::optional<CellRect> source;
    std::optional<std::int32_t> gallery;
    std::optional<std::int32_t> format;
    std::optional<std::int32_t> plotBy;
    std::optional<std::int32_t> categoryLabels;
    std::optional<std::int32_t> seriesLabels;
    std::optional<bool> hasLegend;
    std::optional<std::string> title;
    std::optional<std::string> categoryTitle;
    std::optional<std::string> valueTitle;
    std::optional<std::string> extraTitle;
};

struct ChartSeries {
    SeriesSource cells;
    // The name shown when no cells name the series: "Serie1", "Serie2", ...
    std::string literalName;
};

struct ChartModel {
    // Limits of what one chart plots, so that a whole-column source cannot exhaust memory.
    static constexpr std::uint32_t kMaxSeries = 255;
    static constexpr std::uint32_t kMaxPoints = 32000;       // per series
    static constexpr std::uint32_t kMaxAllPoints = 256000;  // over all series

    ChartKind kind = ChartKind::Column;
    std::weak_ptr<Worksheet> dataSheet;
    CellRect source;
    PlotBy plotBy = PlotBy::Columns;
    std::uint32_t categoryLabels = 0;
    std::uint32_t seriesLabels = 0;
    std::vector<ChartSeries> series;
    std::string title;
    std::string categoryTitle;
    std::string valueTitle;
    // The series (depth) axis title; drawn by the kinds that have that axis.
    std::string seriesTitle;
    bool hasLegend = true;
};

// Builds the chart the settings describe for a chart sheet of `chartBook`. Missing arguments
// take the wizard's defaults: a column chart, plotted by columns when the block has at least
// as many rows as columns (else by rows), a leading label line where it holds no number,
// a legend, no titles. Raises automation::AutomationError naming the argument that cannot be
// used: a source that is missing or not on a worksheet of this workbook, a gallery code that
// is not one of the thirteen, a plot-by other than 1 or 2, label counts below 0 or leaving no
// values, a format outside 1 to 10, or a block beyond the limits of ChartModel.
ChartModel buildChartModel(const ChartWizardSettings& settings, const Workbook& chartBook);

// 'Hoja 1'!$A$1:$B$3: a sheet-qualified absolute reference, as chart parts keep them.
std::string sheetReference(std::string_view sheet, const CellRect& rect);

}  // namespace tabulix::spreadsheet
