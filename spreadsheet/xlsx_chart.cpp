#include "spreadsheet/xlsx_chart.h"

#include <zip.h>

#include <ctime>
#include <memory>
#include <optional>
#include <string_view>

#include "automation/automation_error.h"
#include "spreadsheet/chart_model.h"
#include "spreadsheet/chart_sheet.h"
#include "spreadsheet/chart_xml.h"
#include "spreadsheet/workbook.h"
#include "spreadsheet/worksheet.h"
#include "spreadsheet/xml_text.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;

namespace {

constexpr std::string_view kMarker = "tabulix-chart-part-";

std::string marker(std::size_t number) { return std::string(kMarker) + std::to_string(number); }

struct ZipDiscard {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ZipDiscard>;

std::string read(zip_t* archive, zip_uint64_t index, const char* name) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        throw AutomationError(std::string("cannot read ") + name + ": " + zip_strerror(archive));
    std::string content(stat.size, '\0');
    zip_file_t* file = zip_fopen_index(archive, index, 0);
    if (!file) throw AutomationError(std::string("cannot read ") + name + ": " + zip_strerror(archive));
    const zip_int64_t got = zip_fread(file, content.data(), stat.size);
    zip_fclose(file);
    if (got < 0 || static_cast<zip_uint64_t>(got) != stat.size)
        throw AutomationError(std::string("cannot read ") + name + ": short read");
    return content;
}

// The number of the placeholder marker in a chart part written by the file writer.
std::optional<std::size_t> markerIn(const std::string& part) {
    const std::string prefix = ">" + std::string(kMarker);
    const std::size_t at = part.find(prefix);
    if (at == std::string::npos) return std::nullopt;
    std::size_t number = 0;
    std::size_t i = at + prefix.size();
    if (i >= part.size() || part[i] < '0' || part[i] > '9') return std::nullopt;
    for (; i < part.size() && part[i] >= '0' && part[i] <= '9'; ++i) number = number * 10 + (part[i] - '0');
    if (i >= part.size() || part[i] != '<') return std::nullopt;
    return number;
}

// 1980-01-01 00:00 local time, the earliest time a zip entry records.
time_t fixedStamp() {
    std::tm t{};
    t.tm_year = 80;
    t.tm_mday = 1;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

}  // namespace

void ChartParts::add(lxw_workbook* file, lxw_chartsheet* target, const ChartSheet& sheet) {
    const std::optional<ChartModel>& model = sheet.model();
    std::string part;
    try {
        part = model ? chartPartXml(*model) : emptyChartPartXml();
    } catch (const AutomationError& e) {
        throw AutomationError("chart sheet \"" + sheet.name() + "\": " + e.what());
    }
    lxw_chart* chart = workbook_add_chart(file, LXW_CHART_COLUMN);
    if (!chart) throw AutomationError("chart sheet \"" + sheet.name() + "\": the file writer could not add a chart");
    // The writer wants a series over a worksheet of the file; the whole placeholder is replaced,
    // reference included.
    const std::vector<std::shared_ptr<Worksheet>> worksheets = sheet.workbook().worksheets();
    const std::string reference =
        "=" + fileText(sheetReference(worksheets.empty() ? sheet.name() : worksheets.front()->name(), {{1, 1}, {1, 1}}));
    const std::string title = marker(parts_.size());
    if (!chart_add_series(chart, nullptr, reference.c_str()))
        throw AutomationError("chart sheet \"" + sheet.name() + "\": the file writer could not add a series");
    chart_title_set_name(chart, title.c_str());
    const lxw_error placed = chartsheet_set_chart(target, chart);
    if (placed != LXW_NO_ERROR)
        throw AutomationError("chart sheet \"" + sheet.name() + "\": " + lxw_strerror(placed));
    parts_.push_back(std::move(part));
}

void ChartParts::replaceIn(const std::string& path) const {
    if (parts_.empty()) return;
    int code = 0;
    Archive archive(zip_open(path.c_str(), 0, &code));
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const std::string why = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw AutomationError("the charts cannot be written: " + why);
    }
    std::vector<bool> replaced(parts_.size(), false);
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        const char* name = zip_get_name(archive.get(), index, 0);
        if (!name) continue;
        const std::string entry = name;
        if (entry.rfind("xl/charts/chart", 0) != 0 || entry.size() < 4 || entry.substr(entry.size() - 4) != ".xml")
            continue;
        const std::optional<std::size_t> number = markerIn(read(archive.get(), index, name));
        if (!number || *number >= parts_.size() || replaced[*number])
            throw AutomationError("the chart part " + entry + " is not one of the placeholders written for it");
        const std::string& part = parts_[*number];
        zip_source_t* source = zip_source_buffer(archive.get(), part.data(), part.size(), 0);
        if (!source || zip_file_replace(archive.get(), index, source, 0) != 0) {
            if (source) zip_source_free(source);
            throw AutomationError("the chart part " + entry + " cannot be replaced: " + zip_strerror(archive.get()));
        }
        // The same fixed time stamp as the writer's other parts, so that saving the same
        // workbook twice gives the same file.
        zip_file_set_mtime(archive.get(), index, fixedStamp(), 0);
        replaced[*number] = true;
    }
    for (std::size_t n = 0; n < replaced.size(); ++n)
        if (!replaced[n]) throw AutomationError("the chart part of chart " + std::to_string(n + 1) + " was not written");
    // zip_close writes the archive anew under a temporary name and renames it into place.
    if (zip_close(archive.get()) != 0)
        throw AutomationError(std::string("the charts cannot be written: ") + zip_strerror(archive.get()));
    archive.release();
}

}  // namespace tabulix::spreadsheet
