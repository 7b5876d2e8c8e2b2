#pragma once
// Computes the value of a parsed formula against the cells of a host. Evaluation never fails:
// every problem (division by zero, text where a number belongs, a missing sheet...) becomes an
// error value in the result, as in a spreadsheet.

#include <vector>

#include "spreadsheet/formula/clock.h"
#include "spreadsheet/formula/formula.h"
#include "spreadsheet/formula/formula_host.h"
#include "spreadsheet/formula/operand.h"

namespace tabulix::spreadsheet::formula {

class Evaluator {
public:
    // Both are borrowed and must outlive the evaluator.
    Evaluator(const FormulaHost& host, const Clock& clock) : host_(host), clock_(clock) {}

    // The value of `formula` standing in cell `at`. Never empty: a formula that refers to an
    // empty cell gives 0, like the spreadsheet shows it.
    Value evaluate(const Formula& formula, const CellPosition& at);

private:
    const FormulaHost& host_;
    const Clock& clock_;
    std::vector<Operand> stack_;    // kept between calls to save allocations
    std::vector<Value> arguments_;  // likewise
};

}  // namespace tabulix::spreadsheet::formula
