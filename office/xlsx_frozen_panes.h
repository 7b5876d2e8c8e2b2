#pragma once
// Frozen panes written into a workbook LibreOffice Calc saved. Calc's .xlsx export writes the
// panes of the view shown on screen only, and the provider's documents are never shown, so the
// saved file is completed afterwards: only the sheetView element of the sheets concerned is
// rewritten, the way the embedded spreadsheet writes it; every other part keeps its bytes.

#include <cstdint>
#include <filesystem>
#include <map>

namespace tabulix::office {

// All 0-based.
struct FrozenPanes {
    std::int32_t firstColumn = 0, firstRow = 0;          // the top left cell shown
    std::int32_t columns = 0, rows = 0;                  // frozen at the left and at the top
    std::int32_t scrollingColumn = 0, scrollingRow = 0;  // top left of the pane that scrolls both ways
};

// Rewrites the package at `path` in place (through a file beside it): the sheets at the positions
// `panes` names (0-based, in the workbook's order) get their frozen panes. Raises
// std::runtime_error saying what of the package could not be read or written.
void addFrozenPanes(const std::filesystem::path& path, const std::map<std::size_t, FrozenPanes>& panes);

}  // namespace tabulix::office
