#include "office/calc_sheet.h"

#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>

#include "automation/dispids.h"
#include "framework/text_compare.h"
#include "office/calc_chart.h"
#include "office/calc_page_setup.h"
#include "office/calc_range.h"
#include "office/calc_workbook.h"
#include "office/uno_text.h"

namespace tabulix::office {

using automation::DispatchPtr;
using automation::Variant;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace dispid = automation::dispid;

std::string sheetName(const Reference<css::sheet::XSpreadsheet>& sheet) {
    return fromUno(Reference<css::container::XNamed>(sheet, UNO_QUERY_THROW)->getName());
}

CalcSheet::CalcSheet(std::shared_ptr<CalcWorkbook> book, Reference<css::sheet::XSpreadsheet> sheet, bool chart)
    : CalcObject(book->sessionPtr()), book_(std::move(book)), sheet_(std::move(sheet)), chart_(chart) {}

std::span<const CalcObject::Member> CalcSheet::members() const {
    static constexpr Member kWorksheet[] = {
        {"Name", dispid::Name}, {"Activate", dispid::Activate}, {"Range", dispid::Range}, {"PageSetup", dispid::PageSetup}};
    static constexpr Member kChart[] = {
        {"Name", dispid::Name}, {"Activate", dispid::Activate}, {"ChartWizard", dispid::ChartWizard}};
    if (chart_) return kChart;
    return kWorksheet;
}

Variant CalcSheet::invokeMember(const CalcCall& call) {
    if (!session().workbookWithId(book_->id())) call.fail("its workbook has been closed");
    switch (call.id()) {
        case dispid::Name:
            call.expectCount(0, 0);
            if (!call.isPut()) return Variant(sheetName(sheet_));
            rename(call, call.valueText());
            return {};
        case dispid::Activate:
            call.noPut();
            call.expectCount(0, 0);
            Reference<css::sheet::XSpreadsheetView>(book_->controller(), UNO_QUERY_THROW)->setActiveSheet(sheet_);
            return {};
        case dispid::Range: {
            call.noPut();
            call.expectCount(1, 2);
            const std::string first = call.text(0);
            const std::string last = call.given(1) ? call.text(1) : first;
            return Variant(DispatchPtr(rangeOfSheet(call, selfAs<CalcSheet>(), first, last)));
        }
        case dispid::PageSetup:
            call.noPut();
            call.expectCount(0, 0);
            if (chart_) call.wrongKind();
            return Variant(DispatchPtr(std::make_shared<CalcPageSetup>(selfAs<CalcSheet>())));
        case dispid::ChartWizard:
            call.noPut();
            runChartWizard(call, *this);
            return {};
    }
    call.wrongKind();
}

bool CalcSheet::passesPendingCells(const CalcCall& call) const { return call.id() == dispid::Range && !chart_; }

void CalcSheet::rename(const CalcCall& call, const std::string& name) {
    if (name.empty()) call.fail("a sheet name cannot be empty");
    if (toUno(name).getLength() > 31) call.fail("the sheet name \"" + name + "\" is longer than 31 characters");
    if (name.find_first_of(":\\/?*[]") != std::string::npos)
        call.fail("the sheet name \"" + name + "\" holds one of : \\ / ? * [ ]");
    if (name.front() == '\'' || name.back() == '\'')
        call.fail("the sheet name \"" + name + "\" begins or ends with an apostrophe");
    const std::string current = sheetName(sheet_);
    for (const auto& other : book_->sheets())
        if (sheetName(other) != current && framework::sameText(sheetName(other), name))
            call.fail("a sheet named \"" + sheetName(other) + "\" already exists");
    Reference<css::container::XNamed>(sheet_, UNO_QUERY_THROW)->setName(toUno(name));
    // Calc ignores a name it refuses instead of reporting it.
    if (sheetName(sheet_) != name) call.fail("LibreOffice Calc refused the sheet name \"" + name + "\"");
}

}  // namespace tabulix::office
