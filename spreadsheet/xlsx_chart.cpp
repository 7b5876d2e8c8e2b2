#include "spreadsheet/xlsx_chart.h"

#include <string>

#include "automation/automation_error.h"
#include "spreadsheet/chart_sheet.h"
#include "spreadsheet/workbook.h"
#include "spreadsheet/worksheet.h"

namespace tabulix::spreadsheet {

namespace {

std::uint8_t chartType(std::int32_t gallery) {
    switch (gallery) {
        case 1:
        case -4098: return LXW_CHART_AREA;
        case 2:
        case -4099: return LXW_CHART_BAR;
        case 4:
        case -4101: return LXW_CHART_LINE;
        case 5:
        case -4102: return LXW_CHART_PIE;
        case -4151: return LXW_CHART_RADAR;
        case 83:
        case -4103: return LXW_CHART_AREA;  // no surface charts in the file writer
        default: return LXW_CHART_COLUMN;
    }
}

// 'Hoja 1'!$A$1:$B$3
std::string reference(const std::string& sheet, const CellRect& rect) {
    std::string quoted = "'";
    for (char c : sheet) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    quoted += "'!";
    auto absolute = [](CellAddress a) { return "$" + columnLetters(a.column) + "$" + std::to_string(a.row); };
    return "=" + quoted + absolute(rect.first) + ":" + absolute(rect.last);
}

}  // namespace

void writeChartSheet(lxw_workbook* file, lxw_chartsheet* target, const ChartSheet& sheet) {
    const std::optional<ChartWizardSettings>& settings = sheet.chart();
    std::shared_ptr<Worksheet> source = settings ? settings->sourceSheet.lock() : nullptr;
    const bool usable = settings && settings->source && source && source->isAttached() &&
                        &source->workbook() == &sheet.workbook();
    lxw_chart* chart = workbook_add_chart(file, chartType(usable && settings->gallery ? *settings->gallery : 3));
    if (!chart) throw automation::AutomationError("chart sheet \"" + sheet.name() + "\": the chart could not be made");
    // One series over a cell that is always empty makes an empty chart.
    std::string emptyCell;
    for (const auto& ws : sheet.workbook().worksheets()) {
        emptyCell = reference(ws->name(), CellRect{{kMaxRows, kMaxColumns}, {kMaxRows, kMaxColumns}});
        break;
    }
    if (!usable) {
        chart_add_series(chart, nullptr, emptyCell.c_str());
        chartsheet_set_chart(target, chart);
        return;
    }
    const CellRect& block = *settings->source;
    const bool byRows = settings->plotBy.value_or(2) == 1;
    const auto categoryCount = static_cast<std::uint32_t>(std::max(0, settings->categoryLabels.value_or(1)));
    const auto nameCount = static_cast<std::uint32_t>(std::max(0, settings->seriesLabels.value_or(1)));
    // By columns: each column after the category columns is a series; its first rows name it.
    const std::uint32_t seriesFirst = byRows ? block.first.row + categoryCount : block.first.column + categoryCount;
    const std::uint32_t seriesLast = byRows ? block.last.row : block.last.column;
    const std::uint32_t dataFirst = byRows ? block.first.column + nameCount : block.first.row + nameCount;
    const std::uint32_t dataLast = byRows ? block.last.column : block.last.row;
    const std::string& sheetName = source->name();
    bool any = false;
    for (std::uint32_t s = seriesFirst; s <= seriesLast && dataFirst <= dataLast; ++s) {
        const CellRect values = byRows ? CellRect{{s, dataFirst}, {s, dataLast}} : CellRect{{dataFirst, s}, {dataLast, s}};
        std::string categories;
        if (categoryCount > 0) {
            const std::uint32_t at = byRows ? block.first.row + categoryCount - 1 : block.first.column + categoryCount - 1;
            const CellRect cats = byRows ? CellRect{{at, dataFirst}, {at, dataLast}} : CellRect{{dataFirst, at}, {dataLast, at}};
            categories = reference(sheetName, cats);
        }
        lxw_chart_series* series = chart_add_series(chart, categories.empty() ? nullptr : categories.c_str(),
                                                    reference(sheetName, values).c_str());
        if (series && nameCount > 0) {
            const CellAddress nameCell = byRows ? CellAddress{s, block.first.column + nameCount - 1}
                                                : CellAddress{block.first.row + nameCount - 1, s};
            chart_series_set_name(series, reference(sheetName, CellRect{nameCell, nameCell}).c_str());
        }
        any = true;
    }
    if (!any) chart_add_series(chart, nullptr, emptyCell.c_str());
    if (settings->title && !settings->title->empty()) chart_title_set_name(chart, settings->title->c_str());
    if (settings->categoryTitle && !settings->categoryTitle->empty())
        chart_axis_set_name(chart->x_axis, settings->categoryTitle->c_str());
    if (settings->valueTitle && !settings->valueTitle->empty())
        chart_axis_set_name(chart->y_axis, settings->valueTitle->c_str());
    if (settings->hasLegend && !*settings->hasLegend) chart_legend_set_position(chart, LXW_CHART_LEGEND_NONE);
    chartsheet_set_chart(target, chart);
}

}  // namespace tabulix::spreadsheet
