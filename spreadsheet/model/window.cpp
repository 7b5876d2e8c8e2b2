#include "spreadsheet/model/window.h"

#include "automation/dispids.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;
using automation::DispatchPtr;
using automation::Variant;
namespace dispid = automation::dispid;

Application* WindowsCollection::application() const { return book_->application(); }
const automation::ThreadOwner* WindowsCollection::threadOwner() const { return book_->threadOwner(); }

std::span<const ModelObject::Member> WindowsCollection::members() const {
    static constexpr Member kMembers[] = {{"Item", dispid::Item}, {"Count", dispid::Count}};
    return kMembers;
}

Variant WindowsCollection::invokeMember(const Call& call) {
    call.noPut();
    if (book_->isClosed()) call.fail("the workbook \"" + book_->name() + "\" has been closed");
    switch (call.id()) {
        case dispid::Item: {
            call.expectCount(1, 1);
            const std::int32_t index = call.int32(0);
            if (index != 1) call.fail("there is no window " + std::to_string(index) + " (the workbook has one)");
            return Variant(DispatchPtr(std::make_shared<Window>(book_)));
        }
        case dispid::Count: call.expectCount(0, 0); return Variant(std::int32_t{1});
    }
    call.wrongKind();
}

Application* Window::application() const { return book_->application(); }
const automation::ThreadOwner* Window::threadOwner() const { return book_->threadOwner(); }

std::span<const ModelObject::Member> Window::members() const {
    static constexpr Member kMembers[] = {
        {"ScrollRow", dispid::ScrollRow},     {"ScrollColumn", dispid::ScrollColumn}, {"Split", dispid::Split},
        {"SplitRow", dispid::SplitRow},       {"SplitColumn", dispid::SplitColumn},
        {"FreezePanes", dispid::FreezePanes},
    };
    return kMembers;
}

Variant Window::invokeMember(const Call& call) {
    if (book_->isClosed()) call.fail("the workbook \"" + book_->name() + "\" has been closed");
    call.expectCount(0, 0);
    const auto sheet = std::dynamic_pointer_cast<Worksheet>(book_->activeSheet());
    if (!sheet) call.fail("the active sheet is a chart sheet, which has no panes");
    Panes panes = sheet->panes();
    if (!call.isPut()) {
        switch (call.id()) {
            case dispid::ScrollRow: return Variant(static_cast<std::int32_t>(panes.topLeft.row));
            case dispid::ScrollColumn: return Variant(static_cast<std::int32_t>(panes.topLeft.column));
            case dispid::Split: return Variant(panes.isSplit());
            case dispid::SplitRow: return Variant(static_cast<std::int32_t>(panes.splitRows));
            case dispid::SplitColumn: return Variant(static_cast<std::int32_t>(panes.splitColumns));
            case dispid::FreezePanes: return Variant(panes.frozen);
        }
        call.wrongKind();
    }
    const auto count = [&](std::int32_t low, std::int32_t high) {
        const std::int32_t value = call.valueInt32();
        if (value < low || value > high)
            call.fail(std::to_string(value) + " is out of range (" + std::to_string(low) + " to " +
                      std::to_string(high) + ")");
        return static_cast<std::uint32_t>(value);
    };
    switch (call.id()) {
        case dispid::ScrollRow: panes.topLeft.row = count(1, kMaxRows); break;
        case dispid::ScrollColumn: panes.topLeft.column = count(1, kMaxColumns); break;
        case dispid::SplitRow: panes.splitRows = count(0, kMaxRows - 1); break;
        case dispid::SplitColumn: panes.splitColumns = count(0, kMaxColumns - 1); break;
        case dispid::Split:
            // Taking the split away takes its freeze with it; a split is made by SplitRow/SplitColumn.
            if (call.valueBoolean()) {
                if (!panes.isSplit()) call.fail("set SplitRow or SplitColumn to split the window");
            } else {
                panes = Panes{panes.topLeft};
            }
            break;
        case dispid::FreezePanes:
            // Without a split there is nothing to freeze at.
            panes.frozen = call.valueBoolean() && panes.isSplit();
            break;
        default: call.wrongKind();
    }
    if (!panes.isSplit()) panes.frozen = false;
    try {
        sheet->setPanes(panes);
    } catch (const AutomationError& e) {
        call.fail(e.what(), e.scode());
    }
    return {};
}

}  // namespace tabulix::spreadsheet
