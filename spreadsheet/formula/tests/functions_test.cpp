#include <gtest/gtest.h>

#include <cmath>

#include "spreadsheet/formula/tests/workbook_fixture.h"

namespace tabulix::spreadsheet::formula::testing {
namespace {

using Functions = WorkbookFixture;

TEST_F(Functions, SumAverageMaxMinOnEmptyInput) {
    EXPECT_EQ(eval("=SUM(A1:A10)"), Value(0.0));
    EXPECT_EQ(eval("=AVERAGE(A1:A10)"), Value(ErrorCode::Div0));
    EXPECT_EQ(eval("=MAX(A1:A10)"), Value(0.0));
    EXPECT_EQ(eval("=MIN(A1:A10)"), Value(0.0));
    EXPECT_EQ(eval("=PRODUCT(A1:A10)"), Value(0.0));
    EXPECT_EQ(eval("=MEDIAN(A1:A10)"), Value(ErrorCode::Num));
    EXPECT_EQ(eval("=COUNT(A1:A10)"), Value(0.0));
    EXPECT_EQ(eval("=SUM(,)"), Value(0.0));
    putColumn("A1", {-5.0, -2.0});
    EXPECT_EQ(eval("=MAX(A1:A10)"), Value(-2.0));
    EXPECT_EQ(eval("=MIN(A1:A10)"), Value(-5.0));
    EXPECT_EQ(eval("=MAX(A1:A10,TRUE)"), Value(1.0));
}

TEST_F(Functions, SumIsAccurateOverLongColumns) {
    CellPosition p = at("A1");
    for (int i = 0; i < 10000; ++i, ++p.row) host.setValue(p, 0.1);
    EXPECT_EQ(number(eval("=SUM(A1:A10000)")), 1000.0);
    EXPECT_EQ(number(eval("=AVERAGE(A:A)")), 0.1);
}

TEST_F(Functions, VarianceAndDeviation) {
    EXPECT_EQ(eval("=STDEV(5)"), Value(ErrorCode::Div0));
    EXPECT_EQ(eval("=VAR(5)"), Value(ErrorCode::Div0));
    EXPECT_EQ(eval("=STDEVP(5)"), Value(0.0));
    EXPECT_EQ(eval("=VARP(A1:A3)"), Value(ErrorCode::Div0));
    putColumn("A1", {2.0, 4.0, 4.0, 4.0, 5.0, 5.0, 7.0, 9.0});
    EXPECT_DOUBLE_EQ(number(eval("=VARP(A1:A8)")), 4.0);
    EXPECT_DOUBLE_EQ(number(eval("=STDEVP(A1:A8)")), 2.0);
    EXPECT_DOUBLE_EQ(number(eval("=VAR(A1:A8)")), 32.0 / 7.0);
    EXPECT_DOUBLE_EQ(number(eval("=STDEV(A1:A8)")), std::sqrt(32.0 / 7.0));
    // Large values with a small spread: a one-pass formula loses every digit here.
    putColumn("B1", {1e9 + 4, 1e9 + 7, 1e9 + 13, 1e9 + 16});
    EXPECT_DOUBLE_EQ(number(eval("=VAR(B1:B4)")), 30.0);
}

TEST_F(Functions, MedianAndProduct) {
    EXPECT_EQ(eval("=MEDIAN(3,1,2)"), Value(2.0));
    EXPECT_EQ(eval("=MEDIAN(4,1,3,2)"), Value(2.5));
    EXPECT_EQ(eval("=PRODUCT(2,3,\"4\")"), Value(24.0));
    EXPECT_EQ(eval("=PRODUCT(1E200,1E200)"), Value(ErrorCode::Num));
}

TEST_F(Functions, CountAndCountA) {
    putColumn("A1", {1.0, "x", Value(), ErrorCode::NA, "", false});
    EXPECT_EQ(eval("=COUNT(A1:A6)"), Value(1.0));
    EXPECT_EQ(eval("=COUNTA(A1:A6)"), Value(5.0)) << "errors and empty texts count";
    EXPECT_EQ(eval("=COUNT(1,\"2\",\"x\",TRUE,#N/A)"), Value(3.0));
    EXPECT_EQ(eval("=COUNTA(1,\"\",#N/A)"), Value(3.0));
}

TEST_F(Functions, RoundingWorksOnTheDecimalForm) {
    EXPECT_EQ(eval("=ROUND(2.675,2)"), Value(2.68));
    EXPECT_EQ(eval("=ROUND(1.005,2)"), Value(1.01));
    EXPECT_EQ(eval("=ROUND(-2.5,0)"), Value(-3.0));
    EXPECT_EQ(eval("=ROUND(2.5,0)"), Value(3.0));
    EXPECT_EQ(eval("=ROUND(1234.5678,-2)"), Value(1200.0));
    EXPECT_EQ(eval("=ROUND(0.5,-1)"), Value(0.0));
    EXPECT_EQ(eval("=ROUND(5,-1)"), Value(10.0));
    EXPECT_EQ(eval("=ROUND(999.9,0)"), Value(1000.0));
    EXPECT_EQ(eval("=ROUND(1.555,1.9)"), Value(1.6)) << "places truncate toward zero";
    EXPECT_EQ(eval("=ROUND(1/3,20)"), Value(1.0 / 3.0));
    EXPECT_EQ(eval("=ROUND(0.1+0.2,10)"), Value(0.3));
    EXPECT_EQ(eval("=ROUND(\"x\",1)"), Value(ErrorCode::Value));
    EXPECT_EQ(eval("=ROUND(1.5,)"), Value(2.0));
    EXPECT_EQ(eval("=ROUNDUP(3.2,0)"), Value(4.0));
    EXPECT_EQ(eval("=ROUNDUP(-3.2,0)"), Value(-4.0));
    EXPECT_EQ(eval("=ROUNDUP(0.1+0.2,1)"), Value(0.3)) << "the 15-digit form has no trailing digits";
    EXPECT_EQ(eval("=ROUNDUP(0.001,1)"), Value(0.1));
    EXPECT_EQ(eval("=ROUNDUP(123,-5)"), Value(100000.0));
    EXPECT_EQ(eval("=ROUNDUP(5,0)"), Value(5.0));
    EXPECT_EQ(eval("=ROUNDDOWN(-1.99,1)"), Value(-1.9));
    EXPECT_EQ(eval("=ROUNDDOWN(3.99999,2)"), Value(3.99));
    EXPECT_EQ(eval("=ROUNDDOWN(0.5,-1)"), Value(0.0));
    EXPECT_EQ(eval("=ROUNDUP(1.5E308,-308)"), Value(ErrorCode::Num));
}

TEST_F(Functions, IntAbsSqrtModPower) {
    EXPECT_EQ(eval("=INT(-0.5)"), Value(-1.0));
    EXPECT_EQ(eval("=INT(7.9)"), Value(7.0));
    EXPECT_EQ(eval("=ABS(-3)"), Value(3.0));
    EXPECT_EQ(eval("=SQRT(16)"), Value(4.0));
    EXPECT_EQ(eval("=SQRT(-1)"), Value(ErrorCode::Num));
    EXPECT_EQ(eval("=MOD(-1,3)"), Value(2.0));
    EXPECT_EQ(eval("=MOD(1,-3)"), Value(-2.0));
    EXPECT_EQ(eval("=MOD(-6,3)"), Value(0.0));
    EXPECT_EQ(eval("=MOD(5.5,2)"), Value(1.5));
    EXPECT_EQ(eval("=MOD(1,0)"), Value(ErrorCode::Div0));
    EXPECT_EQ(eval("=POWER(2,10)"), Value(1024.0));
    EXPECT_EQ(eval("=POWER(0,0)"), Value(ErrorCode::Num));
    EXPECT_EQ(eval("=POWER(\"2\",0.5)*POWER(2,0.5)"), Value(2.0000000000000004));
}

TEST_F(Functions, Logical) {
    EXPECT_EQ(eval("=IF(1,\"y\",\"n\")"), Value("y"));
    EXPECT_EQ(eval("=IF(0,\"y\",\"n\")"), Value("n"));
    EXPECT_EQ(eval("=IF(FALSE,1)"), Value(false));
    EXPECT_EQ(eval("=IF(FALSE,1,)"), Value(0.0));
    EXPECT_EQ(eval("=IF(\"true\",1,2)"), Value(1.0));
    EXPECT_EQ(eval("=IF(\"maybe\",1,2)"), Value(ErrorCode::Value));
    EXPECT_EQ(eval("=IF(A1,1,2)"), Value(2.0));
    putColumn("B1", {1.0, 2.0});
    EXPECT_EQ(eval("=SUM(IF(TRUE,B1:B2,0))"), Value(3.0)) << "IF hands the range on";
    EXPECT_EQ(eval("=AND(TRUE,1,\"TRUE\")"), Value(true));
    EXPECT_EQ(eval("=AND(TRUE,0)"), Value(false));
    EXPECT_EQ(eval("=AND(\"x\")"), Value(ErrorCode::Value));
    EXPECT_EQ(eval("=AND(A1:A5)"), Value(ErrorCode::Value)) << "nothing to judge";
    EXPECT_EQ(eval("=OR(FALSE,B1:B2)"), Value(true));
    EXPECT_EQ(eval("=OR(#N/A,TRUE)"), Value(ErrorCode::NA));
    putColumn("C1", {"text", false});
    EXPECT_EQ(eval("=OR(C1:C2)"), Value(false)) << "texts in ranges are skipped";
    EXPECT_EQ(eval("=NOT(0)"), Value(true));
    EXPECT_EQ(eval("=NOT(\"x\")"), Value(ErrorCode::Value));
    EXPECT_EQ(eval("=IFERROR(1/0,\"div\")"), Value("div"));
    EXPECT_EQ(eval("=IFERROR(5,\"div\")"), Value(5.0));
    EXPECT_EQ(eval("=TRUE()"), Value(true));
}

TEST_F(Functions, Text) {
    EXPECT_EQ(eval("=CONCATENATE(\"a\",1,TRUE,A1,0.5)"), Value("a1TRUE0.5"));
    EXPECT_EQ(eval("=CONCATENATE(\"a\",1/0)"), Value(ErrorCode::Div0));
    EXPECT_EQ(eval("=LEN(\"año\")"), Value(3.0));
    EXPECT_EQ(eval("=LEN(1234.5)"), Value(6.0));
    EXPECT_EQ(eval("=LEN(A1)"), Value(0.0));
    EXPECT_EQ(eval("=LEFT(\"año\",2)"), Value("añ"));
    EXPECT_EQ(eval("=LEFT(\"abc\")"), Value("a"));
    EXPECT_EQ(eval("=LEFT(\"abc\",10)"), Value("abc"));
    EXPECT_EQ(eval("=LEFT(\"abc\",0)"), Value(""));
    EXPECT_EQ(eval("=LEFT(\"abc\",-1)"), Value(ErrorCode::Value));
    EXPECT_EQ(eval("=RIGHT(\"añob\",3)"), Value("ñob"));
    EXPECT_EQ(eval("=RIGHT(12345,2)"), Value("45"));
    EXPECT_EQ(eval("=RIGHT(\"abc\",1E300)"), Value("abc"));
    EXPECT_EQ(eval("=UPPER(\"straße ñá\")"), Value("STRAßE ÑÁ"));
    EXPECT_EQ(eval("=LOWER(\"ÀÉÎ×Ñ\")"), Value("àéî×ñ"));
    EXPECT_EQ(eval("=TRIM(\"  a   b  \")"), Value("a b"));
}

TEST_F(Functions, TodayComesFromTheClock) {
    EXPECT_EQ(eval("=TODAY()"), Value(45366.0));
    clock.serial = dateSerial(1900, 3, 1);
    EXPECT_EQ(eval("=TODAY()"), Value(61.0));
    EXPECT_EQ(dateSerial(1900, 1, 1), 2);
    EXPECT_GT(SystemClock().todaySerial(), dateSerial(2024, 1, 1));
}

TEST_F(Functions, SumProduct) {
    putColumn("A1", {1.0, 2.0, "x"});
    putColumn("B1", {3.0, 4.0, 5.0});
    EXPECT_EQ(eval("=SUMPRODUCT(A1:A3,B1:B3)"), Value(11.0)) << "text counts as 0";
    EXPECT_EQ(eval("=SUMPRODUCT(A1:A3,B1:B2)"), Value(ErrorCode::Value));
    EXPECT_EQ(eval("=SUMPRODUCT(3)"), Value(3.0));
    EXPECT_EQ(eval("=SUMPRODUCT(TRUE)"), Value(0.0));
    put("B2", ErrorCode::NA);
    EXPECT_EQ(eval("=SUMPRODUCT(A1:A3,B1:B3)"), Value(ErrorCode::NA));
}

}  // namespace
}  // namespace tabulix::spreadsheet::formula::testing
