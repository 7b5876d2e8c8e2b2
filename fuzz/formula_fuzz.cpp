// Feeds arbitrary text to the formula parser; what parses is evaluated against a small workbook
// and placed in a recalculated sheet where it may read itself. Refusals are AutomationErrors;
// anything else escaping, a crash, a hang or a sanitizer report is a fault. Checks on top: the
// canonical text parses back to itself and evaluates to the same value, and so does the text of
// the formula copied to another cell.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "automation/automation_error.h"
#include "spreadsheet/formula/evaluator.h"
#include "spreadsheet/formula/memory_host.h"
#include "spreadsheet/formula/recalculator.h"

using namespace tabulix::spreadsheet::formula;

namespace {

class FixedClock : public Clock {
public:
    int todaySerial() const override { return 45366; }
};

void fillWorkbook(MemoryHost& host) {
    host.addSheet("Hoja1");
    const int other = host.addSheet("Mi hoja");
    const Value values[] = {1.5, -2.0, 0.0, 1e300, "12", "texto", "", true, false, ErrorCode::Div0, ErrorCode::NA};
    int i = 0;
    for (int row = 1; row <= 6; ++row)
        for (int column = 1; column <= 4; ++column) host.setValue(CellPosition{0, row, column}, values[i++ % std::size(values)]);
    host.setValue(CellPosition{other, 1, 1}, 42.0);
    host.setValue(CellPosition{other, 1048576, 16384}, "last");
    host.setValue(CellPosition{0, 1048576, 1}, 7.0);
}

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    if (text.empty() || text[0] != '=') text.insert(0, "=");

    Formula formula;
    try {
        formula = Formula::parse(text);
    } catch (const tabulix::automation::AutomationError&) {
        return 0;
    }
    const std::string canonical = formula.canonicalText();
    const Formula again = Formula::parse("=" + canonical);  // must not be refused
    check(again.canonicalText() == canonical);
    check(formula.translated(0, 0).canonicalText() == canonical);
    const Formula moved = formula.translated(-2, 3);
    check(Formula::parse("=" + moved.canonicalText()).canonicalText() == moved.canonicalText());

    MemoryHost host;
    fillWorkbook(host);
    FixedClock clock;
    Evaluator evaluator(host, clock);
    const CellPosition at{0, 3, 2};
    const Value value = evaluator.evaluate(formula, at);
    check(!value.isEmpty());
    check(evaluator.evaluate(again, at) == value);

    // In the sheet, at a cell its own ranges may cover, with readers before and after it.
    Recalculator recalculator(host, clock);
    recalculator.setFormula(CellPosition{0, 8, 1}, Formula::parse("=B3*2+SUM(A1:D10)"));
    recalculator.setFormula(at, std::move(formula));
    recalculator.setFormula(CellPosition{0, 9, 1}, Formula::parse("=A8+B3"));
    host.setValue(CellPosition{0, 1, 1}, 3.0);
    recalculator.cellChanged(CellPosition{0, 1, 1});
    check(!host.value(at).isEmpty());
    return 0;
}
