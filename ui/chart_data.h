#pragma once
// The numbers and labels a chart draws, read from its data sheet's cells as they are now.

#include <string>
#include <vector>

#include "spreadsheet/model/chart_model.h"

namespace tabulix::ui {

struct ChartSeriesData {
    std::string name;
    std::vector<double> values;  // a cell without a number plots as 0
};

struct ChartData {
    std::vector<std::string> categories;  // "1", "2", ... when the chart has no label cells
    std::vector<ChartSeriesData> series;
};

// Reads the chart's series; empty when its data sheet has gone (closed or deleted).
ChartData readChartData(const spreadsheet::ChartModel& chart);

// The kind's name as the window shows it ("Columnas 3D").
std::string chartKindLabel(spreadsheet::ChartKind kind);

}  // namespace tabulix::ui
