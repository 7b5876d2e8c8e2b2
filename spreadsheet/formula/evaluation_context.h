#pragma once
// What operators and functions see while a formula is evaluated: the host's cells, the clock,
// the formula's own cell, and the rules that reduce ranges to values or spread work over arrays.
// Internal to the formula engine.

#include <functional>
#include <span>
#include <variant>

#include "spreadsheet/formula/clock.h"
#include "spreadsheet/formula/coercion.h"
#include "spreadsheet/formula/formula_host.h"
#include "spreadsheet/formula/operand.h"

namespace tabulix::spreadsheet::formula {

// Texts longer than this are not built; the operation gives #VALUE! instead, as spreadsheets do.
inline constexpr std::size_t kMaxTextLength = 32767;

class EvaluationContext {
public:
    using ElementFunction = std::function<Value(std::span<const Value>)>;

    EvaluationContext(const FormulaHost& host, const Clock& clock, CellPosition at)
        : host_(host), clock_(clock), at_(at) {}

    const Clock& clock() const { return clock_; }
    const CellPosition& position() const { return at_; }

    // Inside an array argument (SUMPRODUCT), operators and value functions work cell by cell.
    bool arrayMode() const { return arrayMode_; }
    void setArrayMode(bool on) { arrayMode_ = on; }

    // One value from an operand: a one-cell range gives that cell; a one-column (one-row) range
    // the cell in the formula's own row (column), else #VALUE!; an array its first element.
    Value toValue(const Operand& operand) const;

    static bool isMultiCell(const Operand& operand);

    // The operand as an array (a single value is 1x1); #NUM! beyond kMaxArrayCells or the
    // formula's budget.
    Checked<ArrayOperand> toArray(const Operand& operand) const;

    // Applies `function` cell by cell over the array-like arguments, repeating single values
    // and single rows or columns; cells outside a smaller array get #N/A.
    Operand elementwise(std::span<const Operand> arguments, const ElementFunction& function) const;

    // Visits what an aggregate function sees: each direct argument value (direct = true), and
    // the filled cells of ranges and the non-empty elements of arrays (direct = false).
    template <class Visit>
    void forEachArgumentValue(std::span<const Operand> arguments, Visit&& visit) const {
        for (const Operand& argument : arguments) {
            if (const auto* value = std::get_if<Value>(&argument)) {
                visit(*value, true);
            } else if (const auto* range = std::get_if<RangeOperand>(&argument)) {
                host_.forEachFilledCell(range->sheet, range->rect,
                                        [&visit](int, int, const Value& cell) { visit(cell, false); });
            } else {
                for (const Value& element : std::get<ArrayOperand>(argument).cells)
                    if (!element.isEmpty()) visit(element, false);
            }
        }
    }

private:
    // Takes `cells` from the formula's array budget; false when it is spent.
    bool spendArrayCells(std::int64_t cells) const;

    const FormulaHost& host_;
    const Clock& clock_;
    CellPosition at_;
    bool arrayMode_ = false;
    mutable std::int64_t arrayCellsLeft_ = kMaxArrayCellsPerFormula;
};

}  // namespace tabulix::spreadsheet::formula
