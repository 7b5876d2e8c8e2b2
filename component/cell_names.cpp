#include "component/cell_names.h"

#include "framework/convert.h"

namespace tabulix::component {

std::string ColumnLetters(std::int32_t column) {
    if (column < 1) return std::string(1, static_cast<char>(static_cast<unsigned char>(64 + column)));
    std::string letters;
    for (std::int64_t n = column; n > 0; n = (n - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

std::string CellName(std::uint16_t column, std::uint16_t row) {
    if (column == 0 || row == 0) return {};
    return ColumnLetters(column) + std::to_string(row);
}

std::string CellName(char columnLetter, std::uint16_t row) {
    const bool letter = (columnLetter >= 'A' && columnLetter <= 'Z') || (columnLetter >= 'a' && columnLetter <= 'z');
    if (!letter) return {};
    return std::string(1, columnLetter) + std::to_string(row);
}

std::string ShiftCellName(std::string_view cellName, std::int32_t columns, std::int32_t rows) {
    if (cellName.empty()) throw framework::EConvertError("'' is not a valid cell name");
    const std::int32_t row = framework::StrToInt(cellName.substr(1));
    const char column = static_cast<char>(static_cast<unsigned char>(static_cast<unsigned char>(cellName[0]) + columns));
    return std::string(1, column) + std::to_string(static_cast<std::int64_t>(row) + rows);
}

}  // namespace tabulix::component
