#pragma once
// The charts of the chart sheets in a saved file. The file writer cannot write 3-D or surface
// charts, so it only lays out each chart sheet with a placeholder chart that carries a marker;
// once it has closed the file, every placeholder's chart part is replaced by the chart's own
// (see chart_xml.h). A marker that is not found fails the save: no chart is ever left as the
// placeholder's kind.

#include <xlsxwriter.h>

#include <string>
#include <vector>

namespace tabulix::spreadsheet {

class ChartSheet;

class ChartParts {
public:
    // Puts a placeholder chart on `target` and keeps the chart part of the sheet's chart (or of
    // an empty chart when ChartWizard has not built one). Raises automation::AutomationError.
    void add(lxw_workbook* file, lxw_chartsheet* target, const ChartSheet& sheet);
    // Replaces the placeholders in the closed file at `path`, which stays a complete file
    // whether or not this succeeds. Raises automation::AutomationError with the reason.
    void replaceIn(const std::string& path) const;

    bool empty() const { return parts_.empty(); }

private:
    std::vector<std::string> parts_;  // by marker number
};

}  // namespace tabulix::spreadsheet
