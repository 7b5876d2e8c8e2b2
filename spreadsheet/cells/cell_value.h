#pragma once
// What a cell holds, as seen from outside the store: nothing, a number, a text, a Boolean or an
// error. Formula cells hold their text plus one of these as the cached result.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace tabulix::spreadsheet {

// The spreadsheet's error values, by their automation codes (CVErr numbers).
enum class CellError : std::uint16_t {
    Null = 2000,
    Div0 = 2007,
    Value = 2015,
    Ref = 2023,
    Name = 2029,
    Num = 2036,
    NA = 2042,
};

// "#DIV/0!" and so on; empty for a code that is not an error value.
std::string_view errorText(CellError error);
// True when `code` is one of the CellError values.
bool isCellErrorCode(std::int32_t code);

using CellValue = std::variant<std::monostate, double, std::string, bool, CellError>;

}  // namespace tabulix::spreadsheet
