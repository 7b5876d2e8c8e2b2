#include <gtest/gtest.h>

#include "spreadsheet/formula/tests/workbook_fixture.h"

namespace tabulix::spreadsheet::formula::testing {
namespace {

using Recalculation = WorkbookFixture;

// The summary lines under a data block, as the transfer writes them.
TEST_F(Recalculation, SummaryLinesFollowTheirData) {
    putColumn("C3", {10.0, 20.0, 30.0});
    putColumn("D3", {1.0, 2.0, 3.0});
    putColumn("E3", {100.0, 200.0, 300.0});
    putFormula("C21", "=SUM(C3:C20)");
    putFormula("D21", "=SUM(D3:D20)");
    putFormula("E21", "=SUM(E3:E20)");
    putFormula("E23", "=(C21+D21+E21)");
    putFormula("E24", "=E23*1.16");
    putFormula("E25", "=STDEV(C3:C20)");
    EXPECT_EQ(get("E23"), Value(666.0));
    EXPECT_DOUBLE_EQ(number(get("E24")), 666 * 1.16);
    EXPECT_DOUBLE_EQ(number(get("E25")), 10.0);

    put("C4", 50.0);  // a precedent changes: the whole chain follows
    EXPECT_EQ(get("C21"), Value(90.0));
    EXPECT_EQ(get("E23"), Value(696.0));
    EXPECT_DOUBLE_EQ(number(get("E24")), 696 * 1.16);
    EXPECT_DOUBLE_EQ(number(get("E25")), 20.0);

    put("C20", "not a number");  // text inside the range is skipped
    EXPECT_EQ(get("C21"), Value(90.0));
    put("C20", ErrorCode::NA);
    EXPECT_EQ(get("E24"), Value(ErrorCode::NA));
    put("C20", Value());
    EXPECT_DOUBLE_EQ(number(get("E24")), 696 * 1.16);
}

TEST_F(Recalculation, FormulasWrittenBeforeTheirPrecedents) {
    putFormula("A1", "=B1*2");
    putFormula("B1", "=C1+1");
    EXPECT_EQ(get("A1"), Value(2.0));
    put("C1", 4.0);
    EXPECT_EQ(get("B1"), Value(5.0));
    EXPECT_EQ(get("A1"), Value(10.0));
}

TEST_F(Recalculation, DiamondIsComputedInDependencyOrder) {
    // D1 reads B1 and C1, both read A1: D1 must see both new values, computed once.
    putFormula("D1", "=B1+C1");
    putFormula("B1", "=A1*10");
    putFormula("C1", "=B1+A1");
    put("A1", 1.0);
    EXPECT_EQ(get("D1"), Value(21.0));
    put("A1", 2.0);
    EXPECT_EQ(get("D1"), Value(42.0));
}

TEST_F(Recalculation, ReplacingAndRemovingFormulas) {
    put("A1", 3.0);
    putFormula("B1", "=A1+1");
    putFormula("C1", "=B1*2");
    EXPECT_EQ(get("C1"), Value(8.0));
    putFormula("B1", "=A1*100");  // replaced: the old dependency on A1 is dropped, the new one kept
    EXPECT_EQ(get("C1"), Value(600.0));
    put("B1", 7.0);  // a value over a formula
    EXPECT_EQ(recalculator.formulaAt(at("B1")), nullptr);
    EXPECT_EQ(get("C1"), Value(14.0));
    put("A1", 5.0);
    EXPECT_EQ(get("B1"), Value(7.0)) << "the value stays";
    EXPECT_EQ(recalculator.formulaCount(), 1u);
}

TEST_F(Recalculation, RangesAcrossSheetsAndWholeColumns) {
    putFormula("A1", "=SUM('Mi hoja'!B:B)+COUNT(Hoja1!C2:E9)");
    put("'Mi hoja'!B500000", 5.0);
    EXPECT_EQ(get("A1"), Value(5.0));
    put("D5", 1.0);
    EXPECT_EQ(get("A1"), Value(6.0));
    put("F5", 1.0);  // outside the rectangle, same rows
    put("D10", 1.0);  // outside, same columns
    EXPECT_EQ(get("A1"), Value(6.0));
}

TEST_F(Recalculation, CircularReferencesGiveAnErrorNotAHang) {
    putFormula("A1", "=A1+1");
    EXPECT_EQ(get("A1"), Value(kCircularReferenceError));

    putFormula("B1", "=C1+1");
    putFormula("C1", "=D1+1");
    putFormula("D1", "=B1+1");
    putFormula("E1", "=D1*2");  // reads the loop without being part of it
    putFormula("F1", "=SUM(B1:B3)");
    for (const char* cell : {"B1", "C1", "D1", "E1", "F1"}) EXPECT_EQ(get(cell), Value(ErrorCode::Ref)) << cell;

    putFormula("G5", "=SUM(G1:G10)");  // a range that contains the formula itself
    EXPECT_EQ(get("G5"), Value(ErrorCode::Ref));

    putFormula("D1", "=5");  // breaking the loop heals every cell
    EXPECT_EQ(get("B1"), Value(7.0));
    EXPECT_EQ(get("C1"), Value(6.0));
    EXPECT_EQ(get("E1"), Value(10.0));
    EXPECT_EQ(get("F1"), Value(7.0));
}

TEST_F(Recalculation, LongChainsAndLoopsDoNotExhaustTheStack) {
    constexpr int kLength = 100000;
    putFormula("A1", "=A" + std::to_string(kLength) + "+1");
    for (int row = 2; row <= kLength; ++row) putFormula("A" + std::to_string(row), "=A" + std::to_string(row - 1) + "+1");
    EXPECT_EQ(get("A1"), Value(ErrorCode::Ref));
    EXPECT_EQ(get("A50000"), Value(ErrorCode::Ref));
    putFormula("A1", "=1");
    EXPECT_EQ(get("A" + std::to_string(kLength)), Value(double(kLength)));
}

TEST_F(Recalculation, BatchComputesOnceAtTheEnd) {
    putFormula("B1", "=SUM(A1:A1000)");
    {
        Recalculator::Batch batch(recalculator);
        for (int row = 1; row <= 1000; ++row) put("A" + std::to_string(row), 1.0);
        putFormula("C1", "=B1*2");
        EXPECT_EQ(get("B1"), Value(0.0)) << "not yet";
        EXPECT_EQ(get("C1"), Value());
    }
    EXPECT_EQ(get("B1"), Value(1000.0));
    EXPECT_EQ(get("C1"), Value(2000.0));
}

TEST_F(Recalculation, VolatileFormulasFollowTheClockOnEveryRecalculation) {
    putFormula("A1", "=TODAY()");
    EXPECT_EQ(get("A1"), Value(45366.0));
    clock.serial += 1;
    put("Z1", 1.0);
    EXPECT_EQ(get("A1"), Value(45367.0));
    clock.serial += 1;
    recalculator.recalculateAll();
    EXPECT_EQ(get("A1"), Value(45368.0));
}

TEST_F(Recalculation, SheetAddedLaterIsFoundOnFullRecalculation) {
    putFormula("A1", "=Otra!A1+1");
    EXPECT_EQ(get("A1"), Value(ErrorCode::Ref));
    int sheet = host.addSheet("Otra");
    host.setValue(CellPosition{sheet, 1, 1}, 41.0);
    recalculator.recalculateAll();
    EXPECT_EQ(get("A1"), Value(42.0));
    host.setValue(CellPosition{sheet, 1, 1}, 1.0);
    recalculator.cellChanged(CellPosition{sheet, 1, 1});
    EXPECT_EQ(get("A1"), Value(2.0));
}

}  // namespace
}  // namespace tabulix::spreadsheet::formula::testing
