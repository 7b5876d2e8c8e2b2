#include "office/calc_workbook.h"


#include <filesystem>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/AddressConvention.hpp>
#include <com/sun/star/sheet/FormulaLanguage.hpp>
#include <com/sun/star/sheet/FormulaMapGroup.hpp>
#include <com/sun/star/sheet/XFormulaOpCodeMapper.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XTitle.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include "automation/dispids.h"
#include "framework/text_compare.h"
#include "office/calc_document_properties.h"
#include "office/calc_names.h"
#include "office/calc_save.h"
#include "office/calc_sheet.h"
#include "office/calc_window.h"
#include "office/uno_text.h"

namespace tabulix::office {

namespace fs = std::filesystem;
using automation::AutomationError;
using automation::DispatchPtr;
using automation::Variant;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace dispid = automation::dispid;

CalcWorkbook::CalcWorkbook(std::shared_ptr<CalcSession> session, int id, Reference<css::frame::XModel> model)
    : CalcObject(std::move(session)), id_(id), model_(std::move(model)) {}

Reference<css::sheet::XSpreadsheetDocument> CalcWorkbook::document() const {
    return Reference<css::sheet::XSpreadsheetDocument>(model_, UNO_QUERY_THROW);
}

Reference<css::frame::XController> CalcWorkbook::controller() const { return model_->getCurrentController(); }

std::string CalcWorkbook::name() const {
    if (!savedName_.empty()) return savedName_;
    return fromUno(Reference<css::frame::XTitle>(model_, UNO_QUERY_THROW)->getTitle());
}

std::vector<Reference<css::sheet::XSpreadsheet>> CalcWorkbook::sheets() const {
    const Reference<css::container::XIndexAccess> all(document()->getSheets(), UNO_QUERY_THROW);
    std::vector<Reference<css::sheet::XSpreadsheet>> result;
    const sal_Int32 count = all->getCount();
    result.reserve(static_cast<std::size_t>(count));
    for (sal_Int32 i = 0; i < count; ++i) result.emplace_back(all->getByIndex(i), UNO_QUERY_THROW);
    return result;
}

Reference<css::sheet::XSpreadsheet> CalcWorkbook::activeSheet() const {
    return Reference<css::sheet::XSpreadsheetView>(controller(), UNO_QUERY_THROW)->getActiveSheet();
}

namespace {
// Calc hands out a new object for a sheet at every access, so sheets are told apart by name, and
// chart sheets carry a mark of their own in their code name, which renaming leaves alone.
constexpr std::string_view kChartSheetMark = "TabulixChartSheet";

std::string codeNameOf(const Reference<css::sheet::XSpreadsheet>& sheet) {
    rtl::OUString name;
    Reference<css::beans::XPropertySet>(sheet, UNO_QUERY_THROW)->getPropertyValue("CodeName") >>= name;
    return fromUno(name);
}
}  // namespace

bool CalcWorkbook::isChartSheet(const Reference<css::sheet::XSpreadsheet>& sheet) const {
    return codeNameOf(sheet).rfind(kChartSheetMark, 0) == 0;
}

void CalcWorkbook::markChartSheet(const Reference<css::sheet::XSpreadsheet>& sheet) {
    Reference<css::beans::XPropertySet>(sheet, UNO_QUERY_THROW)
        ->setPropertyValue("CodeName", css::uno::Any(toUno(std::string(kChartSheetMark) + std::to_string(++chartSheets_))));
}

std::shared_ptr<CalcSheet> CalcWorkbook::sheetObject(const Reference<css::sheet::XSpreadsheet>& sheet) {
    return std::make_shared<CalcSheet>(selfAs<CalcWorkbook>(), sheet, isChartSheet(sheet));
}

Reference<css::sheet::XFormulaParser> CalcWorkbook::formulaParser() {
    if (!formulaParser_.is()) {
        formulaParser_.set(Reference<css::lang::XMultiServiceFactory>(model_, UNO_QUERY_THROW)
                               ->createInstance("com.sun.star.sheet.FormulaParser"),
                           UNO_QUERY_THROW);
        const Reference<css::beans::XPropertySet> props(formulaParser_, UNO_QUERY_THROW);
        props->setPropertyValue("CompileEnglish", css::uno::Any(true));
        props->setPropertyValue("FormulaConvention", css::uno::Any(static_cast<sal_Int16>(css::sheet::AddressConvention::XL_A1)));
        // The application's English names and separators ("," between arguments).
        const Reference<css::sheet::XFormulaOpCodeMapper> mapper(
            Reference<css::lang::XMultiServiceFactory>(model_, UNO_QUERY_THROW)
                ->createInstance("com.sun.star.sheet.FormulaOpCodeMapper"),
            UNO_QUERY_THROW);
        props->setPropertyValue("OpCodeMap", css::uno::Any(mapper->getAvailableMappings(
                                                 css::sheet::FormulaLanguage::XL_ENGLISH,
                                                 css::sheet::FormulaMapGroup::ALL_EXCEPT_SPECIAL)));
    }
    return formulaParser_;
}

void CalcWorkbook::activate() { controller()->getFrame()->activate(); }

bool CalcWorkbook::noteActiveSheet(const Reference<css::sheet::XSpreadsheet>& sheet) {
    const std::string name = sheetName(sheet);
    if (name == lastActiveSheet_) return false;
    lastActiveSheet_ = name;
    return true;
}

std::span<const CalcObject::Member> CalcWorkbook::members() const {
    static constexpr Member kMembers[] = {
        {"Name", dispid::Name},     {"Worksheets", dispid::Worksheets}, {"Sheets", dispid::Sheets},
        {"ActiveSheet", dispid::ActiveSheet}, {"Activate", dispid::Activate}, {"Close", dispid::Close},
        {"SaveAs", dispid::SaveAs}, {"Windows", dispid::Windows}, {"Names", dispid::Names},
        {"BuiltinDocumentProperties", dispid::BuiltinDocumentProperties},
    };
    return kMembers;
}

Variant CalcWorkbook::invokeMember(const CalcCall& call) {
    if (!session().workbookWithId(id_)) call.fail("the workbook \"" + name() + "\" has been closed");
    switch (call.id()) {
        case dispid::Name:
            if (call.isPut()) call.fail("the name of a workbook is set by saving it (SaveAs)");
            call.expectCount(0, 0);
            return Variant(name());
        case dispid::Worksheets:
        case dispid::Sheets: {
            call.noPut();
            call.expectCount(0, 1);
            auto collection = std::make_shared<CalcSheets>(selfAs<CalcWorkbook>(), call.id() == dispid::Worksheets);
            if (call.count() == 1) {
                const Variant index[] = {call.arg(0)};
                return collection->invoke(dispid::Item, automation::InvokeKind::PropertyGet, index, call.lcid());
            }
            return Variant(DispatchPtr(collection));
        }
        case dispid::ActiveSheet:
            call.noPut();
            call.expectCount(0, 0);
            return Variant(DispatchPtr(sheetObject(activeSheet())));
        case dispid::Activate:
            call.noPut();
            call.expectCount(0, 0);
            activate();
            return {};
        case dispid::Close:
            call.noPut();
            call.expectCount(0, 3);
            if (call.given(0) && call.boolean(0)) {
                if (!call.given(1)) call.fail("saving on close needs a file name (argument 2)");
                saveAs(call, call.text(1));
            }
            return Variant(close());
        case dispid::SaveAs:
            call.noPut();
            call.expectCount(1, 12);
            if (call.given(1) && call.int32(1) != 51)
                call.fail("only the .xlsx file format (51) can be written, not " + std::to_string(call.int32(1)));
            saveAs(call, call.text(0));
            return {};
        case dispid::Windows:
        case dispid::Names:
        case dispid::BuiltinDocumentProperties: {
            call.noPut();
            call.expectCount(0, 1);
            const auto self = selfAs<CalcWorkbook>();
            DispatchPtr collection;
            if (call.id() == dispid::Windows) collection = std::make_shared<CalcWindows>(self);
            else if (call.id() == dispid::Names) collection = std::make_shared<CalcNames>(self);
            else collection = std::make_shared<CalcDocumentProperties>(self);
            if (call.count() == 1) {
                const Variant index[] = {call.arg(0)};
                return collection->invoke(dispid::Item, automation::InvokeKind::PropertyGet, index, call.lcid());
            }
            return Variant(collection);
        }
    }
    call.wrongKind();
}

bool CalcWorkbook::close() {
    Variant cancel(false);
    events_.raise(dispid::BeforeClose, std::span<Variant>(&cancel, 1));
    if (cancel.toBool()) return false;
    closingByCall_ = true;
    try {
        Reference<css::util::XCloseable>(model_, UNO_QUERY_THROW)->close(true);
    } catch (...) {
        closingByCall_ = false;
        throw;
    }
    return true;
}

void CalcWorkbook::saveAs(const CalcCall& call, const std::string& path) {
    fs::path written;
    try {
        written = saveWorkbook(model_, path, session().folder() + "/save.xlsx");
    } catch (const AutomationError& e) {
        call.fail(e.what(), e.scode());
    }
    savedName_ = written.filename().string();
}

// --- Sheets / Worksheets ---

std::span<const CalcObject::Member> CalcSheets::members() const {
    static constexpr Member kMembers[] = {{"Item", dispid::Item}, {"Add", dispid::Add}, {"Count", dispid::Count}};
    return kMembers;
}

std::vector<Reference<css::sheet::XSpreadsheet>> CalcSheets::listed() const {
    std::vector<Reference<css::sheet::XSpreadsheet>> all = book_->sheets();
    if (worksheetsOnly_) std::erase_if(all, [this](const auto& s) { return book_->isChartSheet(s); });
    return all;
}

Variant CalcSheets::invokeMember(const CalcCall& call) {
    call.noPut();
    if (!session().workbookWithId(book_->id())) call.fail("the workbook has been closed");
    switch (call.id()) {
        case dispid::Item: {
            call.expectCount(1, 1);
            const auto sheets = listed();
            if (call.arg(0).type() == automation::VariantType::Text) {
                const std::string wanted = call.text(0);
                for (const auto& sheet : sheets)
                    if (framework::sameText(sheetName(sheet), wanted))
                        return Variant(DispatchPtr(book_->sheetObject(sheet)));
                call.fail("no sheet is named \"" + wanted + "\"");
            }
            const std::int32_t position = call.int32(0);
            if (position < 1 || static_cast<std::size_t>(position) > sheets.size())
                call.fail("there is no sheet at position " + std::to_string(position) + " (there are " +
                          std::to_string(sheets.size()) + ")");
            return Variant(DispatchPtr(book_->sheetObject(sheets[static_cast<std::size_t>(position) - 1])));
        }
        case dispid::Count:
            call.expectCount(0, 0);
            return Variant(static_cast<std::int32_t>(listed().size()));
        case dispid::Add:
            return add(call);
    }
    call.wrongKind();
}

namespace {

std::string unusedName(const std::vector<Reference<css::sheet::XSpreadsheet>>& sheets, const std::string& stem,
                       std::size_t from) {
    for (std::size_t n = from;; ++n) {
        const std::string candidate = stem + std::to_string(n);
        bool taken = false;
        for (const auto& sheet : sheets) taken = taken || framework::sameText(sheetName(sheet), candidate);
        if (!taken) return candidate;
    }
}

std::size_t indexOf(const std::vector<Reference<css::sheet::XSpreadsheet>>& sheets,
                    const Reference<css::sheet::XSpreadsheet>& sheet) {
    for (std::size_t i = 0; i < sheets.size(); ++i)
        if (sheetName(sheets[i]) == sheetName(sheet)) return i;
    return sheets.size();
}

}  // namespace

// New sheets go before the active sheet (or before / after the sheet given) and become active,
// as in the application; Calc reports the activation.
Variant CalcSheets::add(const CalcCall& call) {
    call.expectCount(0, 4);
    const auto all = book_->sheets();
    std::size_t position = indexOf(all, book_->activeSheet());
    for (std::size_t i = 0; i < 2; ++i) {
        if (!call.given(i)) continue;
        const auto* anchor = dynamic_cast<const CalcSheet*>(call.arg(i).toObject().get());
        if (!anchor || anchor->workbook() != book_) call.fail("argument " + std::to_string(i + 1) + " must be a sheet of this workbook");
        position = indexOf(all, anchor->sheet()) + i;
    }
    const std::int32_t count = call.given(2) ? call.int32(2) : 1;
    if (count < 1) call.fail("the count must be at least 1");
    bool chart = false;
    if (call.given(3)) {
        const std::int32_t type = call.int32(3);
        if (type == automation::xl::Chart && !worksheetsOnly_)
            chart = true;
        else if (type != automation::xl::Worksheet)
            call.fail("sheet type " + std::to_string(type) + " cannot be added (-4167 worksheet" +
                      std::string(worksheetsOnly_ ? ")" : ", -4109 chart)"));
    }
    const auto spreadsheets = book_->document()->getSheets();
    Reference<css::sheet::XSpreadsheet> added;
    for (std::int32_t i = 0; i < count; ++i) {
        const auto current = book_->sheets();
        const std::string name = chart ? unusedName(current, "Chart", 1) : unusedName(current, "Sheet", current.size() + 1);
        spreadsheets->insertNewByName(toUno(name), static_cast<sal_Int16>(position));
        added.set(spreadsheets->getByName(toUno(name)), UNO_QUERY_THROW);
        if (chart) book_->markChartSheet(added);
    }
    Reference<css::sheet::XSpreadsheetView>(book_->controller(), UNO_QUERY_THROW)->setActiveSheet(added);
    return Variant(DispatchPtr(book_->sheetObject(added)));
}

}  // namespace tabulix::office
