#pragma once
// A small workbook for tests: cells in a MemoryHost, a fixed date, and a Recalculator, addressed
// by cell names ("B3", "Datos!A1").

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "spreadsheet/formula/evaluator.h"
#include "spreadsheet/formula/memory_host.h"
#include "spreadsheet/formula/recalculator.h"

namespace tabulix::spreadsheet::formula {

inline void PrintTo(const Value& value, std::ostream* out) { *out << value.describe(); }

}  // namespace tabulix::spreadsheet::formula

namespace tabulix::spreadsheet::formula::testing {

class FixedClock : public Clock {
public:
    int serial = dateSerial(2024, 3, 15);
    int todaySerial() const override { return serial; }
};

class WorkbookFixture : public ::testing::Test {
protected:
    WorkbookFixture() {
        host.addSheet("Hoja1");
        host.addSheet("Mi hoja");
    }

    // "C7" or "'Mi hoja'!C7" -> position, read with the formula parser itself.
    CellPosition at(const std::string& name) const {
        Formula f = Formula::parse("=" + name);
        const Reference& ref = f.references()[0];
        int sheet = ref.sheetName == Reference::kOwnSheet ? 0 : *host.sheetIndex(f.text(ref.sheetName));
        return CellPosition{sheet, ref.rect.firstRow, ref.rect.firstColumn};
    }

    // Puts a value and tells the recalculator, as a cell store does.
    void put(const std::string& cell, Value value) {
        recalculator.removeFormula(at(cell));
        host.setValue(at(cell), std::move(value));
        recalculator.cellChanged(at(cell));
    }
    void putFormula(const std::string& cell, const std::string& text) {
        recalculator.setFormula(at(cell), Formula::parse(text));
    }
    Value get(const std::string& cell) const { return host.value(at(cell)); }

    // The value of `text` as if it stood in `cell`, without storing it.
    Value eval(const std::string& text, const std::string& cell = "Z100") {
        return evaluator.evaluate(Formula::parse(text), at(cell));
    }

    // Fills a column from `firstCell` downwards.
    void putColumn(const std::string& firstCell, std::initializer_list<Value> values) {
        CellPosition p = at(firstCell);
        for (const Value& v : values) {
            host.setValue(p, v);
            recalculator.cellChanged(p);
            ++p.row;
        }
    }

    MemoryHost host;
    FixedClock clock;
    Recalculator recalculator{host, clock};
    Evaluator evaluator{host, clock};
};

inline double number(const Value& v) {
    EXPECT_TRUE(v.isNumber()) << v.describe();
    return v.isNumber() ? v.number() : 0.0;
}

}  // namespace tabulix::spreadsheet::formula::testing
