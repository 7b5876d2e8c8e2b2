#include <gtest/gtest.h>

#include <cmath>

#include "spreadsheet/formula/tests/workbook_fixture.h"

namespace tabulix::spreadsheet::formula::testing {
namespace {

using Conversions = WorkbookFixture;

TEST_F(Conversions, EmptyCellsTextAndBooleansInOperators) {
    EXPECT_EQ(eval("=A1+1"), Value(1.0));             // empty is 0
    EXPECT_EQ(eval("=A1&\"x\""), Value("x"));         // and "" in text
    EXPECT_EQ(eval("=A1"), Value(0.0));               // a formula never shows an empty result
    EXPECT_EQ(eval("=\"3\"+1"), Value(4.0));
    EXPECT_EQ(eval("=\" 2.5e1 \"*2"), Value(50.0));
    EXPECT_EQ(eval("=\"50%\"*2"), Value(1.0));
    EXPECT_EQ(eval("=\"abc\"+1"), Value(ErrorCode::Value));
    EXPECT_EQ(eval("=\"\"+1"), Value(ErrorCode::Value));
    EXPECT_EQ(eval("=TRUE+TRUE"), Value(2.0));
    EXPECT_EQ(eval("=-FALSE"), Value(0.0));
    EXPECT_EQ(eval("=1&TRUE"), Value("1TRUE"));
    EXPECT_EQ(eval("=0.1+0.2&\"\""), Value("0.3"));
    EXPECT_EQ(eval("=1/3&\"\""), Value("0.333333333333333"));
    EXPECT_EQ(eval("=+\"abc\""), Value("abc")) << "unary plus changes nothing";
    put("A1", "7");
    EXPECT_EQ(eval("=A1*2"), Value(14.0)) << "numeric text in a cell converts too";
    EXPECT_EQ(eval("=A1"), Value("7"));
}

TEST_F(Conversions, ArithmeticFaults) {
    EXPECT_EQ(eval("=1/0"), Value(ErrorCode::Div0));
    EXPECT_EQ(eval("=1/A1"), Value(ErrorCode::Div0));
    EXPECT_EQ(eval("=1E308*10"), Value(ErrorCode::Num));
    EXPECT_EQ(eval("=0^0"), Value(ErrorCode::Num));
    EXPECT_EQ(eval("=0^-1"), Value(ErrorCode::Div0));
    EXPECT_EQ(eval("=(-8)^(1/3)"), Value(ErrorCode::Num));
    EXPECT_EQ(eval("=(-2)^3"), Value(-8.0));
    EXPECT_EQ(eval("=-0"), Value(0.0));
    EXPECT_FALSE(std::signbit(eval("=-0*1").number()));
}

TEST_F(Conversions, ComparisonOrdersNumbersTextsBooleans) {
    EXPECT_EQ(eval("=1<\"a\""), Value(true));
    EXPECT_EQ(eval("=\"z\"<TRUE"), Value(true));
    EXPECT_EQ(eval("=FALSE<TRUE"), Value(true));
    EXPECT_EQ(eval("=999999<\"0\""), Value(true));
    EXPECT_EQ(eval("=\"abc\"=\"ABC\""), Value(true));
    EXPECT_EQ(eval("=\"ñ\"=\"Ñ\""), Value(true));
    EXPECT_EQ(eval("=\"a\"<\"B\""), Value(true));
    EXPECT_EQ(eval("=\"ab\"<\"abc\""), Value(true));
    EXPECT_EQ(eval("=0.1+0.2=0.3"), Value(true)) << "compared at 15 digits";
    EXPECT_EQ(eval("=1=1.0000000000001"), Value(false));
    EXPECT_EQ(eval("=A1=0"), Value(true));
    EXPECT_EQ(eval("=A1=\"\""), Value(true));
    EXPECT_EQ(eval("=A1=FALSE"), Value(true));
    EXPECT_EQ(eval("=A1<>A2"), Value(false));
    EXPECT_EQ(eval("=\"1\"=1"), Value(false)) << "no conversion in comparisons";
    EXPECT_EQ(eval("=2>=2"), Value(true));
    EXPECT_EQ(eval("=2<=1"), Value(false));
}

using Errors = WorkbookFixture;

TEST_F(Errors, PropagateInEvaluationOrder) {
    put("A1", ErrorCode::NA);
    put("A2", ErrorCode::Div0);
    EXPECT_EQ(eval("=A1+A2"), Value(ErrorCode::NA));
    EXPECT_EQ(eval("=A2+A1"), Value(ErrorCode::Div0));
    EXPECT_EQ(eval("=A2&A1"), Value(ErrorCode::Div0));
    EXPECT_EQ(eval("=A1>A2"), Value(ErrorCode::NA));
    EXPECT_EQ(eval("=-A1"), Value(ErrorCode::NA));
    EXPECT_EQ(eval("=SUM(A1:A2)"), Value(ErrorCode::NA));
    EXPECT_EQ(eval("=SUM(1,\"x\",A2)"), Value(ErrorCode::Value));
    EXPECT_EQ(eval("=ROUND(A2,1)"), Value(ErrorCode::Div0));
    EXPECT_EQ(eval("=#NULL!"), Value(ErrorCode::Null));
    EXPECT_EQ(eval("=Nowhere!A1"), Value(ErrorCode::Ref)) << "a sheet that does not exist";
    EXPECT_EQ(eval("=IF(TRUE,1,A1)"), Value(1.0)) << "the branch not taken does not matter";
    EXPECT_EQ(eval("=IFERROR(A1,\"none\")"), Value("none"));
    EXPECT_EQ(eval("=COUNT(A1:A2,1)"), Value(1.0)) << "COUNT skips errors";
}

using Ranges = WorkbookFixture;

TEST_F(Ranges, EmptyAndTextCellsAreSkippedDirectArgumentsCount) {
    putColumn("C1", {1.0, Value(), "text", true, "5", 2.0});
    EXPECT_EQ(eval("=SUM(C1:C6)"), Value(3.0));
    EXPECT_EQ(eval("=AVERAGE(C1:C6)"), Value(1.5));
    EXPECT_EQ(eval("=COUNT(C1:C6)"), Value(2.0));
    EXPECT_EQ(eval("=COUNTA(C1:C6)"), Value(5.0));
    EXPECT_EQ(eval("=MAX(C1:C6)"), Value(2.0));
    EXPECT_EQ(eval("=SUM(\"3\",TRUE)"), Value(4.0));
    EXPECT_EQ(eval("=SUM(C4)"), Value(0.0)) << "a single cell is a reference, not a direct value";
    EXPECT_EQ(eval("=SUM(C4*1)"), Value(1.0)) << "an expression is a direct value";
    EXPECT_EQ(eval("=SUM(C5+0)", "D5"), Value(5.0));
    EXPECT_EQ(eval("=SUM(C1:C6,10,\"1\")"), Value(14.0));
    EXPECT_EQ(eval("=SUM(C:C)"), Value(3.0));
    EXPECT_EQ(eval("=SUM(1:6)"), Value(3.0));
    EXPECT_EQ(eval("=SUM(C6:C1)"), Value(3.0));
}

TEST_F(Ranges, ImplicitIntersectionOutsideArrayArguments) {
    putColumn("C1", {1.0, 2.0, 3.0});
    EXPECT_EQ(eval("=C1:C3*10", "D2"), Value(20.0));
    EXPECT_EQ(eval("=C1:C3", "D3"), Value(3.0));
    EXPECT_EQ(eval("=C1:C3", "D9"), Value(ErrorCode::Value));
    EXPECT_EQ(eval("=C1:D3", "E2"), Value(ErrorCode::Value));
    put("A7", 5.0);
    put("B7", 6.0);
    EXPECT_EQ(eval("=A7:C7+1", "B20"), Value(7.0));
}

TEST_F(Ranges, OtherSheetsByName) {
    put("'Mi hoja'!B2", 21.0);
    put("'Mi hoja'!B3", 21.0);
    EXPECT_EQ(eval("='mi HOJA'!B2*2"), Value(42.0));
    EXPECT_EQ(eval("=SUM('Mi hoja'!B:B)"), Value(42.0));
    EXPECT_EQ(eval("=Hoja1!B2"), Value(0.0));
}

TEST_F(Ranges, ArrayArgumentsWorkCellByCell) {
    putColumn("A1", {1.0, -2.0, 3.0});
    putColumn("B1", {10.0, 20.0, 30.0});
    EXPECT_EQ(eval("=SUMPRODUCT((A1:A3>0)*B1:B3)"), Value(40.0));
    EXPECT_EQ(eval("=SUMPRODUCT(A1:A3*2,B1:B3)"), Value(2 * (10.0 - 40.0 + 90.0)));
    EXPECT_EQ(eval("=SUMPRODUCT(ABS(A1:A3))"), Value(6.0));
    EXPECT_EQ(eval("=SUMPRODUCT(IF(A1:A3>0,A1:A3,0))"), Value(4.0));
    EXPECT_EQ(eval("=SUMPRODUCT(--(B1:B3>15))"), Value(2.0));
    EXPECT_EQ(eval("=SUMPRODUCT(A1:A3+B1:B2)"), Value(ErrorCode::NA)) << "unequal shapes leave #N/A cells";
    EXPECT_EQ(eval("=SUMPRODUCT(A1:A3*B1)"), Value(20.0));
    EXPECT_EQ(eval("=SUMPRODUCT(A1:XFD1048576)"), Value(ErrorCode::Num)) << "too large to lay out";
    EXPECT_EQ(eval("=SUMPRODUCT(A:A,B:B)"), Value(60.0));
    EXPECT_EQ(eval("=SUMPRODUCT(A:A*1,A:A*1,A:A*1,A:A*1,A:A*1)"), Value(ErrorCode::Num)) << "work per formula is bounded";
}

TEST_F(Ranges, TextsHaveALengthLimit) {
    put("A1", std::string(20000, 'x'));
    EXPECT_EQ(eval("=LEN(A1&A1)"), Value(ErrorCode::Value));
    EXPECT_EQ(eval("=LEN(CONCATENATE(A1,A1))"), Value(ErrorCode::Value));
    EXPECT_EQ(eval("=LEN(A1&\"y\")"), Value(20001.0));
}

}  // namespace
}  // namespace tabulix::spreadsheet::formula::testing
