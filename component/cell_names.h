#pragma once
// Naming cells: column letters from column numbers, cell names from a column and a row, and the
// shifting of a cell name. Columns are named as the spreadsheet names them (1 is A, 26 is Z,
// 27 is AA, 702 is ZZ, 703 is AAA, 16384 is XFD), so blocks wider than 26 columns stay addressable.

#include <cstdint>
#include <string>
#include <string_view>

namespace tabulix::component {

// The letters of column n for n >= 1; for n < 1 the single character of code 64 + n (so 0 gives
// "@"), which no spreadsheet accepts as a column.
std::string ColumnLetters(std::int32_t column);

// Column letters followed by the decimal row; empty when the column or the row is 0.
std::string CellName(std::uint16_t column, std::uint16_t row);

// The letter exactly as given (a lower-case letter stays lower case) followed by the decimal row;
// empty when the character is not a letter A-Z or a-z. The row is not checked, so 0 gives "B0".
std::string CellName(char columnLetter, std::uint16_t row);

// Shifts a cell name: its first character moves by `columns` character codes (8-bit wrap) and
// the rest, read as a decimal integer, by `rows`. No range checks. A rest that is not an integer
// (a two-letter name such as AB3, or an empty name) raises framework::EConvertError.
std::string ShiftCellName(std::string_view cellName, std::int32_t columns, std::int32_t rows);

}  // namespace tabulix::component
