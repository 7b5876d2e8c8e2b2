#include "spreadsheet/model/defined_names.h"

#include <algorithm>

#include "automation/dispids.h"
#include "framework/printable.h"
#include "spreadsheet/cells/text_utils.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;
using automation::DispatchPtr;
using automation::Variant;
namespace dispid = automation::dispid;

namespace {

std::string shown(std::string_view text) { return "\"" + framework::printable(text) + "\""; }

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool allDigits(std::string_view s) { return std::all_of(s.begin(), s.end(), isDigit); }

// "B12", "xfd1", "R", "C", "R1C1", "r2c": names a formula would read as cells.
bool readsAsCell(std::string_view name) {
    std::size_t letters = 0;
    while (letters < name.size() && isAsciiLetter(name[letters])) ++letters;
    if (letters > 0 && letters < name.size() && allDigits(name.substr(letters))) {
        try {
            parseCellName(name);
            return true;
        } catch (const AutomationError&) {
        }
    }
    const auto rc = [](std::string_view s, char letter) {
        if (s.empty() || (s[0] != letter && s[0] != letter + ('a' - 'A'))) return std::string_view::npos;
        std::size_t i = 1;
        while (i < s.size() && isDigit(s[i])) ++i;
        return i;
    };
    if (const std::size_t r = rc(name, 'R'); r != std::string_view::npos) {
        if (r == name.size()) return true;
        return rc(name.substr(r), 'C') == name.size() - r;
    }
    return rc(name, 'C') == name.size();
}

void checkName(std::string_view name) {
    const std::string quoted = shown(name);
    if (name.empty()) throw AutomationError("A defined name cannot be empty");
    if (codePointCount(name) > DefinedNames::kMaxNameLength)
        throw AutomationError("The defined name " + quoted + " is longer than 255 characters");
    const auto letterLike = [](char c) { return isAsciiLetter(c) || static_cast<unsigned char>(c) >= 0x80; };
    if (!letterLike(name[0]) && name[0] != '_' && name[0] != '\\')
        throw AutomationError("The defined name " + quoted + " must begin with a letter, \"_\" or \"\\\"");
    for (char c : name)
        if (!letterLike(c) && !isDigit(c) && c != '_' && c != '.' && c != '\\')
            throw AutomationError("The defined name " + quoted +
                                  " holds a character names cannot hold: only letters, digits, \".\" and \"_\"");
    if (readsAsCell(name)) throw AutomationError("The defined name " + quoted + " reads as a cell reference");
    if (foldCase(name).starts_with("_xlnm."))
        throw AutomationError("The defined name " + quoted + " is reserved for the spreadsheet's own names");
}

// Splits "'Hoja 1'!$A$1" into the sheet name (quotes undone) and the cells; no "!" gives no sheet.
std::pair<std::optional<std::string>, std::string_view> splitReference(std::string_view text) {
    if (!text.empty() && text[0] == '\'') {
        std::string sheet;
        std::size_t i = 1;
        for (; i < text.size(); ++i) {
            if (text[i] == '\'') {
                if (i + 1 < text.size() && text[i + 1] == '\'') {
                    sheet += '\'';
                    ++i;
                    continue;
                }
                break;
            }
            sheet += text[i];
        }
        if (i + 1 < text.size() && text[i + 1] == '!') return {sheet, text.substr(i + 2)};
        throw AutomationError("the quoted sheet name in " + shown(text) + " is not followed by \"!\"");
    }
    const auto bang = text.find('!');
    if (bang == std::string_view::npos) return {std::nullopt, text};
    return {std::string(text.substr(0, bang)), text.substr(bang + 1)};
}

}  // namespace

std::string quotedSheetName(std::string_view sheetName) {
    std::string out = "'";
    for (char c : sheetName) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

std::string absoluteReference(std::string_view sheetName, const CellRect& cells) {
    std::string out = quotedSheetName(sheetName) + "!";
    const auto cell = [&](CellAddress at) {
        out += '$';
        out += columnLetters(at.column);
        out += '$';
        out += std::to_string(at.row);
    };
    cell(cells.first);
    if (!cells.isSingleCell()) {
        out += ':';
        cell(cells.last);
    }
    return out;
}

const DefinedName& DefinedNames::add(const Workbook& book, std::string_view name, std::string_view refersTo,
                                     bool hidden) {
    checkName(name);
    if (refersTo.empty() || refersTo[0] != '=')
        throw AutomationError("The reference of the defined name " + shown(name) + " must begin with \"=\", as " +
                              shown(refersTo) + " does not");
    DefinedName added{std::string(name), {}, {}, hidden};
    try {
        const auto [sheetName, cells] = splitReference(refersTo.substr(1));
        std::shared_ptr<const Sheet> sheet = sheetName ? book.sheetNamed(*sheetName) : book.activeSheet();
        const auto worksheet = std::dynamic_pointer_cast<const Worksheet>(sheet);
        if (!worksheet) throw AutomationError("a defined name refers to the cells of a worksheet, not of a chart");
        added.sheet = worksheet;
        added.cells = parseRangeRef(cells);
    } catch (const AutomationError& e) {
        throw AutomationError("The defined name " + shown(name) + " cannot refer to " + shown(refersTo) + ": " +
                              e.what());
    }
    const std::string folded = foldCase(name);
    const auto same = std::find_if(names_.begin(), names_.end(),
                                   [&](const DefinedName& n) { return foldCase(n.name) == folded; });
    if (same != names_.end()) {
        *same = std::move(added);
        return *same;
    }
    return names_.emplace_back(std::move(added));
}

void DefinedNames::remove(std::string_view name) {
    const std::string folded = foldCase(name);
    const auto at = std::find_if(names_.begin(), names_.end(), [&](const DefinedName& n) { return foldCase(n.name) == folded; });
    if (at == names_.end()) throw AutomationError("There is no defined name " + shown(name));
    names_.erase(at);
}

const DefinedName* DefinedNames::find(std::string_view name) const {
    const std::string folded = foldCase(name);
    for (const DefinedName& n : names_)
        if (foldCase(n.name) == folded) return &n;
    return nullptr;
}

std::string DefinedNames::reference(const DefinedName& name) {
    const auto sheet = name.sheet.lock();
    if (!sheet || !sheet->isAttached()) return "#REF!";
    return absoluteReference(sheet->name(), name.cells);
}

// --- Automation ---

Application* NamesCollection::application() const { return book_->application(); }
const automation::ThreadOwner* NamesCollection::threadOwner() const { return book_->threadOwner(); }

std::span<const ModelObject::Member> NamesCollection::members() const {
    static constexpr Member kMembers[] = {{"Item", dispid::Item}, {"Add", dispid::Add}, {"Count", dispid::Count}};
    return kMembers;
}

Variant NamesCollection::invokeMember(const Call& call) {
    call.noPut();
    if (book_->isClosed()) call.fail("the workbook " + shown(book_->name()) + " has been closed");
    DefinedNames& names = book_->names();
    switch (call.id()) {
        case dispid::Item: {
            call.expectCount(1, 1);
            if (call.arg(0).type() == automation::VariantType::Text) {
                const DefinedName* found = names.find(call.text(0));
                if (!found) call.fail("there is no defined name " + shown(call.text(0)));
                return Variant(DispatchPtr(std::make_shared<NameObject>(book_, found->name)));
            }
            const std::int32_t index = call.int32(0);
            if (index < 1 || static_cast<std::size_t>(index) > names.all().size())
                call.fail("there is no name at position " + std::to_string(index) + " (there are " +
                          std::to_string(names.all().size()) + ")");
            return Variant(DispatchPtr(
                std::make_shared<NameObject>(book_, names.all()[static_cast<std::size_t>(index) - 1].name)));
        }
        case dispid::Count: call.expectCount(0, 0); return Variant(static_cast<std::int32_t>(names.all().size()));
        case dispid::Add: {
            call.expectCount(2, 3);
            const bool hidden = call.given(2) && !call.boolean(2);
            try {
                const DefinedName& added = names.add(*book_, call.text(0), call.text(1), hidden);
                return Variant(DispatchPtr(std::make_shared<NameObject>(book_, added.name)));
            } catch (const AutomationError& e) {
                call.fail(e.what(), e.scode());
            }
        }
    }
    call.wrongKind();
}

Application* NameObject::application() const { return book_->application(); }
const automation::ThreadOwner* NameObject::threadOwner() const { return book_->threadOwner(); }

std::span<const ModelObject::Member> NameObject::members() const {
    static constexpr Member kMembers[] = {
        {"Name", dispid::Name}, {"RefersTo", dispid::RefersTo}, {"Delete", dispid::Delete}};
    return kMembers;
}

Variant NameObject::invokeMember(const Call& call) {
    if (book_->isClosed()) call.fail("the workbook " + shown(book_->name()) + " has been closed");
    call.expectCount(0, 0);
    DefinedNames& names = book_->names();
    const DefinedName* name = names.find(name_);
    if (!name) call.fail("the defined name " + shown(name_) + " has been deleted");
    switch (call.id()) {
        case dispid::Name: call.noPut(); return Variant(name->name);
        case dispid::RefersTo:
            if (!call.isPut()) return Variant("=" + DefinedNames::reference(*name));
            try {
                names.add(*book_, name->name, call.valueText(), name->hidden);
            } catch (const AutomationError& e) {
                call.fail(e.what(), e.scode());
            }
            return {};
        case dispid::Delete:
            call.noPut();
            names.remove(name_);
            return {};
    }
    call.wrongKind();
}

}  // namespace tabulix::spreadsheet
