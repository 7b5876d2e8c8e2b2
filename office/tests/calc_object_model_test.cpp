// Calc through the object model: what the component's calls do to the suite's documents.

#include <gtest/gtest.h>

#include "automation/automation_error.h"
#include "office/tests/calc_test_support.h"

namespace tabulix::office {
namespace {

using namespace automation;
using testing::Calc;
using testing::Cell;
using testing::FirstSheet;
using testing::NewWorkbook;

std::string errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const AutomationError& e) {
        return e.what();
    }
    return "";
}

TEST(CalcObjectModel, ValuesAndEnglishFormulas) {
    const DispatchPtr sheet = FirstSheet(NewWorkbook());
    Cell(sheet, "A1")->put(dispid::Value, Variant(2.5));
    Cell(sheet, "A2")->put(dispid::Value, Variant(std::int32_t{4}));
    Cell(sheet, "B1")->put(dispid::Value, Variant("=A1 stays text"));
    Cell(sheet, "C1")->put(dispid::Formula, Variant("=SUM(A1:A2)"));
    Cell(sheet, "C2")->put(dispid::Formula, Variant("=IF(A1>2,\"big\",\"small\")"));
    Cell(sheet, "C3")->put(dispid::Formula, Variant("=STDEV(A1:A2)*1.16"));

    EXPECT_EQ(Cell(sheet, "B1")->get(dispid::Value).toText(), "=A1 stays text");
    EXPECT_DOUBLE_EQ(Cell(sheet, "C1")->get(dispid::Value).toDouble(), 6.5);
    EXPECT_EQ(Cell(sheet, "C1")->get(dispid::Formula).toText(), "=SUM(A1:A2)");
    EXPECT_EQ(Cell(sheet, "C2")->get(dispid::Value).toText(), "big");
    EXPECT_NEAR(Cell(sheet, "C3")->get(dispid::Value).toDouble(), 1.0606601717798 * 1.16, 1e-9);
}

TEST(CalcObjectModel, AFormulaCalcCannotReadIsRefusedAndTheCellKept) {
    const DispatchPtr sheet = FirstSheet(NewWorkbook());
    Cell(sheet, "A1")->put(dispid::Value, Variant(7.0));
    for (const char* formula : {"=SUM(A2:A3", "=1+*2", "=(A2))"}) {
        const std::string error = errorOf([&] { Cell(sheet, "A1")->put(dispid::Formula, Variant(formula)); });
        EXPECT_NE(error.find("Range.Formula"), std::string::npos) << formula << ": " << error;
        EXPECT_DOUBLE_EQ(Cell(sheet, "A1")->get(dispid::Value).toDouble(), 7.0) << formula;
    }
}

TEST(CalcObjectModel, CellNamesOutsideTheSheetAreRefused) {
    const DispatchPtr sheet = FirstSheet(NewWorkbook());
    for (const char* name : {"", "A0", "1A", "XFE1", "A1048577", "A1:B2"}) {
        const std::string error = errorOf([&] { Cell(sheet, name); });
        EXPECT_NE(error.find("is not a cell name"), std::string::npos) << name << ": " << error;
    }
}
}  // namespace
}  // namespace tabulix::office
