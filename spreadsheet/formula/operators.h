#pragma once
// The operators on single values. Internal to the formula engine.

#include "spreadsheet/formula/formula.h"
#include "spreadsheet/formula/value.h"

namespace tabulix::spreadsheet::formula {

// Negate or Percent.
Value applyUnary(TokenKind kind, const Value& operand);
// Arithmetic, "&" and comparisons; the left operand's error wins over the right one's.
Value applyBinary(TokenKind kind, const Value& left, const Value& right);
// base ^ exponent: 0^0 is #NUM!, 0 to a negative power #DIV/0!, a negative base to a fractional
// power #NUM!.
Value power(double base, double exponent);
// a & b, or #VALUE! when the result would exceed the longest text a cell holds.
Value joinTexts(std::string a, std::string_view b);

}  // namespace tabulix::spreadsheet::formula
