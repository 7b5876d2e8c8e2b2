#pragma once
// How the model saves a workbook without knowing a file format: an application is made with a
// writer (the .xlsx writer of spreadsheet/xlsx/ in the embedded spreadsheet), and a workbook's
// SaveAs hands itself to it.

#include <cstdint>
#include <functional>
#include <string>

namespace tabulix::spreadsheet {

class Workbook;

// Told of the worksheet rows written so far and of all the rows to write: (0, total) first,
// then every few thousand rows and at the end.
using SaveProgress = std::function<void(std::uint64_t rowsWritten, std::uint64_t rowsTotal)>;

// Writes `book` to `path` and returns the path written; raises automation::AutomationError with
// the reason on failure.
using WorkbookWriter = std::string (*)(const Workbook& book, const std::string& path, const SaveProgress& progress);

}  // namespace tabulix::spreadsheet
