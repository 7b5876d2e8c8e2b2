#include "spreadsheet/model/chart_model.h"

#include <variant>

#include "automation/automation_error.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;

namespace {

[[noreturn]] void refuse(const std::string& message) { throw AutomationError(message); }

std::string plotByWords(PlotBy by) { return by == PlotBy::Rows ? "plotted by rows" : "plotted by columns"; }

std::string galleryList() {
    std::string list;
    for (std::int32_t code : galleryCodes()) list += (list.empty() ? "" : ", ") + std::to_string(code);
    return list;
}

// A leading line holds labels when none of its cells but the corner holds a number, as long
// as it is not the block's only line.
std::uint32_t guessLabelLines(const Worksheet& sheet, const CellRect& block, bool leadingRow) {
    const std::uint32_t lines = leadingRow ? block.rowCount() : block.columnCount();
    if (lines < 2) return 0;
    const std::uint32_t from = leadingRow ? block.first.column + 1 : block.first.row + 1;
    const std::uint32_t to = leadingRow ? block.last.column : block.last.row;
    for (std::uint32_t i = from; i <= to; ++i) {
        const CellAddress at = leadingRow ? CellAddress{block.first.row, i} : CellAddress{i, block.first.column};
        if (std::holds_alternative<double>(sheet.cellValue(at))) return 0;
    }
    return 1;
}

std::uint32_t labelCount(std::optional<std::int32_t> given, std::string_view what, int argument,
                         std::uint32_t lines, std::string_view lineWord, const CellRect& block, PlotBy by,
                         std::uint32_t guessed) {
    if (!given) return guessed;
    const std::string where = std::string(what) + " (argument " + std::to_string(argument) + ")";
    if (*given < 0) refuse("the " + where + " must be 0 or more, not " + std::to_string(*given));
    if (static_cast<std::uint32_t>(*given) >= lines)
        refuse("the " + where + " is " + std::to_string(*given) + ", which leaves no " + std::string(lineWord) +
               " of values in the block " + rangeName(block) + " (" + std::to_string(lines) + " " +
               std::string(lineWord) + (lines == 1 ? "" : "s") + ", " + plotByWords(by) + ")");
    return static_cast<std::uint32_t>(*given);
}

}  // namespace

ChartModel buildChartModel(const ChartWizardSettings& settings, const Workbook& chartBook) {
    ChartModel chart;
    if (!settings.source) refuse("the source (argument 1) is required: the chart has no data yet");
    const std::shared_ptr<Worksheet> sheet = settings.sourceSheet.lock();
    if (!sheet || !sheet->isAttached()) refuse("the source (argument 1) lies on a worksheet that has been closed");
    if (&sheet->workbook() != &chartBook)
        refuse("the source (argument 1) lies on \"" + sheet->name() + "\" of the workbook \"" +
               sheet->workbook().name() + "\"; a chart plots cells of its own workbook \"" + chartBook.name() +
               "\" only");
    const CellRect block = *settings.source;
    chart.dataSheet = sheet;
    chart.source = block;

    if (settings.gallery) {
        const std::optional<ChartKind> kind = chartKindOfGallery(*settings.gallery);
        if (!kind)
            refuse("the gallery (argument 2) must be one of the chart gallery codes " + galleryList() + ", not " +
                   std::to_string(*settings.gallery));
        chart.kind = *kind;
    }
    if (settings.format && (*settings.format < 1 || *settings.format > 10))
        refuse("the format (argument 3) must be from 1 to 10, not " + std::to_string(*settings.format));

    if (settings.plotBy && *settings.plotBy != 1 && *settings.plotBy != 2)
        refuse("the plot-by (argument 4) must be 1 (rows) or 2 (columns), not " + std::to_string(*settings.plotBy));
    chart.plotBy = settings.plotBy ? static_cast<PlotBy>(*settings.plotBy) : defaultPlotBy(block);
    const bool byRows = chart.plotBy == PlotBy::Rows;

    const std::uint32_t lines = seriesLineCount(block, chart.plotBy);
    const std::uint32_t points = pointLineCount(block, chart.plotBy);
    chart.categoryLabels =
        labelCount(settings.categoryLabels, "category label count", 5, lines, byRows ? "row" : "column", block,
                   chart.plotBy, settings.categoryLabels ? 0 : guessLabelLines(*sheet, block, byRows));
    chart.seriesLabels =
        labelCount(settings.seriesLabels, "series label count", 6, points, byRows ? "column" : "row", block,
                   chart.plotBy, settings.seriesLabels ? 0 : guessLabelLines(*sheet, block, !byRows));

    const std::uint32_t seriesCount = lines - chart.categoryLabels;
    const std::uint32_t pointCount = points - chart.seriesLabels;
    if (seriesCount > ChartModel::kMaxSeries)
        refuse("the source (argument 1) " + rangeName(block) + ", " + plotByWords(chart.plotBy) + ", gives " +
               std::to_string(seriesCount) + " series; a chart holds at most " +
               std::to_string(ChartModel::kMaxSeries));
    if (pointCount > ChartModel::kMaxPoints)
        refuse("the source (argument 1) " + rangeName(block) + ", " + plotByWords(chart.plotBy) + ", gives " +
               std::to_string(pointCount) + " points per series; a chart holds at most " +
               std::to_string(ChartModel::kMaxPoints));
    if (std::uint64_t{seriesCount} * pointCount > ChartModel::kMaxAllPoints)
        refuse("the source (argument 1) " + rangeName(block) + " gives " +
               std::to_string(std::uint64_t{seriesCount} * pointCount) + " points; a chart holds at most " +
               std::to_string(ChartModel::kMaxAllPoints));

    std::uint32_t number = 0;
    for (const SeriesSource& cells : readSeries(block, chart.plotBy, chart.categoryLabels, chart.seriesLabels)) {
        ++number;
        chart.series.push_back({cells, cells.name ? std::string() : "Serie" + std::to_string(number)});
    }

    chart.hasLegend = settings.hasLegend.value_or(true);
    chart.title = settings.title.value_or("");
    chart.categoryTitle = settings.categoryTitle.value_or("");
    chart.valueTitle = settings.valueTitle.value_or("");
    chart.seriesTitle = settings.extraTitle.value_or("");
    return chart;
}

std::string sheetReference(std::string_view sheet, const CellRect& rect) {
    std::string text = "'";
    for (char c : sheet) {
        text += c;
        if (c == '\'') text += '\'';
    }
    text += "'!";
    auto absolute = [](CellAddress a) { return "$" + columnLetters(a.column) + "$" + std::to_string(a.row); };
    text += absolute(rect.first);
    if (!rect.isSingleCell()) text += ":" + absolute(rect.last);
    return text;
}

}  // namespace tabulix::spreadsheet
