#pragma once
// Calc keeps the view of a document's window as text: "zoom;active sheet;tab bar;sheet 1;sheet
// 2..." where each sheet's part is eleven numbers apart by "/" (or "+"): cursor column and row,
// horizontal and vertical split mode (2: frozen), the split's column and row, the active pane,
// then the first column of the left and right panes and the first row of the top and bottom
// panes, all 0-based. The window reads and writes its panes through it, and a save reads every
// sheet's frozen panes from it.

#include <cstdint>
#include <string>
#include <vector>

namespace tabulix::office {

struct SheetView {
    std::int32_t cursorColumn = 0, cursorRow = 0;
    std::int32_t columnMode = 0, rowMode = 0;
    std::int32_t splitColumn = 0, splitRow = 0;
    std::int32_t activePane = 2;
    std::int32_t left = 0, right = 0, top = 0, bottom = 0;

    static constexpr std::int32_t kFrozen = 2;

    bool frozen() const { return columnMode == kFrozen || rowMode == kFrozen; }
    std::int32_t frozenColumns() const { return columnMode == kFrozen ? splitColumn - left : 0; }
    std::int32_t frozenRows() const { return rowMode == kFrozen ? splitRow - top : 0; }
    // The first row and column shown, at the top left.
    std::int32_t firstColumn() const { return left; }
    std::int32_t firstRow() const { return rowMode == kFrozen ? top : bottom; }
    // The first row and column of the pane that scrolls both ways.
    std::int32_t scrollingColumn() const { return columnMode == kFrozen ? right : left; }
    std::int32_t scrollingRow() const { return bottom; }

    // The view with `columns` and `rows` frozen below and right of the first shown ones.
    static SheetView at(std::int32_t firstColumn, std::int32_t firstRow, std::int32_t columns, std::int32_t rows);
};

class ViewData {
public:
    // Raises std::runtime_error when the text names no active sheet it holds a part for.
    explicit ViewData(const std::string& text);

    std::size_t activeSheet() const { return active_; }
    // The sheets' views in sheet order; a part that cannot be read gives the default view.
    std::size_t sheetCount() const { return parts_.size() - kFirstSheet; }
    SheetView sheet(std::size_t index) const;
    void setSheet(std::size_t index, const SheetView& view);
    std::string text() const;

private:
    static constexpr std::size_t kFirstSheet = 3;

    std::vector<std::string> parts_;
    std::size_t active_ = 0;
};

}  // namespace tabulix::office
