#pragma once
// A worksheet: its cells (values, formulas, styles), merged areas and column widths, with the
// operations that ranges, fonts, interiors and borders apply to rectangles of cells.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "spreadsheet/cells/cell_address.h"
#include "spreadsheet/cells/cell_store.h"
#include "spreadsheet/cells/cell_style.h"
#include "spreadsheet/model/sheet.h"
#include "spreadsheet/model/sheet_setup.h"

namespace tabulix::spreadsheet {

namespace formula {
class Formula;
}

class BlockPool;
class Range;

class Worksheet final : public Sheet {
public:
    static constexpr double kDefaultColumnWidth = 8.43;
    static constexpr double kMaxColumnWidth = 255.0;
    // Formatting creates a blank cell for every empty cell it touches; larger rectangles are
    // refused rather than exhausting memory.
    static constexpr std::uint64_t kMaxFormattedCells = 4'000'000;

    // Registers the sheet with the workbook's formulas.
    Worksheet(Workbook& book, std::string name);
    ~Worksheet() override;

    std::string_view typeName() const override { return "Worksheet"; }
    SheetType sheetType() const override;

    std::shared_ptr<Range> range(const CellRect& rect);
    // "B2" or "A1:C3"; raises AutomationError for a text that is not a cell reference.
    std::shared_ptr<Range> range(std::string_view reference);

    // --- Contents ---
    // Stores data as data: texts stay texts (also when they begin with "="), dates and currency
    // amounts become numbers and, while a cell's format is General, get a date or currency format.
    // Empty and Null clear the cells' contents (not their formats).
    void setValue(const CellRect& rect, const automation::Variant& value, automation::Lcid lcid);
    // A text beginning with "=" becomes a formula: kept as written, calculated at once, and the
    // formulas that read the cell recalculated. A text the formula engine refuses raises
    // AutomationError with the engine's reason and position, and the cell stays as it was. Any
    // other text is read as a typed entry: a number, TRUE/FALSE, or else text.
    void setFormula(const CellRect& rect, const automation::Variant& formula, automation::Lcid lcid);
    // Value as automation returns it: numbers in date formats as dates, formula cells as their
    // calculated result.
    automation::Variant value(CellAddress at) const;
    // The formula text of a formula cell, else the value as an entry text ("" for empty).
    automation::Variant formula(CellAddress at) const;
    CellValue cellValue(CellAddress at) const;
    // Formula text as written (with "="), or nullptr when the cell holds no formula.
    const std::string* formulaText(CellAddress at) const;
    // The formula of a cell as a file stores it: English names, no "=". Empty when the cell
    // holds no formula.
    std::string fileFormulaText(CellAddress at) const;
    // Sets the cached result of a formula cell (for the calculation engine); raises when the
    // cell holds no formula.
    void setFormulaResult(CellAddress at, CellValue result);
    // The number by which the workbook's formulas know this sheet.
    int formulaSheet() const { return formulaSheet_; }
    // The text the cell shows (its number format applied), "" for an empty cell.
    std::string displayedText(CellAddress at) const;

    // --- Formatting ---
    const CellStyle& cellStyle(CellAddress at) const;
    // Applies `edit` to the style of every cell of the rectangle.
    void restyle(const CellRect& rect, const std::function<void(CellStyle&)>& edit);
    void setNumberFormat(const CellRect& rect, std::string_view code, automation::Lcid lcid);
    // Border index 1-12 as the Borders collection numbers them: 1-4 the left/right/top/bottom
    // line of every cell, 5/6 the diagonals of every cell, 7-10 the outer edges (left, top,
    // bottom, right), 11/12 the vertical/horizontal lines between the cells. A line between two
    // cells is drawn when either cell has it; when both have it they are kept equal, the last
    // assignment winning, so a saved file never holds two different lines in one place.
    void setBorder(const CellRect& rect, std::int32_t index, std::optional<BorderWeight> weight,
                   std::optional<Rgb> colour);
    // The line a border index stands for, read from the first cell it touches; absent when the
    // index touches no cell of the rectangle (inside lines of a single cell).
    std::optional<BorderLine> border(const CellRect& rect, std::int32_t index) const;

    // --- Merged areas ---
    // Merges the rectangle into one area (or, across, each of its rows into one area). The
    // first non-empty content in reading order moves to the top-left cell; the other cells'
    // contents are cleared. Merged areas that overlap the new one are dissolved first.
    void merge(const CellRect& rect, bool across);
    // Dissolves every merged area that overlaps the rectangle.
    void unmerge(const CellRect& rect);
    const std::vector<CellRect>& merges() const { return merges_; }
    // True when the rectangle lies within one merged area, false when it overlaps none,
    // nothing (mixed) otherwise.
    std::optional<bool> mergeState(const CellRect& rect) const;

    // --- Columns ---
    double columnWidth(std::uint32_t column) const;
    // Raises AutomationError outside 0..255.
    void setColumnWidth(std::uint32_t first, std::uint32_t last, double width);
    const std::map<std::uint32_t, double>& columnWidths() const { return widths_; }
    // Fits each column of the rectangle to the text its cells in the rectangle show, measured
    // with each cell's font; merged cells are left out, and a column with nothing to show gets
    // the default width.
    void autoFit(const CellRect& rect);

    // --- Rows ---
    static constexpr double kMaxRowHeight = 409.0;
    struct RowHeight {
        double points = 0.0;
        bool custom = false;  // set through RowHeight, not fitted to the row's fonts
    };
    // The height of a row of the default font, in points (15 for Calibri 11).
    double standardRowHeight() const;
    // The height set through RowHeight, or else the height that fits the largest font of the
    // row's cells, never below the standard height.
    double rowHeight(std::uint32_t row) const;
    // Sets the rows' heights (rounded to whole pixels); they no longer follow their fonts. Raises
    // AutomationError outside 0..409 points.
    void setRowHeight(std::uint32_t first, std::uint32_t last, double points);
    // Every row whose height is not the standard one, in row order.
    std::map<std::uint32_t, RowHeight> rowHeights() const;

    // --- Window and printing ---
    const Panes& panes() const { return panes_; }
    // Raises AutomationError when the panes would leave no row or column below or right of
    // the split.
    void setPanes(const Panes& panes);
    // The filter buttons: the rectangle of the filtered block, its first row the headings.
    const std::optional<CellRect>& autoFilter() const { return autoFilter_; }
    void setAutoFilter(std::optional<CellRect> area);
    // The page set-up; PageSetup checks each value as automation sets it.
    const PageLayout& pageLayout() const { return page_; }
    PageLayout& pageLayout() { return page_; }

    const CellStore& cells() const { return cells_; }

    // --- Change notices to the application's observers ---
    void notifyCellsChanged(const CellRect& rect);
    void notifyLayoutChanged();
    // Calls fn(address, formula text) for every formula cell, in row order.
    void forEachFormula(const std::function<void(CellAddress, const std::string&)>& fn) const;

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    // Each of these tells the workbook's formulas about the change.
    void storeValue(CellAddress at, Cell& cell, const automation::Variant& value, automation::Lcid lcid,
                    Workbook& book);
    void storeEntry(CellAddress at, Cell& cell, const std::string& text, automation::Lcid lcid, Workbook& book);
    void storeFormula(CellAddress at, const std::string& text, formula::Formula parsed);
    void clearContent(CellAddress at, Cell& cell);
    // Empties the cell without telling the formulas, for a store that gives it new content.
    void emptyCell(CellAddress at, Cell& cell);
    // Moves the content of one cell to another (for merging), a formula with its text unchanged.
    void moveContent(CellAddress from, CellAddress to);
    void checkFormattable(const CellRect& rect) const;
    CellValue valueOf(const Cell& cell, const Workbook& book) const;
    // The height that fits the largest font of a row's cells, never below `standard` (the
    // standard row height, measured once by the caller); byStyle caches it per style.
    double fittedHeight(std::span<const Cell> cells, double standard,
                        std::unordered_map<StyleTable::Id, double>& byStyle) const;

    int formulaSheet_;
    CellStore cells_;
    std::vector<CellRect> merges_;
    std::map<std::uint32_t, double> widths_;
    std::map<std::uint32_t, double> customHeights_;
    Panes panes_;
    std::optional<CellRect> autoFilter_;
    PageLayout page_;
    // Ranges are asked for at every cell of a transfer: their memory is recycled.
    std::shared_ptr<BlockPool> rangePool_;
};

}  // namespace tabulix::spreadsheet
