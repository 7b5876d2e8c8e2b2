#include "office/calc_window.h"

#include <com/sun/star/frame/XController.hpp>

#include "automation/dispids.h"
#include "office/calc_view_data.h"
#include "office/calc_workbook.h"
#include "office/uno_text.h"

namespace tabulix::office {

using automation::DispatchPtr;
using automation::Variant;

namespace dispid = automation::dispid;

namespace {

constexpr std::int32_t kMaxRows = 1048576;
constexpr std::int32_t kMaxColumns = 16384;

// The view text of a document's window, at its active sheet.
class ViewText {
public:
    explicit ViewText(const CalcCall& call, const css::uno::Reference<css::frame::XController>& controller)
        : controller_(controller), data_(read(call, controller)) {}

    SheetView sheet() const { return data_.sheet(data_.activeSheet()); }

    void setSheet(const SheetView& v) {
        data_.setSheet(data_.activeSheet(), v);
        controller_->restoreViewData(css::uno::Any(toUno(data_.text())));
    }

private:
    static ViewData read(const CalcCall& call, const css::uno::Reference<css::frame::XController>& controller) {
        rtl::OUString text;
        controller->getViewData() >>= text;
        try {
            return ViewData(fromUno(text));
        } catch (const std::runtime_error& e) {
            call.fail(e.what());
        }
    }

    css::uno::Reference<css::frame::XController> controller_;
    ViewData data_;
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
