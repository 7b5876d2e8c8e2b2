#include "ui/chart_data.h"

#include <variant>

#include "spreadsheet/model/worksheet.h"

namespace tabulix::ui {

using spreadsheet::CellAddress;
using spreadsheet::CellRect;

namespace {

// The cells of a one-line rectangle in order; the texts of several label lines joined by " ".
std::vector<CellAddress> cellsOf(const CellRect& line) {
    std::vector<CellAddress> cells;
    for (std::uint32_t r = line.first.row; r <= line.last.row; ++r)
        for (std::uint32_t c = line.first.column; c <= line.last.column; ++c) cells.push_back({r, c});
    return cells;
}

std::string labelOf(const spreadsheet::Worksheet& sheet, const CellRect& rect) {
    std::string text;
    for (const CellAddress& at : cellsOf(rect)) {
        const std::string part = sheet.displayedText(at);
        if (part.empty()) continue;
        if (!text.empty()) text += ' ';
        text += part;
    }
    return text;
}

}  // namespace

ChartData readChartData(const spreadsheet::ChartModel& chart) {
    ChartData data;
    const auto sheet = chart.dataSheet.lock();
    if (!sheet || !sheet->isAttached() || chart.series.empty()) return data;
    std::size_t points = 0;
    for (const spreadsheet::ChartSeries& s : chart.series) {
        ChartSeriesData series;
        series.name = s.cells.name ? labelOf(*sheet, *s.cells.name) : s.literalName;
        for (const CellAddress& at : cellsOf(s.cells.values)) {
            const spreadsheet::CellValue v = sheet->cellValue(at);
            const double* number = std::get_if<double>(&v);
            series.values.push_back(number ? *number : 0.0);
        }
        points = std::max(points, series.values.size());
        data.series.push_back(std::move(series));
    }
    // The categories come with the first series: one label per point, across the label lines.
    const auto& first = chart.series.front().cells;
    if (first.categories) {
        const CellRect& labels = *first.categories;
        const bool alongRows = first.values.rowCount() == 1;  // values in a row: labels in the row(s) above
        for (std::size_t i = 0; i < points; ++i) {
            CellRect one = labels;
            if (alongRows) {
                one.first.column = one.last.column = labels.first.column + static_cast<std::uint32_t>(i);
            } else {
                one.first.row = one.last.row = labels.first.row + static_cast<std::uint32_t>(i);
            }
            data.categories.push_back(labelOf(*sheet, one));
        }
    } else {
        for (std::size_t i = 0; i < points; ++i) data.categories.push_back(std::to_string(i + 1));
    }
    return data;
}

std::string chartKindLabel(spreadsheet::ChartKind kind) {
    using spreadsheet::ChartKind;
    switch (kind) {
        case ChartKind::Column: return "Columnas";
        case ChartKind::Column3D: return "Columnas 3D";
        case ChartKind::Line: return "Líneas";
        case ChartKind::Line3D: return "Líneas 3D";
        case ChartKind::Bar: return "Barras";
        case ChartKind::Bar3D: return "Barras 3D";
        case ChartKind::Surface: return "Superficie";
        case ChartKind::Surface3D: return "Superficie 3D";
        case ChartKind::Pie: return "Circular";
        case ChartKind::Pie3D: return "Circular 3D";
        case ChartKind::Area: return "Áreas";
        case ChartKind::Area3D: return "Áreas 3D";
        case ChartKind::Radar: return "Radial";
    }
    return {};
}

}  // namespace tabulix::ui
