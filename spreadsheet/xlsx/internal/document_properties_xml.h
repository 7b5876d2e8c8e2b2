#pragma once
// Internal: the package's document property parts, written only for a workbook whose properties
// were set: docProps/core.xml (title, subject, author, keywords, comments, last author,
// category, created, modified) and docProps/app.xml (manager, company).

#ifndef TABULIX_ROOM_XLSX
#error "an internal header of spreadsheet/xlsx/: outside it, include its public headers"
#endif

#include <string>

namespace tabulix::spreadsheet {

struct DocumentProperties;

std::string corePropertiesXml(const DocumentProperties& properties);
std::string appPropertiesXml(const DocumentProperties& properties);
// "2026-12-08T05:21:08Z" for a serial date (days since 1899-12-30), to the nearest second.
std::string w3cDateTime(double serial);

}  // namespace tabulix::spreadsheet
