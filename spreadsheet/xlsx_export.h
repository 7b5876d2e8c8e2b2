#pragma once
// Saving a workbook as an .xlsx file.

#include <string>

namespace tabulix::spreadsheet {

class Workbook;

// Writes `book` to `path` (".xlsx" is added when the name has no extension) and returns the
// path written. The file is written under a temporary name in the target folder and renamed
// into place, so that a failed save leaves neither a broken file nor a stray temporary one.
// Raises automation::AutomationError with the reason on failure.
std::string writeXlsx(const Workbook& book, const std::string& path);

}  // namespace tabulix::spreadsheet
