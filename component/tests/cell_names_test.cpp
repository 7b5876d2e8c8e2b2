#include <gtest/gtest.h>

#include "component/cell_names.h"
#include "framework/convert.h"

using namespace tabulix::component;
using tabulix::framework::EConvertError;

TEST(ColumnLetters, NamesColumnsAsTheSpreadsheetDoes) {
    EXPECT_EQ(ColumnLetters(1), "A");
    EXPECT_EQ(ColumnLetters(26), "Z");
    EXPECT_EQ(ColumnLetters(27), "AA");
    EXPECT_EQ(ColumnLetters(52), "AZ");
    EXPECT_EQ(ColumnLetters(53), "BA");
    EXPECT_EQ(ColumnLetters(702), "ZZ");
    EXPECT_EQ(ColumnLetters(703), "AAA");
    EXPECT_EQ(ColumnLetters(16384), "XFD");
    EXPECT_EQ(ColumnLetters(0), "@");
    EXPECT_EQ(ColumnLetters(-1), "?");
}

TEST(CellName, FromColumnNumberAndRow) {
    EXPECT_EQ(CellName(std::uint16_t{1}, 1), "A1");
    EXPECT_EQ(CellName(std::uint16_t{26}, 100), "Z100");
    EXPECT_EQ(CellName(std::uint16_t{28}, 3), "AB3");
    EXPECT_EQ(CellName(std::uint16_t{0}, 5), "");
    EXPECT_EQ(CellName(std::uint16_t{5}, 0), "");
    EXPECT_EQ(CellName(std::uint16_t{65535}, 65535), "CRXO65535");
}

TEST(CellName, FromLetterKeepsItsCaseAndDoesNotCheckTheRow) {
    EXPECT_EQ(CellName('c', 7), "c7");
    EXPECT_EQ(CellName('B', 0), "B0");
    EXPECT_EQ(CellName('1', 3), "");
    EXPECT_EQ(CellName('[', 3), "");
    EXPECT_EQ(CellName('\0', 3), "");
}

TEST(ShiftCellName, MovesTheFirstCharacterAndTheRow) {
    EXPECT_EQ(ShiftCellName("C5", 2, -1), "E4");
    EXPECT_EQ(ShiftCellName("B12", 0, 10), "B22");
    EXPECT_EQ(ShiftCellName("A1", 0, -1), "A0");
    EXPECT_EQ(ShiftCellName("A1", -1, -5), "@-4");  // no range checks: the caller keeps offsets inside
    EXPECT_THROW(ShiftCellName("AB3", 1, 1), EConvertError);
    EXPECT_THROW(ShiftCellName("", 1, 1), EConvertError);
    EXPECT_THROW(ShiftCellName("A", 1, 1), EConvertError);
    try {
        ShiftCellName("AB3", 0, 0);
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'B3' is not a valid integer value");
    }
}

TEST(StrToInt, AcceptsWhatTheFrameworkAcceptsAndNamesTheTextOtherwise) {
    using tabulix::framework::StrToInt;
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt("  -7"), -7);
    EXPECT_EQ(StrToInt("+3"), 3);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_THROW(StrToInt("2147483648"), EConvertError);
    EXPECT_THROW(StrToInt("1 "), EConvertError);
    EXPECT_THROW(StrToInt("1.5"), EConvertError);
    EXPECT_EQ(tabulix::framework::StrToIntDef("x", 0), 0);
}
