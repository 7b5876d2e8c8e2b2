#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "spreadsheet/formula/number_text.h"
#include "spreadsheet/formula/text_rules.h"
#include "spreadsheet/formula/value.h"

namespace tabulix::spreadsheet::formula {
namespace {

TEST(NumberText, FifteenSignificantDigits) {
    EXPECT_EQ(roundTo15Digits(0.1 + 0.2), 0.3);
    EXPECT_EQ(roundTo15Digits(1.0 / 3.0), 0.333333333333333);
    EXPECT_EQ(roundTo15Digits(-2.0000000000000004), -2.0);
    EXPECT_EQ(roundTo15Digits(123456789012345678.0), 123456789012346000.0);
    EXPECT_EQ(roundTo15Digits(0.0), 0.0);
    EXPECT_TRUE(std::isinf(roundTo15Digits(std::numeric_limits<double>::infinity())));
}

TEST(NumberText, GeneralTextOfNumbers) {
    EXPECT_EQ(numberToText(0), "0");
    EXPECT_EQ(numberToText(-0.0), "0");
    EXPECT_EQ(numberToText(42), "42");
    EXPECT_EQ(numberToText(-1200), "-1200");
    EXPECT_EQ(numberToText(0.25), "0.25");
    EXPECT_EQ(numberToText(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(numberToText(2.0 / 3.0), "0.666666666666667");
    EXPECT_EQ(numberToText(123456789012345.0), "123456789012345");
    EXPECT_EQ(numberToText(1e15), "1E+15");
    EXPECT_EQ(numberToText(1234567890123456789.0), "1.23456789012346E+18");
    EXPECT_EQ(numberToText(0.0000001), "0.0000001");
    EXPECT_EQ(numberToText(1e-10), "1E-10");
    EXPECT_EQ(numberToText(1.0 / 3.0 * 1e-5), "3.33333333333333E-06");
    EXPECT_EQ(numberToText(-1.5e-300), "-1.5E-300");
}

TEST(NumberText, TextToNumber) {
    EXPECT_EQ(textToNumber("3"), 3.0);
    EXPECT_EQ(textToNumber("  -1.5e2 "), -150.0);
    EXPECT_EQ(textToNumber("+.5"), 0.5);
    EXPECT_EQ(textToNumber("5."), 5.0);
    EXPECT_EQ(textToNumber("12.5 %"), 0.125);
    for (const char* text : {"", " ", "abc", "1e", ".", "-", "1.2.3", "1e5x", "inf", "nan", "0x10", "1e999", "%"})
        EXPECT_FALSE(textToNumber(text)) << text;
}

TEST(NumberText, DecimalRounding) {
    EXPECT_EQ(roundDecimal(2.675, 2, Rounding::HalfAwayFromZero), 2.68);
    EXPECT_EQ(roundDecimal(-2.675, 2, Rounding::HalfAwayFromZero), -2.68);
    EXPECT_EQ(roundDecimal(2.674999, 2, Rounding::HalfAwayFromZero), 2.67);
    EXPECT_EQ(roundDecimal(0.285, 2, Rounding::HalfAwayFromZero), 0.29);
    EXPECT_EQ(roundDecimal(1e-20, 2, Rounding::AwayFromZero), 0.01);
    EXPECT_EQ(roundDecimal(99.5, 0, Rounding::HalfAwayFromZero), 100.0);
    EXPECT_EQ(roundDecimal(1.23456789e20, -18, Rounding::TowardZero), 1.23e20);
    EXPECT_FALSE(roundDecimal(1.7e308, -308, Rounding::AwayFromZero));
}

TEST(TextRules, CaseAndCharacters) {
    EXPECT_EQ(toUpperCase("año ü ÿ"), "AÑO Ü ÿ");
    EXPECT_EQ(toLowerCase("ÁRBOL"), "árbol");
    EXPECT_TRUE(equalsIgnoringCase("Mi Hoja", "mi hoja"));
    EXPECT_FALSE(equalsIgnoringCase("mi hoja", "mi hojas"));
    EXPECT_LT(compareIgnoringCase("abc", "ABD"), 0);
    EXPECT_GT(compareIgnoringCase("b", "A"), 0);
    EXPECT_EQ(characterCount("año"), 3u);
    EXPECT_EQ(firstCharacters("ñañ", 2), "ña");
    EXPECT_EQ(lastCharacters("ñañ", 1), "ñ");
    EXPECT_EQ(lastCharacters("ab", 5), "ab");
    EXPECT_EQ(trimSpaces(" a  b "), "a b");
    EXPECT_EQ(trimSpaces("   "), "");
}

TEST(Values, ErrorTextsRoundTrip) {
    for (ErrorCode code : {ErrorCode::Null, ErrorCode::Div0, ErrorCode::Value, ErrorCode::Ref, ErrorCode::Name,
                           ErrorCode::Num, ErrorCode::NA})
        EXPECT_EQ(errorFromText(errorText(code)), code);
    EXPECT_EQ(errorFromText("#n/a"), ErrorCode::NA);
    EXPECT_FALSE(errorFromText("#N/A!"));
    EXPECT_EQ(static_cast<int>(ErrorCode::Div0), 2007) << "the automation code of #DIV/0!";
    EXPECT_EQ(Value(3).describe(), "3");
    EXPECT_TRUE(Value(3).isNumber());
}

}  // namespace
}  // namespace tabulix::spreadsheet::formula
