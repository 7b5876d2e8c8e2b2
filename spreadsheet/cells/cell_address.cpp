#include "spreadsheet/cells/cell_address.h"

#include <algorithm>

#include "automation/automation_error.h"
#include "framework/printable.h"

namespace tabulix::spreadsheet {

namespace {

[[noreturn]] void refuse(std::string_view text, std::string_view why) {
    throw automation::AutomationError("\"" + framework::printable(text) + "\" is not a valid cell reference: " +
                                      std::string(why));
}

}  // namespace

CellRect CellRect::spanning(CellAddress a, CellAddress b) {
    return CellRect{{std::min(a.row, b.row), std::min(a.column, b.column)},
                    {std::max(a.row, b.row), std::max(a.column, b.column)}};
}

CellAddress parseCellName(std::string_view text) {
    // "$" marks an absolute reference in a formula; a cell name may carry it too ("$B$12").
    std::size_t i = text.starts_with('$') ? 1 : 0;
    const std::size_t lettersStart = i;
    std::uint32_t column = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c < 'A' || c > 'Z') break;
        column = column * 26 + static_cast<std::uint32_t>(c - 'A' + 1);
        if (column > kMaxColumns) refuse(text, "the column is beyond XFD");
        ++i;
    }
    if (i == lettersStart) refuse(text, "it does not start with a column letter");
    if (i < text.size() && text[i] == '$') ++i;
    if (i == text.size()) refuse(text, "the row number is missing");
    std::uint32_t row = 0;
    const std::size_t digitsStart = i;
    while (i < text.size()) {
        const char c = text[i];
        if (c < '0' || c > '9') refuse(text, "unexpected character after the column letters");
        row = row * 10 + static_cast<std::uint32_t>(c - '0');
        if (row > kMaxRows) refuse(text, "the row is beyond 1048576");
        ++i;
    }
    if (text[digitsStart] == '0') refuse(text, "rows are numbered from 1 without leading zeros");
    return CellAddress{row, column};
}

CellRect parseRangeRef(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        const CellAddress a = parseCellName(text);
        return CellRect{a, a};
    }
    return CellRect::spanning(parseCellName(text.substr(0, colon)), parseCellName(text.substr(colon + 1)));
}

std::string columnLetters(std::uint32_t column) {
    std::string letters;
    while (column > 0) {
        const std::uint32_t digit = (column - 1) % 26;
        letters.insert(letters.begin(), static_cast<char>('A' + digit));
        column = (column - 1) / 26;
    }
    return letters;
}

std::string cellName(CellAddress address) { return columnLetters(address.column) + std::to_string(address.row); }

std::string rangeName(const CellRect& rect) {
    if (rect.isSingleCell()) return cellName(rect.first);
    return cellName(rect.first) + ":" + cellName(rect.last);
}

}  // namespace tabulix::spreadsheet
