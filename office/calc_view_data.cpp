#include "office/calc_view_data.h"

#include <charconv>
#include <stdexcept>

namespace tabulix::office {

namespace {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + 1)
        parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    return parts;
}

std::string join(const std::vector<std::string>& parts, char separator) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) text += (i ? std::string(1, separator) : "") + parts[i];
    return text;
}

}  // namespace

SheetView SheetView::at(std::int32_t firstColumn, std::int32_t firstRow, std::int32_t columns, std::int32_t rows) {
    SheetView v;
    v.left = firstColumn;
    v.columnMode = columns > 0 ? kFrozen : 0;
    v.rowMode = rows > 0 ? kFrozen : 0;
    v.splitColumn = columns > 0 ? firstColumn + columns : 0;
    v.splitRow = rows > 0 ? firstRow + rows : 0;
    v.right = firstColumn + columns;
    if (rows > 0) {
        v.top = firstRow;
        v.bottom = firstRow + rows;
    } else {
        v.bottom = firstRow;
    }
    v.cursorColumn = v.right;
    v.cursorRow = v.bottom;
    // Bottom right, bottom left, top right: the pane that scrolls both ways.
    v.activePane = columns > 0 ? (rows > 0 ? 3 : 1) : 2;
    return v;
}

ViewData::ViewData(const std::string& text) : parts_(split(text, ';')) {
    std::int32_t active = -1;
    if (parts_.size() > 1) std::from_chars(parts_[1].data(), parts_[1].data() + parts_[1].size(), active);
    if (active < 0 || parts_.size() < kFirstSheet + static_cast<std::size_t>(active) + 1)
        throw std::runtime_error("LibreOffice Calc did not say how its window shows the active sheet");
    active_ = static_cast<std::size_t>(active);
}

SheetView ViewData::sheet(std::size_t index) const {
    const std::string& part = parts_.at(kFirstSheet + index);
    std::vector<std::string> numbers = split(part, part.find('+') != std::string::npos ? '+' : '/');
    SheetView v;
    std::int32_t* fields[] = {&v.cursorColumn, &v.cursorRow, &v.columnMode, &v.rowMode, &v.splitColumn, &v.splitRow,
                              &v.activePane,   &v.left,      &v.right,      &v.top,     &v.bottom};
    if (numbers.size() < 11) return SheetView{};
    for (std::size_t i = 0; i < 11; ++i)
        std::from_chars(numbers[i].data(), numbers[i].data() + numbers[i].size(), *fields[i]);
    return v;
}

void ViewData::setSheet(std::size_t index, const SheetView& v) {
    // "+" is read whatever the numbers' size; "/" only for rows Calc once had.
    parts_.at(kFirstSheet + index) =
        join({std::to_string(v.cursorColumn), std::to_string(v.cursorRow), std::to_string(v.columnMode),
              std::to_string(v.rowMode), std::to_string(v.splitColumn), std::to_string(v.splitRow),
              std::to_string(v.activePane), std::to_string(v.left), std::to_string(v.right), std::to_string(v.top),
              std::to_string(v.bottom)},
             '+');
}

std::string ViewData::text() const { return join(parts_, ';'); }

}  // namespace tabulix::office
