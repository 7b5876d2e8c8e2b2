#pragma once
// Checks that every part of a saved .xlsx is well-formed XML, with libxml2's strict parser.
// Header-only and free of the test framework, so that the fuzz target shares it.

#include <libxml/parser.h>
#include <zip.h>

#include <string>
#include <vector>

namespace tabulix::spreadsheet::testing {

// One line per part that cannot be read or is not well-formed; empty when the whole file is good.
inline std::vector<std::string> malformedParts(const std::string& path) {
    std::vector<std::string> problems;
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (!archive) return {path + ": not a zip file (libzip error " + std::to_string(code) + ")"};
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0 || !file) {
            problems.push_back("entry " + std::to_string(i) + ": cannot be read");
            if (file) zip_fclose(file);
            continue;
        }
        std::string content(stat.size, '\0');
        const zip_int64_t got = zip_fread(file, content.data(), stat.size);
        zip_fclose(file);
        const std::string name = stat.name;
        if (got < 0 || static_cast<zip_uint64_t>(got) != stat.size) {
            problems.push_back(name + ": short read");
            continue;
        }
        if (!name.ends_with(".xml") && !name.ends_with(".rels")) continue;
        xmlDocPtr doc = xmlReadMemory(content.data(), static_cast<int>(content.size()), name.c_str(), nullptr,
                                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE);
        if (!doc) {
            const xmlError* error = xmlGetLastError();
            problems.push_back(name + ": " + (error && error->message ? error->message : "not well-formed"));
        } else {
            xmlFreeDoc(doc);
        }
    }
    zip_discard(archive);
    return problems;
}

}  // namespace tabulix::spreadsheet::testing
