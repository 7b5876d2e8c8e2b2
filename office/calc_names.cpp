#include "office/calc_names.h"

#include <cctype>
#include <optional>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/sheet/XNamedRange.hpp>
#include <com/sun/star/sheet/XNamedRanges.hpp>
#include <com/sun/star/table/CellAddress.hpp>

#include "automation/dispids.h"
#include "framework/text_compare.h"
#include "office/calc_sheet.h"
#include "office/calc_workbook.h"
#include "office/uno_text.h"

namespace tabulix::office {

using automation::DispatchPtr;
using automation::Variant;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace dispid = automation::dispid;

namespace {

Reference<css::sheet::XNamedRanges> namedRanges(const CalcWorkbook& book) {
    return Reference<css::sheet::XNamedRanges>(
        Reference<css::beans::XPropertySet>(book.model(), UNO_QUERY_THROW)->getPropertyValue("NamedRanges"),
        UNO_QUERY_THROW);
}

// "$A$3", "B2", "$A$3:$C$9": cells as a formula names them.
bool namesCells(const std::string& cells) {
    const auto cell = [](const std::string& s) {
        std::size_t i = 0;
        if (i < s.size() && s[i] == '$') ++i;
        const std::size_t letters = i;
        while (i < s.size() && std::isalpha(static_cast<unsigned char>(s[i]))) ++i;
        if (i == letters || i - letters > 3) return false;
        if (i < s.size() && s[i] == '$') ++i;
        const std::size_t digits = i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
        return i == s.size() && i > digits && s[digits] != '0' && i - digits <= 7;
    };
    const auto colon = cells.find(':');
    return colon == std::string::npos ? cell(cells) : cell(cells.substr(0, colon)) && cell(cells.substr(colon + 1));
}

std::string quotedSheet(const std::string& sheet) {
    std::string out = "'";
    for (char c : sheet) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

// The sheet name at the start of `text` (quoted or not) and where it ends.
std::pair<std::string, std::size_t> sheetAtStart(const std::string& text, char end) {
    if (text.empty() || text[0] != '\'') {
        const auto at = text.find(end);
        return {text.substr(0, at), at};
    }
    std::string sheet;
    std::size_t i = 1;
    for (; i < text.size(); ++i) {
        if (text[i] != '\'') {
            sheet += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '\'') {
            sheet += '\'';
            ++i;
            continue;
        }
        break;
    }
    return {sheet, i + 1 < text.size() && text[i + 1] == end ? i + 1 : std::string::npos};
}

// The name as the document spells it, when it has it in any letter case.
std::optional<rtl::OUString> existing(const Reference<css::sheet::XNamedRanges>& names, const std::string& name) {
    const Reference<css::container::XIndexAccess> all(names, UNO_QUERY_THROW);
    for (sal_Int32 i = 0; i < all->getCount(); ++i) {
        const rtl::OUString stored = Reference<css::container::XNamed>(all->getByIndex(i), UNO_QUERY_THROW)->getName();
        if (framework::sameText(fromUno(stored), name)) return stored;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> calcReference(const std::string& refersTo, const std::string& activeSheet) {
    if (refersTo.empty() || refersTo[0] != '=') return std::nullopt;
    const std::string text = refersTo.substr(1);
    std::string sheet = activeSheet, cells = text;
    if (text.find('!') != std::string::npos) {
        const auto [name, bang] = sheetAtStart(text, '!');
        if (bang == std::string::npos || name.empty()) return std::nullopt;
        sheet = name;
        cells = text.substr(bang + 1);
    }
    if (!namesCells(cells)) return std::nullopt;
    return "$" + quotedSheet(sheet) + "." + cells;
}

std::string spreadsheetReference(const std::string& content) {
    std::string text = content;
    if (!text.empty() && text[0] == '$') text.erase(0, 1);
    const auto [sheet, dot] = sheetAtStart(text, '.');
    if (dot == std::string::npos) return "=" + content;
    std::string cells = text.substr(dot + 1);
    // Calc may name the sheet again after the colon.
    if (const auto colon = cells.find(':'); colon != std::string::npos) {
        const auto second = cells.find('.', colon);
        if (second != std::string::npos) cells = cells.substr(0, colon + 1) + cells.substr(second + 1);
    }
    return "=" + quotedSheet(sheet) + "!" + cells;
}

CalcNames::CalcNames(std::shared_ptr<CalcWorkbook> book) : CalcObject(book->sessionPtr()), book_(std::move(book)) {}

std::span<const CalcObject::Member> CalcNames::members() const {
    static constexpr Member kMembers[] = {{"Item", dispid::Item}, {"Add", dispid::Add}, {"Count", dispid::Count}};
    return kMembers;
}

Variant CalcNames::invokeMember(const CalcCall& call) {
    call.noPut();
    if (!session().workbookWithId(book_->id())) call.fail("its workbook has been closed");
    const auto names = namedRanges(*book_);
    const Reference<css::container::XIndexAccess> byIndex(names, UNO_QUERY_THROW);
    switch (call.id()) {
        case dispid::Count: call.expectCount(0, 0); return Variant(static_cast<std::int32_t>(byIndex->getCount()));
        case dispid::Item: {
            call.expectCount(1, 1);
            if (call.arg(0).type() == automation::VariantType::Text) {
                const auto stored = existing(names, call.text(0));
                if (!stored) call.fail("there is no defined name \"" + call.text(0) + "\"");
                return Variant(DispatchPtr(std::make_shared<CalcName>(book_, fromUno(*stored))));
            }
            const std::int32_t index = call.int32(0);
            if (index < 1 || index > byIndex->getCount())
                call.fail("there is no name at position " + std::to_string(index) + " (there are " +
                          std::to_string(byIndex->getCount()) + ")");
            const Reference<css::container::XNamed> named(byIndex->getByIndex(index - 1), UNO_QUERY_THROW);
            return Variant(DispatchPtr(std::make_shared<CalcName>(book_, fromUno(named->getName()))));
        }
        case dispid::Add: {
            call.expectCount(2, 3);
            const std::string name = call.text(0), refersTo = call.text(1);
            if (name.empty()) call.fail("a defined name cannot be empty");
            const auto content = calcReference(refersTo, sheetName(book_->activeSheet()));
            if (!content)
                call.fail("the defined name \"" + name + "\" cannot refer to \"" + refersTo +
                          "\": give cells such as \"='Hoja 1'!$A$3:$C$9\"");
            // The same name in any letter case takes the new cells.
            if (const auto stored = existing(names, name)) names->removeByName(*stored);
            try {
                names->addNewByName(toUno(name), toUno(*content), css::table::CellAddress(), 0);
            } catch (const css::uno::RuntimeException&) {
                call.fail("LibreOffice Calc refused the defined name \"" + name +
                          "\" (it must begin with a letter or \"_\", hold letters, digits, \".\" and \"_\", and not read "
                          "as a cell)");
            }
            return Variant(DispatchPtr(std::make_shared<CalcName>(book_, name)));
        }
    }
    call.wrongKind();
}

CalcName::CalcName(std::shared_ptr<CalcWorkbook> book, std::string name)
    : CalcObject(book->sessionPtr()), book_(std::move(book)), name_(std::move(name)) {}

std::span<const CalcObject::Member> CalcName::members() const {
    static constexpr Member kMembers[] = {
        {"Name", dispid::Name}, {"RefersTo", dispid::RefersTo}, {"Delete", dispid::Delete}};
    return kMembers;
}

Variant CalcName::invokeMember(const CalcCall& call) {
    if (!session().workbookWithId(book_->id())) call.fail("its workbook has been closed");
    call.expectCount(0, 0);
    const auto names = namedRanges(*book_);
    if (!names->hasByName(toUno(name_))) call.fail("the defined name \"" + name_ + "\" has been deleted");
    const Reference<css::sheet::XNamedRange> range(names->getByName(toUno(name_)), UNO_QUERY_THROW);
    switch (call.id()) {
        case dispid::Name: call.noPut(); return Variant(name_);
        case dispid::RefersTo: {
            if (!call.isPut()) return Variant(spreadsheetReference(fromUno(range->getContent())));
            const auto content = calcReference(call.valueText(), sheetName(book_->activeSheet()));
            if (!content) call.fail("\"" + call.valueText() + "\" names no cells; give cells such as \"='Hoja 1'!$A$3\"");
            range->setContent(toUno(*content));
            return {};
        }
        case dispid::Delete:
            call.noPut();
            names->removeByName(toUno(name_));
            return {};
    }
    call.wrongKind();
}

}  // namespace tabulix::office
