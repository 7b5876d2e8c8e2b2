#pragma once
// Internal: a non-negative number as decimal digits, rounded the way the spreadsheet shows numbers.
//
// A double is first taken to 15 significant digits (the precision the spreadsheet displays), and
// every later rounding is half away from zero on those decimal digits, so 2.675 shows as 2.68 even
// though its binary value lies just below.

#ifndef TABULIX_ROOM_NUMFMT
#error "an internal header of spreadsheet/numfmt/: outside it, include its public headers"
#endif

#include <string>

namespace tabulix::spreadsheet::numfmt {

class DecimalDigits {
public:
    // The magnitude of value to 15 significant digits. value must be finite.
    static DecimalDigits fromDouble(double value);

    bool isZero() const { return digits_.empty(); }
    // Decimal exponent of the leading digit (1234.5 -> 3, 0.05 -> -2); 0 for zero.
    int exponent() const { return isZero() ? 0 : point_ - 1; }
    // Multiplies by 10^powers.
    void shift(int powers);
    void roundToDecimals(int decimals);
    void roundToSignificant(int digits);
    // Digits before the decimal point, without leading zeros; empty below 1.
    std::string integerDigits() const;
    // Exactly count digits after the decimal point.
    std::string fractionDigits(int count) const;
    // Decimals needed to show every digit.
    int decimalsUsed() const;

private:
    void keepLeading(long count);

    std::string digits_;  // significant digits, no leading or trailing zeros
    int point_ = 0;       // digits before the decimal point (may be negative or beyond digits_)
};

}  // namespace tabulix::spreadsheet::numfmt
