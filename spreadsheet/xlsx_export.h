#pragma once
// Saving a workbook as an .xlsx file.

#include <cstdint>
#include <functional>
#include <string>

namespace tabulix::spreadsheet {

class Workbook;

// Told of the worksheet rows written so far and of all the rows to write: (0, total) first,
// then every few thousand rows and at the end.
using SaveProgress = std::function<void(std::uint64_t rowsWritten, std::uint64_t rowsTotal)>;

// Writes `book` to `path` (".xlsx" is added when the name has no extension) and returns the
// path written. The file replaces the target as one step (framework::AtomicFile): written under
// a temporary name beside it, flushed to the disk and renamed into place, so that a failed or
// interrupted save leaves neither a broken file nor a stray temporary one; through a symbolic
// link the file it points to is replaced. Raises automation::AutomationError with the reason on
// failure.
std::string writeXlsx(const Workbook& book, const std::string& path, const SaveProgress& progress = {});

}  // namespace tabulix::spreadsheet
