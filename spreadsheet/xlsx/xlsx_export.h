#pragma once
// Saving a workbook as an .xlsx file.

#include <string>

#include "spreadsheet/model/workbook_writer.h"

namespace tabulix::spreadsheet {

// A WorkbookWriter. Writes `book` to `path` (".xlsx" is added when the name has no extension) and returns the
// path written. The file replaces the target as one step (framework::AtomicFile): written under
// a temporary name beside it, flushed to the disk and renamed into place, so that a failed or
// interrupted save leaves neither a broken file nor a stray temporary one; through a symbolic
// link the file it points to is replaced. Raises automation::AutomationError with the reason on
// failure.
std::string writeXlsx(const Workbook& book, const std::string& path, const SaveProgress& progress = {});

}  // namespace tabulix::spreadsheet
