#pragma once
// The chart of a chart sheet in the saved file, built from its ChartWizard settings.

#include <xlsxwriter.h>

namespace tabulix::spreadsheet {

class ChartSheet;

// Adds the chart sheet's chart to `file` and puts it on `target`. A chart sheet without a
// usable source (no ChartWizard call yet, or its source sheet closed) gets an empty chart:
// the file format has no chart sheet without a chart.
void writeChartSheet(lxw_workbook* file, lxw_chartsheet* target, const ChartSheet& sheet);

}  // namespace tabulix::spreadsheet
