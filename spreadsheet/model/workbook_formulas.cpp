#include "workbook_formulas.h"

#include <algorithm>

#include "spreadsheet/cells/text_utils.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"

namespace tabulix::spreadsheet {

namespace {

// A rectangle taller than this is walked through the rows that hold cells rather than row by
// row, so that whole-column references cost what the sheet holds.
constexpr int kRowByRowLimit = 65536;

formula::Value engineValue(const CellValue& value) {
    if (const double* number = std::get_if<double>(&value)) return *number;
    if (const auto* text = std::get_if<std::string>(&value)) return formula::Value(*text);
    if (const bool* boolean = std::get_if<bool>(&value)) return *boolean;
    if (const auto* error = std::get_if<CellError>(&value)) return static_cast<formula::ErrorCode>(*error);
    return {};
}

CellValue cellValueOf(const formula::Value& value) {
    switch (value.kind()) {
        case formula::Value::Kind::Number: return value.number();
        case formula::Value::Kind::Text: return value.text();
        case formula::Value::Kind::Boolean: return value.boolean();
        case formula::Value::Kind::Error: return static_cast<CellError>(value.error());
        case formula::Value::Kind::Empty: break;
    }
    return {};
}

formula::Value engineValue(const Cell& cell, const CellStore& cells, const StringPool& strings) {
    switch (cell.kind) {
        case CellKind::Number: return cell.number;
        case CellKind::Text: return formula::Value(strings.text(cell.text));
        case CellKind::Boolean: return cell.boolean;
        case CellKind::Error: return static_cast<formula::ErrorCode>(cell.error);
        case CellKind::Formula: return engineValue(cells.formula(cell).cached);
        case CellKind::Blank: break;
    }
    return {};
}

}  // namespace

WorkbookFormulas::WorkbookFormulas(const Workbook& book) : book_(book), recalculator_(*this, clock_) {}

WorkbookFormulas::~WorkbookFormulas() = default;

int WorkbookFormulas::addSheet(Worksheet& sheet) {
    sheets_.push_back(&sheet);
    return static_cast<int>(sheets_.size() - 1);
}

void WorkbookFormulas::removeSheet(const Worksheet& sheet) {
    const int number = sheet.formulaSheet();
    if (sheetNumbered(number) != &sheet) return;
    sheet.forEachFormula(
        [&](CellAddress at, const std::string&) { recalculator_.removeFormula(position(sheet, at)); });
    sheets_[static_cast<std::size_t>(number)] = nullptr;
}

formula::CellPosition WorkbookFormulas::position(const Worksheet& sheet, CellAddress at) const {
    return formula::CellPosition{sheet.formulaSheet(), static_cast<int>(at.row), static_cast<int>(at.column)};
}

const Worksheet* WorkbookFormulas::sheetNumbered(int number) const {
    if (number < 0 || static_cast<std::size_t>(number) >= sheets_.size()) return nullptr;
    return sheets_[static_cast<std::size_t>(number)];
}

void WorkbookFormulas::setFormula(const Worksheet& sheet, CellAddress at, formula::Formula formula) {
    recalculator_.setFormula(position(sheet, at), std::move(formula));
}

void WorkbookFormulas::removeFormula(const Worksheet& sheet, CellAddress at) {
    recalculator_.removeFormula(position(sheet, at));
}

void WorkbookFormulas::changed(const Worksheet& sheet, CellAddress at) { recalculator_.cellChanged(position(sheet, at)); }

void WorkbookFormulas::moveFormula(const Worksheet& sheet, CellAddress from, CellAddress to) {
    const formula::Formula* moved = recalculator_.formulaAt(position(sheet, from));
    if (!moved) return;
    formula::Formula kept = *moved;
    Batch batch(*this);
    recalculator_.removeFormula(position(sheet, from));
    recalculator_.cellChanged(position(sheet, from));
    recalculator_.setFormula(position(sheet, to), std::move(kept));
}

void WorkbookFormulas::recalculateAll() { recalculator_.recalculateAll(); }

const formula::Formula* WorkbookFormulas::formulaAt(const Worksheet& sheet, CellAddress at) const {
    return recalculator_.formulaAt(position(sheet, at));
}

// --- What the engine reads and writes ---

std::optional<int> WorkbookFormulas::sheetIndex(std::string_view name) const {
    const std::string wanted = foldCase(name);
    for (const auto& sheet : book_.sheets()) {
        if (sheet->sheetType() != SheetType::Worksheet || foldCase(sheet->name()) != wanted) continue;
        const auto& worksheet = static_cast<const Worksheet&>(*sheet);
        if (sheetNumbered(worksheet.formulaSheet()) == &worksheet) return worksheet.formulaSheet();
    }
    return std::nullopt;
}

formula::Value WorkbookFormulas::cellValue(int sheet, int row, int column) const {
    const Worksheet* worksheet = sheetNumbered(sheet);
    if (!worksheet) return {};
    const CellStore& cells = worksheet->cells();
    const Cell* cell = cells.find(CellAddress{static_cast<std::uint32_t>(row), static_cast<std::uint32_t>(column)});
    return cell ? engineValue(*cell, cells, book_.strings()) : formula::Value();
}

void WorkbookFormulas::forEachFilledCell(int sheet, const formula::CellRect& rect, const CellVisitor& visit) const {
    const Worksheet* worksheet = sheetNumbered(sheet);
    if (!worksheet) return;
    const CellStore& cells = worksheet->cells();
    const StringPool& strings = book_.strings();
    const auto firstColumn0 = static_cast<std::uint16_t>(rect.firstColumn - 1);
    auto visitRow = [&](std::uint32_t row, std::span<const Cell> rowCells) {
        auto it = std::lower_bound(rowCells.begin(), rowCells.end(), firstColumn0,
                                   [](const Cell& c, std::uint16_t column0) { return c.column0 < column0; });
        for (; it != rowCells.end() && it->column0 < rect.lastColumn; ++it)
            if (it->kind != CellKind::Blank)
                visit(static_cast<int>(row), it->column0 + 1, engineValue(*it, cells, strings));
    };
    if (rect.rowCount() <= kRowByRowLimit) {
        for (int row = rect.firstRow; row <= rect.lastRow; ++row)
            visitRow(static_cast<std::uint32_t>(row), cells.row(static_cast<std::uint32_t>(row)));
        return;
    }
    cells.forEachRow([&](std::uint32_t row, std::span<const Cell> rowCells) {
        if (row >= static_cast<std::uint32_t>(rect.firstRow) && row <= static_cast<std::uint32_t>(rect.lastRow))
            visitRow(row, rowCells);
    });
}

void WorkbookFormulas::setFormulaResult(int sheet, int row, int column, const formula::Value& result) {
    if (!sheetNumbered(sheet)) return;
    Worksheet& worksheet = *sheets_[static_cast<std::size_t>(sheet)];
    const CellAddress at{static_cast<std::uint32_t>(row), static_cast<std::uint32_t>(column)};
    if (worksheet.formulaText(at)) worksheet.setFormulaResult(at, cellValueOf(result));
}

}  // namespace tabulix::spreadsheet
