#pragma once
// Reads the charts back out of a saved .xlsx: the parts of the zip, the chart part of a chart
// sheet found through the workbook's relationships, and what the chart part says.

#include <gtest/gtest.h>
#include <zip.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

namespace tabulix::spreadsheet::testing {

inline std::map<std::string, std::string> zipEntries(const std::string& path) {
    std::map<std::string, std::string> entries;
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (!archive) {
        ADD_FAILURE() << "cannot open " << path << " (libzip error " << code << ")";
        return entries;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
        std::string content(stat.size, '\0');
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        zip_fread(file, content.data(), stat.size);
        zip_fclose(file);
        entries[stat.name] = std::move(content);
    }
    zip_discard(archive);
    return entries;
}

inline std::string unescapeXml(std::string text) {
    static const std::pair<const char*, const char*> kEntities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, plain] : kEntities)
        for (std::size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
            text.replace(at, std::string(entity).size(), plain);
    return text;
}

// The first group of `pattern` in `text`, "" when it does not match.
inline std::string firstMatch(const std::string& text, const std::string& pattern) {
    std::smatch m;
    return std::regex_search(text, m, std::regex(pattern)) ? m[1].str() : std::string();
}

// The texts between `open` and `close`, in order (plain search: the bodies can be long).
inline std::vector<std::string> between(const std::string& text, const std::string& open, const std::string& close) {
    std::vector<std::string> out;
    for (std::size_t at = text.find(open); at != std::string::npos; at = text.find(open, at)) {
        const std::size_t end = text.find(close, at + open.size());
        if (end == std::string::npos) break;
        out.push_back(text.substr(at + open.size(), end - at - open.size()));
        at = end + close.size();
    }
    return out;
}

// Relationship id -> target part, resolved against the folder of `part`.
inline std::map<std::string, std::string> relationships(const std::map<std::string, std::string>& entries,
                                                        const std::string& part) {
    const std::size_t slash = part.rfind('/');
    const std::string folder = part.substr(0, slash);
    const std::string relsPath = folder + "/_rels/" + part.substr(slash + 1) + ".rels";
    std::map<std::string, std::string> out;
    auto found = entries.find(relsPath);
    if (found == entries.end()) return out;
    const std::regex relationship("<Relationship ([^>]*)/>");
    for (std::sregex_iterator it(found->second.begin(), found->second.end(), relationship), end; it != end; ++it) {
        const std::string attributes = (*it)[1];
        std::string target = firstMatch(attributes, "Target=\"([^\"]*)\"");
        std::string base = folder;
        while (target.rfind("../", 0) == 0) {
            target = target.substr(3);
            base = base.substr(0, base.rfind('/'));
        }
        out[firstMatch(attributes, "Id=\"([^\"]*)\"")] = base + "/" + target;
    }
    return out;
}

// The chart part of the chart sheet named `sheet`, "" when there is no such chart sheet.
inline std::string chartPartOf(const std::map<std::string, std::string>& entries, const std::string& sheet) {
    const std::string& book = entries.at("xl/workbook.xml");
    const std::regex sheetElement("<sheet ([^>]*)/>");
    std::string target;
    for (std::sregex_iterator it(book.begin(), book.end(), sheetElement), end; it != end; ++it) {
        const std::string attributes = (*it)[1];
        if (unescapeXml(firstMatch(attributes, "name=\"([^\"]*)\"")) == sheet)
            target = relationships(entries, "xl/workbook.xml")[firstMatch(attributes, "r:id=\"([^\"]*)\"")];
    }
    if (target.find("/chartsheets/") == std::string::npos) return {};
    const std::string drawingId = firstMatch(entries.at(target), "<drawing r:id=\"([^\"]*)\"");
    const std::string drawing = relationships(entries, target)[drawingId];
    for (const auto& [id, part] : relationships(entries, drawing))
        if (part.find("/charts/") != std::string::npos) return entries.at(part);
    return {};
}

struct SavedSeries {
    std::string nameRef;      // the name's cells, "" for a literal name
    std::string name;         // the cached or literal name
    std::string categoriesRef;
    std::string valuesRef;
    std::vector<double> values;  // cached
};

// What a chart part says, read with patterns that match this writer's output.
struct SavedChart {
    std::string plot;  // "barChart", "surface3DChart", ...
    std::string title;
    std::map<std::string, std::string> axisTitles;  // "catAx" -> title; every axis drawn has an entry
    std::vector<SavedSeries> series;
    bool legend = false;
    bool view3D = false;

    explicit SavedChart(const std::string& xml) {
        plot = firstMatch(xml, "<c:plotArea><c:layout/><c:(\\w+)>");
        title = unescapeXml(firstMatch(xml, "<c:chart><c:title>.*?<a:t>(.*?)</a:t>"));
        legend = xml.find("<c:legend>") != std::string::npos;
        view3D = xml.find("<c:view3D>") != std::string::npos;
        for (const char* axis : {"catAx", "valAx", "serAx"}) {
            const auto bodies = between(xml, std::string("<c:") + axis + ">", std::string("</c:") + axis + ">");
            if (bodies.empty()) continue;
            const std::string& body = bodies.front();
            if (!body.empty()) axisTitles[axis] = unescapeXml(firstMatch(body, "<c:title>.*?<a:t>(.*?)</a:t>"));
        }
        for (const std::string& body : between(xml, "<c:ser>", "</c:ser>")) {
            SavedSeries s;
            s.nameRef = unescapeXml(firstMatch(body, "<c:tx><c:strRef><c:f>(.*?)</c:f>"));
            s.name = unescapeXml(s.nameRef.empty() ? firstMatch(body, "<c:tx><c:v>(.*?)</c:v>")
                                                   : firstMatch(body, "<c:tx>.*?<c:v>(.*?)</c:v>"));
            s.categoriesRef = unescapeXml(firstMatch(body, "<c:cat><c:\\w+><c:f>(.*?)</c:f>"));
            const auto values = between(body, "<c:val>", "</c:val>");
            if (!values.empty()) {
                s.valuesRef = unescapeXml(firstMatch(values.front(), "<c:f>(.*?)</c:f>"));
                for (const std::string& v : between(values.front(), "<c:v>", "</c:v>")) s.values.push_back(std::stod(v));
            }
            series.push_back(s);
        }
    }
};

}  // namespace tabulix::spreadsheet::testing
