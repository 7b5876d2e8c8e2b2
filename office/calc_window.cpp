#include "office/calc_window.h"

#include <charconv>
#include <vector>

#include <com/sun/star/frame/XController.hpp>

#include "automation/dispids.h"
#include "office/calc_workbook.h"
#include "office/uno_text.h"

namespace tabulix::office {

using automation::DispatchPtr;
using automation::Variant;

namespace dispid = automation::dispid;

namespace {

constexpr std::int32_t kMaxRows = 1048576;
constexpr std::int32_t kMaxColumns = 16384;

// Calc keeps its view as text: "zoom;active sheet;tab bar;sheet 1;sheet 2..." where each sheet's
// part is eleven numbers apart by "/" (or "+"): cursor column and row, horizontal and vertical
// split mode (2: frozen), the split's column and row, the active pane, then the first column of
// the left and right panes and the first row of the top and bottom panes, all 0-based.
struct SheetView {
    std::int32_t cursorColumn = 0, cursorRow = 0;
    std::int32_t columnMode = 0, rowMode = 0;
    std::int32_t splitColumn = 0, splitRow = 0;
    std::int32_t activePane = 2;
    std::int32_t left = 0, right = 0, top = 0, bottom = 0;

    static constexpr std::int32_t kFrozen = 2;

    bool frozen() const { return columnMode == kFrozen || rowMode == kFrozen; }
    std::int32_t frozenColumns() const { return columnMode == kFrozen ? splitColumn - left : 0; }
    std::int32_t frozenRows() const { return rowMode == kFrozen ? splitRow - top : 0; }
    // The first row and column shown, at the top left.
    std::int32_t firstColumn() const { return left; }
    std::int32_t firstRow() const { return rowMode == kFrozen ? top : bottom; }

    // The view with `columns` and `rows` frozen below and right of the first shown ones.
    static SheetView at(std::int32_t firstColumn, std::int32_t firstRow, std::int32_t columns, std::int32_t rows) {
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
};

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

// The view text of a document's window and where its active sheet's part lies in it.
class ViewText {
public:
    explicit ViewText(const CalcCall& call, const css::uno::Reference<css::frame::XController>& controller)
        : controller_(controller) {
        rtl::OUString text;
        controller_->getViewData() >>= text;
        parts_ = split(fromUno(text), ';');
        std::int32_t active = -1;
        if (parts_.size() > 1) std::from_chars(parts_[1].data(), parts_[1].data() + parts_[1].size(), active);
        if (active < 0 || parts_.size() < 3 + static_cast<std::size_t>(active) + 1)
            call.fail("LibreOffice Calc did not say how its window shows the active sheet");
        index_ = 3 + static_cast<std::size_t>(active);
    }

    SheetView sheet() const {
        const std::string& part = parts_[index_];
        std::vector<std::string> numbers = split(part, part.find('+') != std::string::npos ? '+' : '/');
        SheetView v;
        std::int32_t* fields[] = {&v.cursorColumn, &v.cursorRow, &v.columnMode, &v.rowMode, &v.splitColumn,
                                  &v.splitRow,     &v.activePane, &v.left,      &v.right,   &v.top, &v.bottom};
        if (numbers.size() >= 11)
            for (std::size_t i = 0; i < 11; ++i)
                std::from_chars(numbers[i].data(), numbers[i].data() + numbers[i].size(), *fields[i]);
        return v;
    }

    void setSheet(const SheetView& v) {
        // "+" is read whatever the numbers' size; "/" only for rows Calc once had.
        parts_[index_] = join({std::to_string(v.cursorColumn), std::to_string(v.cursorRow), std::to_string(v.columnMode),
                                std::to_string(v.rowMode), std::to_string(v.splitColumn), std::to_string(v.splitRow),
                                std::to_string(v.activePane), std::to_string(v.left), std::to_string(v.right),
                                std::to_string(v.top), std::to_string(v.bottom)},
                               '+');
        controller_->restoreViewData(css::uno::Any(toUno(join(parts_, ';'))));
    }

private:
    css::uno::Reference<css::frame::XController> controller_;
    std::vector<std::string> parts_;
    std::size_t index_ = 0;
};

}  // namespace

CalcWindows::CalcWindows(std::shared_ptr<CalcWorkbook> book) : CalcObject(book->sessionPtr()), book_(std::move(book)) {}

std::span<const CalcObject::Member> CalcWindows::members() const {
    static constexpr Member kMembers[] = {{"Item", dispid::Item}, {"Count", dispid::Count}};
    return kMembers;
}

Variant CalcWindows::invokeMember(const CalcCall& call) {
    call.noPut();
    if (!session().workbookWithId(book_->id())) call.fail("its workbook has been closed");
    switch (call.id()) {
        case dispid::Item: {
            call.expectCount(1, 1);
            if (call.int32(0) != 1) call.fail("there is no window " + std::to_string(call.int32(0)) + " (the workbook has one)");
            return Variant(DispatchPtr(std::make_shared<CalcWindow>(book_)));
        }
        case dispid::Count: call.expectCount(0, 0); return Variant(std::int32_t{1});
    }
    call.wrongKind();
}

CalcWindow::CalcWindow(std::shared_ptr<CalcWorkbook> book) : CalcObject(book->sessionPtr()), book_(std::move(book)) {}

std::span<const CalcObject::Member> CalcWindow::members() const {
    static constexpr Member kMembers[] = {
        {"ScrollRow", dispid::ScrollRow},     {"ScrollColumn", dispid::ScrollColumn}, {"Split", dispid::Split},
        {"SplitRow", dispid::SplitRow},       {"SplitColumn", dispid::SplitColumn},
        {"FreezePanes", dispid::FreezePanes},
    };
    return kMembers;
}

Variant CalcWindow::invokeMember(const CalcCall& call) {
    if (!session().workbookWithId(book_->id())) call.fail("its workbook has been closed");
    call.expectCount(0, 0);
    ViewText view(call, book_->controller());
    const SheetView v = view.sheet();
    if (!call.isPut()) {
        switch (call.id()) {
            case dispid::ScrollRow: return Variant(v.firstRow() + 1);
            case dispid::ScrollColumn: return Variant(v.firstColumn() + 1);
            case dispid::Split:
            case dispid::FreezePanes: return Variant(v.frozen());
            case dispid::SplitRow: return Variant(v.frozenRows());
            case dispid::SplitColumn: return Variant(v.frozenColumns());
        }
        call.wrongKind();
    }
    std::int32_t column = v.firstColumn(), row = v.firstRow(), columns = v.frozenColumns(), rows = v.frozenRows();
    const auto count = [&](std::int32_t low, std::int32_t high) {
        const std::int32_t value = call.valueInt32();
        if (value < low || value > high)
            call.fail(std::to_string(value) + " is out of range (" + std::to_string(low) + " to " + std::to_string(high) + ")");
        return value;
    };
    switch (call.id()) {
        case dispid::ScrollRow: row = count(1, kMaxRows) - 1; break;
        case dispid::ScrollColumn: column = count(1, kMaxColumns) - 1; break;
        case dispid::SplitRow: rows = count(0, kMaxRows - 1); break;
        case dispid::SplitColumn: columns = count(0, kMaxColumns - 1); break;
        case dispid::Split:
        case dispid::FreezePanes:
            // Every split here is frozen already; without one there is nothing to freeze at.
            if (call.valueBoolean()) return {};
            rows = columns = 0;
            break;
        default: call.wrongKind();
    }
    if (row + rows >= kMaxRows || column + columns >= kMaxColumns)
        call.fail("a split of " + std::to_string(rows) + " rows and " + std::to_string(columns) +
                  " columns there leaves no cell to scroll");
    view.setSheet(SheetView::at(column, row, columns, rows));
    return {};
}

}  // namespace tabulix::office
