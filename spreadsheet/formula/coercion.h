#pragma once
// How single values convert for operators and functions: empty counts as 0, "" or FALSE; a
// Boolean is 1 or 0 in arithmetic; a text is a number only if it reads as one; errors pass
// through. Internal to the formula engine.

#include <string>
#include <variant>

#include "spreadsheet/formula/value.h"

namespace tabulix::spreadsheet::formula {

// A converted value or the error that stopped the conversion.
template <class T>
class Checked {
public:
    Checked(T value) : data_(std::move(value)) {}
    Checked(ErrorCode error) : data_(error) {}

    bool ok() const { return data_.index() == 0; }
    const T& operator*() const { return std::get<0>(data_); }
    T take() { return std::move(std::get<0>(data_)); }
    ErrorCode error() const { return std::get<1>(data_); }

private:
    std::variant<T, ErrorCode> data_;
};

Checked<double> toNumber(const Value& value);
Checked<std::string> toText(const Value& value);
// Numbers are TRUE when not 0; the texts "TRUE" and "FALSE" (any case) convert, other texts are
// #VALUE!.
Checked<bool> toBoolean(const Value& value);

// Orders two values: numbers (at 15 significant digits) before texts (ignoring case) before
// Booleans (FALSE before TRUE). An empty value compares as 0, "" or FALSE, whichever its
// counterpart is. Gives -1, 0 or 1, or the first error.
Checked<int> compareValues(const Value& a, const Value& b);

// A computed number as a value: NaN and infinities become #NUM!, -0 becomes 0.
Value numberResult(double number);

}  // namespace tabulix::spreadsheet::formula
