#pragma once
// The chart part of an .xlsx file (xl/charts/chartN.xml) for a chart: the plot of its kind with
// its series (name, categories and values as references into the data sheet, each with the
// values the cells hold now, for viewers that do not recalculate), its axes with their titles,
// the chart title, the 3-D view of the kinds that have depth, and the legend.

#ifndef TABULIX_ROOM_XLSX
#error "an internal header of spreadsheet/xlsx/: outside it, include its public headers"
#endif

#include <string>

namespace tabulix::spreadsheet {

struct ChartModel;

// Raises automation::AutomationError when the chart's data sheet is no longer in a workbook.
std::string chartPartXml(const ChartModel& chart);
// The part of a chart sheet on which no chart has been built: empty column-chart axes.
std::string emptyChartPartXml();

}  // namespace tabulix::spreadsheet
