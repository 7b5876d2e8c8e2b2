#include "spreadsheet/xlsx_typed_results.h"

#include <zip.h>

#include <ctime>
#include <memory>
#include <set>
#include <string_view>

#include "automation/automation_error.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;

namespace {

struct ZipDiscard {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ZipDiscard>;

constexpr std::string_view kTextType = " t=\"str\"";

std::string readEntry(zip_t* archive, zip_uint64_t index, const std::string& name) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        throw AutomationError("cannot read " + name + ": " + zip_strerror(archive));
    std::string content(stat.size, '\0');
    zip_file_t* file = zip_fopen_index(archive, index, 0);
    if (!file) throw AutomationError("cannot read " + name + ": " + zip_strerror(archive));
    const zip_int64_t got = zip_fread(file, content.data(), stat.size);
    zip_fclose(file);
    if (got < 0 || static_cast<zip_uint64_t>(got) != stat.size)
        throw AutomationError("cannot read " + name + ": " + zip_strerror(archive));
    return content;
}

// The same fixed time stamp as the writer gives its parts, so that saving the same workbook
// twice gives the same file.
time_t fixedStamp() {
    std::tm t{};
    t.tm_year = 80;
    t.tm_mday = 1;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

constexpr std::string_view kCustomHeight = " customHeight=\"1\"";

std::string unmarkFittedRows(const std::string& xml, const std::vector<std::uint32_t>& rows, const std::string& name) {
    if (rows.empty()) return xml;
    std::string out;
    out.reserve(xml.size());
    std::size_t copied = 0;
    for (const std::uint32_t row : rows) {
        const std::size_t start = xml.find("<row r=\"" + std::to_string(row) + "\"", copied);
        const std::size_t end = start == std::string::npos ? start : xml.find('>', start);
        const std::size_t mark = end == std::string::npos ? end : xml.find(kCustomHeight, start);
        if (mark == std::string::npos || mark > end)
            throw AutomationError("the height of row " + std::to_string(row) + " is not in " + name);
        out.append(xml, copied, mark - copied);
        copied = mark + kCustomHeight.size();
    }
    out.append(xml, copied, std::string::npos);
    return out;
}

}  // namespace

void TypedResults::add(std::size_t worksheet, CellAddress at, Kind kind) { bySheet_[worksheet].push_back({at, kind}); }

void TypedResults::addFittedRow(std::size_t worksheet, std::uint32_t row) { fittedRows_[worksheet].push_back(row); }

void TypedResults::applyTo(const std::string& path) const {
    if (empty()) return;
    int code = 0;
    Archive archive(zip_open(path.c_str(), 0, &code));
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const std::string why = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw AutomationError("the formula results cannot be typed: " + why);
    }
    // zip_source_buffer borrows the parts until zip_close.
    std::set<std::size_t> worksheets;
    for (const auto& [worksheet, entries] : bySheet_) worksheets.insert(worksheet);
    for (const auto& [worksheet, rows] : fittedRows_) worksheets.insert(worksheet);
    std::vector<std::string> parts;
    parts.reserve(worksheets.size());
    static const std::vector<Entry> kNoEntries;
    static const std::vector<std::uint32_t> kNoRows;
    for (const std::size_t worksheet : worksheets) {
        const auto listed = bySheet_.find(worksheet);
        const std::vector<Entry>& entries = listed == bySheet_.end() ? kNoEntries : listed->second;
        const auto fitted = fittedRows_.find(worksheet);
        const std::vector<std::uint32_t>& rows = fitted == fittedRows_.end() ? kNoRows : fitted->second;
        const std::string name = "xl/worksheets/sheet" + std::to_string(worksheet) + ".xml";
        const zip_int64_t found = zip_name_locate(archive.get(), name.c_str(), 0);
        if (found < 0) throw AutomationError("the file has no part " + name);
        const auto index = static_cast<zip_uint64_t>(found);
        const std::string xml = unmarkFittedRows(readEntry(archive.get(), index, name), rows, name);
        std::string& out = parts.emplace_back();
        out.reserve(xml.size() + entries.size());
        std::size_t copied = 0;
        for (const Entry& entry : entries) {
            const std::string cell = cellName(entry.at);
            const std::size_t start = xml.find("<c r=\"" + cell + "\"", copied);
            const std::size_t end = start == std::string::npos ? start : xml.find('>', start);
            const std::size_t type = end == std::string::npos ? end : xml.find(kTextType, start);
            if (type == std::string::npos || type > end)
                throw AutomationError("the text result of cell " + cell + " is not in " + name);
            out.append(xml, copied, type - copied);
            out += entry.kind == Kind::Boolean ? " t=\"b\"" : " t=\"e\"";
            copied = type + kTextType.size();
        }
        out.append(xml, copied, std::string::npos);
        zip_source_t* source = zip_source_buffer(archive.get(), out.data(), out.size(), 0);
        if (!source || zip_file_replace(archive.get(), index, source, 0) != 0) {
            if (source) zip_source_free(source);
            throw AutomationError("the part " + name + " cannot be replaced: " + zip_strerror(archive.get()));
        }
        zip_file_set_mtime(archive.get(), index, fixedStamp(), 0);
    }
    // zip_close writes the archive anew under a temporary name and renames it into place.
    if (zip_close(archive.get()) != 0)
        throw AutomationError(std::string("the formula results cannot be typed: ") + zip_strerror(archive.get()));
    archive.release();
}

}  // namespace tabulix::spreadsheet
