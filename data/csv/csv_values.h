#pragma once
// The values of a CSV file's columns: which field type a column's texts fit (worked out from
// the first records) and the reading of one text as a value of that type. Numbers are written
// without thousands separators, with a decimal point or a decimal comma; whole numbers with a
// leading zero ("007", a code or a postal code) are texts, so that the zero is kept. Dates are
// ISO ("2024-03-01", with an optional time "10:30[:00]"), or in a declared order of day, month
// and year ("01/03/2024", "1.3.2024", "1-3-2024"); Booleans are true/false, yes/no, sí/no or
// verdadero/falso in any letter case. Used by TCsvTable; not part of the library's interface.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "automation/variant.h"
#include "data/field_type.h"

namespace tabulix::data {

enum class CsvDateOrder { IsoOnly, DayMonthYear, MonthDayYear, YearMonthDay };

// "DMY", "MDY", "YMD" (any letter case), or empty for ISO dates only; nothing for other texts.
std::optional<CsvDateOrder> csvDateOrderFromName(std::string_view name);

// How the texts of one column are read.
struct CsvColumnFormat {
    TFieldType type = TFieldType::ftString;
    char decimalMark = '.';
};

// Watches the texts of a column and tells the narrowest type they all fit.
class CsvTypeGuess {
public:
    // `decimalMark`: '.' or ',' when declared, 0 to accept either (one per column).
    CsvTypeGuess(char decimalMark, CsvDateOrder order) : declaredMark_(decimalMark), order_(order) {}
    // An empty text (a null) says nothing.
    void see(std::string_view text);
    CsvColumnFormat result() const;
    // The decimal mark for a column declared numeric: the declared one, else ',' when values
    // hold commas and no points, else '.'.
    char decimalMark() const;

private:
    char declaredMark_;
    CsvDateOrder order_;
    bool seen_ = false;
    bool integer_ = true, point_ = true, comma_ = true, boolean_ = true, date_ = true, time_ = true;
    bool anyTime_ = false;
    bool anyComma_ = false, anyPoint_ = false;
};

// A text read as a value of `format` (surrounding blanks ignored but in texts; an empty text is
// Null, an empty cell, whatever the type); nothing when it does not fit.
std::optional<automation::Variant> parseCsvValue(std::string_view text, const CsvColumnFormat& format,
                                                 CsvDateOrder order);

}  // namespace tabulix::data
