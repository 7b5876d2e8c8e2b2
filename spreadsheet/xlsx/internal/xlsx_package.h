#pragma once
// Internal: the whole .xlsx package of a workbook written in one pass: content types and
// relationships, the workbook, styles, every worksheet streamed from its cell store with its
// column widths and merged areas, and each chart sheet with its drawing and chart part.

#ifndef TABULIX_ROOM_XLSX
#error "an internal header of spreadsheet/xlsx/: outside it, include its public headers"
#endif

#include "spreadsheet/xlsx/xlsx_export.h"

namespace tabulix::spreadsheet {

class Workbook;

// Writes to `fd` (borrowed, empty, positioned at its start), telling `progress` of the rows
// written. Raises automation::AutomationError with the reason on failure; the file is then
// incomplete.
void writeXlsxPackage(const Workbook& book, int fd, const SaveProgress& progress = {});

}  // namespace tabulix::spreadsheet
