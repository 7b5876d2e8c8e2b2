#pragma once
// How the spreadsheet turns numbers into text and text into numbers. Numbers are IEEE doubles,
// shown and compared at 15 significant digits.

#include <optional>
#include <string>
#include <string_view>

namespace tabulix::spreadsheet::formula {

// `value` rounded to 15 significant decimal digits (0.1+0.2 gives 0.3). Zero, infinities and NaN
// come back unchanged.
double roundTo15Digits(double value);

enum class Rounding { HalfAwayFromZero, AwayFromZero, TowardZero };

// `value` rounded to `decimals` places after the point (before it when negative), working on
// its 15-digit decimal form as spreadsheets do: 2.675 rounds to 2.68 although the double
// nearest 2.675 lies just below it. Empty when the result is too large for a double.
std::optional<double> roundDecimal(double value, int decimals, Rounding rounding);

// The general text of a number, as concatenation shows it: at most 15 significant digits, plain
// decimals for everyday magnitudes ("0.25", "-1200"), scientific notation otherwise ("1E+15",
// "3.33333333333333E-06").
std::string numberToText(double value);

// The number a text stands for when used in arithmetic: optional blanks around, a sign, digits
// with an optional decimal point and exponent, and an optional trailing "%" ("50%" is 0.5).
// Empty when the text is not a number.
std::optional<double> textToNumber(std::string_view text);

}  // namespace tabulix::spreadsheet::formula
