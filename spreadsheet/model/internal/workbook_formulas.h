#pragma once
// The formulas of one workbook: the formula engine's recalculator, working over the workbook's
// worksheets. Worksheets report every change of their contents here; formula results come back
// as the cached values of the formula cells.
//
// Each worksheet gets a number when it is made, never reused and never changed, so inserting a
// sheet before another does not move the formulas of the other. A reference by sheet name is
// looked up among the workbook's worksheets (ignoring letter case) each time it is evaluated:
// a name that names no worksheet gives #REF!. Formula texts are not rewritten when a sheet is
// renamed: the worksheet recalculates every formula then, so that formulas naming the old name
// get #REF! and formulas naming the new one find it; adding a worksheet does the same. A sheet
// that leaves the workbook takes its formulas with it; formulas elsewhere that read it become
// #REF! on the next recalculation.

#ifndef TABULIX_ROOM_MODEL
#error "an internal header of spreadsheet/model/: outside it, include its public headers"
#endif

#include <memory>
#include <string>
#include <vector>

#include "spreadsheet/cells/cell_address.h"
#include "spreadsheet/formula/clock.h"
#include "spreadsheet/formula/formula.h"
#include "spreadsheet/formula/formula_host.h"
#include "spreadsheet/formula/recalculator.h"

namespace tabulix::spreadsheet {

class Workbook;
class Worksheet;

class WorkbookFormulas final : private formula::FormulaHost {
public:
    // `book` is borrowed; it owns this object.
    explicit WorkbookFormulas(const Workbook& book);
    ~WorkbookFormulas() override;
    WorkbookFormulas(const WorkbookFormulas&) = delete;
    WorkbookFormulas& operator=(const WorkbookFormulas&) = delete;

    // The number of a new worksheet; the sheet calls removeSheet() before it goes.
    int addSheet(Worksheet& sheet);
    void removeSheet(const Worksheet& sheet);

    // The cell now holds `formula`: computes it and the formulas that read the cell.
    void setFormula(const Worksheet& sheet, CellAddress at, formula::Formula formula);
    // The cell no longer holds a formula; a cellChanged() for it follows.
    void removeFormula(const Worksheet& sheet, CellAddress at);
    // The value of a cell without a formula changed: recomputes the formulas that read it. Cheap
    // while the workbook holds no formulas.
    void cellChanged(const Worksheet& sheet, CellAddress at) {
        if (recalculator_.formulaCount() != 0) changed(sheet, at);
    }
    // The formula of a cell moved to another cell of the same sheet, its text unchanged.
    void moveFormula(const Worksheet& sheet, CellAddress from, CellAddress to);
    // Recomputes every formula, looking sheet names up anew.
    void recalculateAll();

    // The parsed formula of a cell, or nullptr.
    const formula::Formula* formulaAt(const Worksheet& sheet, CellAddress at) const;
    std::size_t formulaCount() const { return recalculator_.formulaCount(); }

    // While a Batch lives, changes are collected and computed once when it ends.
    class Batch {
    public:
        explicit Batch(WorkbookFormulas& formulas) : batch_(formulas.recalculator_) {}

    private:
        formula::Recalculator::Batch batch_;
    };

private:
    void changed(const Worksheet& sheet, CellAddress at);
    formula::CellPosition position(const Worksheet& sheet, CellAddress at) const;
    const Worksheet* sheetNumbered(int number) const;

    std::optional<int> sheetIndex(std::string_view name) const override;
    formula::Value cellValue(int sheet, int row, int column) const override;
    void forEachFilledCell(int sheet, const formula::CellRect& rect, const CellVisitor& visit) const override;
    void setFormulaResult(int sheet, int row, int column, const formula::Value& result) override;

    const Workbook& book_;
    std::vector<Worksheet*> sheets_;  // by number; nullptr once a sheet has gone
    formula::SystemClock clock_;
    formula::Recalculator recalculator_;
};

}  // namespace tabulix::spreadsheet
