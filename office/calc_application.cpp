#include "office/calc_application.h"

#include <com/sun/star/awt/XTopWindow2.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/frame/XFrame.hpp>

#include "automation/dispids.h"
#include "framework/text_compare.h"
#include "office/calc_sheet.h"
#include "office/calc_workbook.h"

namespace tabulix::office {

using automation::DispatchPtr;
using automation::Variant;
using css::uno::Reference;

namespace dispid = automation::dispid;

namespace {
constexpr automation::DispId kActiveWorkbook = 0x134;
constexpr automation::DispId kScreenUpdating = 0x17E;
}  // namespace

std::span<const CalcObject::Member> CalcApplication::members() const {
    static constexpr Member kMembers[] = {
        {"Visible", dispid::Visible},           {"WindowState", dispid::WindowState},
        {"Workbooks", dispid::Workbooks},       {"ActiveWorkbook", kActiveWorkbook},
        {"ActiveSheet", dispid::ActiveSheet},   {"ScreenUpdating", kScreenUpdating},
    };
    return kMembers;
}

Variant CalcApplication::invokeMember(const CalcCall& call) {
    CalcSession& s = session();
    call.expectCount(0, 0);
    switch (call.id()) {
        case dispid::Visible:
            if (!call.isPut()) return Variant(s.visible);
            s.visible = call.valueBoolean();
            s.followDisplay();
            showWindows();
            return {};
        case dispid::WindowState: {
            if (!call.isPut()) return Variant(s.windowState);
            const std::int32_t state = call.valueInt32();
            if (state != -4137 && state != -4140 && state != -4143)
                call.fail(std::to_string(state) + " is not a window state (-4137, -4140, -4143)");
            s.windowState = state;
            showWindows();
            return {};
        }
        case kScreenUpdating: {
            if (!call.isPut()) return Variant(s.screenUpdating);
            const bool updating = call.valueBoolean();
            if (updating == s.screenUpdating) return {};
            s.screenUpdating = updating;
            s.followDisplay();
            for (const auto& book : s.workbooks()) {
                if (updating)
                    book->model()->unlockControllers();
                else
                    book->model()->lockControllers();
            }
            return {};
        }
        case dispid::Workbooks:
            call.noPut();
            return Variant(DispatchPtr(std::make_shared<CalcWorkbooks>(sessionPtr())));
        case kActiveWorkbook: {
            call.noPut();
            auto book = s.activeWorkbook();
            return book ? Variant(DispatchPtr(book)) : Variant::null();
        }
        case dispid::ActiveSheet: {
            call.noPut();
            auto book = s.activeWorkbook();
            return book ? Variant(DispatchPtr(book->sheetObject(book->activeSheet()))) : Variant::null();
        }
    }
    call.wrongKind();
}

// With its window (not headless), the suite shows or hides the documents' windows and sets their
// state; headless, there is nothing to show and the state is only kept.
void CalcApplication::showWindows() {
    CalcSession& s = session();
    if (!s.windowed()) return;
    for (const auto& book : s.workbooks()) {
        const Reference<css::awt::XWindow> window = book->controller()->getFrame()->getContainerWindow();
        window->setVisible(s.visible);
        Reference<css::awt::XTopWindow2> top(window, css::uno::UNO_QUERY);
        if (!top.is()) continue;
        top->setIsMaximized(s.windowState == -4137);
        top->setIsMinimized(s.windowState == -4140);
    }
}

std::span<const CalcObject::Member> CalcWorkbooks::members() const {
    static constexpr Member kMembers[] = {{"Item", dispid::Item}, {"Add", dispid::Add}, {"Count", dispid::Count}};
    return kMembers;
}

Variant CalcWorkbooks::invokeMember(const CalcCall& call) {
    call.noPut();
    CalcSession& s = session();
    switch (call.id()) {
        case dispid::Add: {
            call.expectCount(0, 1);
            if (call.given(0) && call.int32(0) != automation::xl::WBATWorksheet)
                call.fail("only a workbook of one worksheet (template -4167) can be added");
            return Variant(DispatchPtr(s.addWorkbook()));
        }
        case dispid::Count:
            call.expectCount(0, 0);
            return Variant(static_cast<std::int32_t>(s.workbooks().size()));
        case dispid::Item: {
            call.expectCount(1, 1);
            const auto& books = s.workbooks();
            if (call.arg(0).type() == automation::VariantType::Text) {
                const std::string wanted = call.text(0);
                for (const auto& book : books)
                    if (framework::sameText(book->name(), wanted)) return Variant(DispatchPtr(book));
                call.fail("no workbook is named \"" + wanted + "\"");
            }
            const std::int32_t position = call.int32(0);
            if (position < 1 || static_cast<std::size_t>(position) > books.size())
                call.fail("there is no workbook at position " + std::to_string(position) + " (there are " +
                          std::to_string(books.size()) + ")");
            return Variant(DispatchPtr(books[static_cast<std::size_t>(position) - 1]));
        }
    }
    call.wrongKind();
}

}  // namespace tabulix::office
