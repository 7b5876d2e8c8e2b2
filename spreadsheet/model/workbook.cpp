#include "spreadsheet/model/workbook.h"

#include <algorithm>
#include <array>

#include "automation/dispids.h"
#include "framework/printable.h"
#include "spreadsheet/cells/text_utils.h"
#include "spreadsheet/cells/utf8.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/chart_sheet.h"
#include "spreadsheet/model/window.h"
#include "spreadsheet/model/worksheet.h"
#include "workbook_formulas.h"

namespace tabulix::spreadsheet {

namespace {

// A workbook or sheet name in a message, in quotes: a workbook takes the name of the file it was
// saved to, whatever bytes that holds.
std::string shown(std::string_view name) { return "\"" + framework::printable(name) + "\""; }

}  // namespace

using automation::AutomationError;
using automation::DispatchPtr;
using automation::Variant;
namespace dispid = automation::dispid;
namespace xl = automation::xl;

namespace {
constexpr std::size_t kMaxSheetNameLength = 31;
}

Workbook::Workbook(Application& app, std::string name)
    : app_(&app), owner_(app.owner()), name_(std::move(name)), formulas_(std::make_unique<WorkbookFormulas>(*this)) {}

Workbook::~Workbook() { detach(); }

void Workbook::detach() {
    app_ = nullptr;
    active_ = nullptr;
    for (const auto& sheet : sheets_) sheet->book_ = nullptr;
}

std::vector<std::shared_ptr<Worksheet>> Workbook::worksheets() const {
    std::vector<std::shared_ptr<Worksheet>> result;
    for (const auto& sheet : sheets_)
        if (sheet->sheetType() == SheetType::Worksheet) result.push_back(std::static_pointer_cast<Worksheet>(sheet));
    return result;
}

std::shared_ptr<Sheet> Workbook::activeSheet() const {
    return active_ ? std::static_pointer_cast<Sheet>(active_->shared_from_this()) : nullptr;
}

std::shared_ptr<Sheet> Workbook::sheetAt(std::int32_t position) const {
    if (position < 1 || static_cast<std::size_t>(position) > sheets_.size())
        throw AutomationError("Workbook " + shown(name_) + ": there is no sheet at position " + std::to_string(position) +
                              " (it has " + std::to_string(sheets_.size()) + ")");
    return sheets_[static_cast<std::size_t>(position) - 1];
}

std::shared_ptr<Sheet> Workbook::sheetNamed(std::string_view name) const {
    const std::string wanted = foldCase(name);
    for (const auto& sheet : sheets_)
        if (foldCase(sheet->name()) == wanted) return sheet;
    throw AutomationError("Workbook " + shown(name_) + ": no sheet is named " + shown(name));
}

std::int32_t Workbook::positionOf(const Sheet& sheet) const {
    for (std::size_t i = 0; i < sheets_.size(); ++i)
        if (sheets_[i].get() == &sheet) return static_cast<std::int32_t>(i + 1);
    return 0;
}

void Workbook::checkSheetName(std::string_view name, const Sheet* renamed) const {
    const std::string quoted = shown(name);
    if (name.empty()) throw AutomationError("A sheet name cannot be empty");
    if (!isValidUtf8(name)) throw AutomationError("The sheet name " + quoted + " is not valid UTF-8 text");
    if (codePointCount(name) > kMaxSheetNameLength)
        throw AutomationError("The sheet name " + quoted + " is longer than 31 characters");
    if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
        throw AutomationError("The sheet name " + quoted + " contains a control character");
    if (const auto bad = name.find_first_of(":\\/?*[]"); bad != std::string_view::npos)
        throw AutomationError("The sheet name " + quoted + " contains the character '" + std::string(1, name[bad]) +
                              "', which sheet names cannot hold (: \\ / ? * [ ])");
    if (name.front() == '\'' || name.back() == '\'')
        throw AutomationError("The sheet name " + quoted + " cannot begin or end with an apostrophe");
    const std::string folded = foldCase(name);
    for (const auto& sheet : sheets_)
        if (sheet.get() != renamed && foldCase(sheet->name()) == folded)
            throw AutomationError("The workbook " + shown(name_) + " already has a sheet named " +
                                  shown(sheet->name()));
}

std::shared_ptr<Sheet> Workbook::makeSheet(SheetType type) {
    std::string name;
    do {
        name = type == SheetType::Worksheet ? "Hoja" + std::to_string(++worksheetCounter_)
                                            : "Gr\xC3\xA1" "fico" + std::to_string(++chartCounter_);
    } while (std::any_of(sheets_.begin(), sheets_.end(),
                         [&](const auto& s) { return foldCase(s->name()) == foldCase(name); }));
    std::shared_ptr<Sheet> sheet;
    if (type == SheetType::Worksheet)
        sheet = std::make_shared<Worksheet>(*this, std::move(name));
    else
        sheet = std::make_shared<ChartSheet>(*this, std::move(name));
    if (sheets_.empty()) {
        sheets_.push_back(sheet);
        active_ = sheet.get();
    }
    return sheet;
}

std::shared_ptr<Sheet> Workbook::addSheets(SheetType type, Sheet* before, Sheet* after, std::int32_t count) {
    if (isClosed()) throw AutomationError("Workbook " + shown(name_) + " has been closed");
    if (count < 1 || count > 255)
        throw AutomationError("Sheets.Add: cannot add " + std::to_string(count) + " sheets (1 to 255)");
    if (before && after) throw AutomationError("Sheets.Add: give either Before or After, not both");
    for (Sheet* anchor : {before, after})
        if (anchor && positionOf(*anchor) == 0)
            throw AutomationError("Sheets.Add: the sheet " + shown(anchor->name()) + " is not in workbook " +
                                  shown(name_));
    auto self = selfAs<Workbook>();
    Application* app = app_;
    app->activate(*this);
    std::shared_ptr<Sheet> last;
    for (std::int32_t i = 0; i < count; ++i) {
        if (isClosed()) throw AutomationError("Workbook " + shown(name_) + " was closed while sheets were added");
        auto sheet = makeSheet(type);
        std::size_t at;
        if (after && positionOf(*after) != 0)
            at = static_cast<std::size_t>(positionOf(*after));
        else if (before && positionOf(*before) != 0)
            at = static_cast<std::size_t>(positionOf(*before)) - 1;
        else
            at = active_ ? static_cast<std::size_t>(positionOf(*active_)) - 1 : 0;
        sheets_.insert(sheets_.begin() + static_cast<std::ptrdiff_t>(at), sheet);
        if (after) after = sheet.get();  // the next one goes after this one
        active_ = sheet.get();
        last = sheet;
        app_->notifyObservers([&](ModelObserver& o) {
            o.sheetsChanged(*this);
            o.activeSheetChanged(*this);
        });
        app_->raiseSheetActivate(*sheet);
    }
    // A formula may name a sheet that did not exist when it was put.
    if (type == SheetType::Worksheet && !isClosed() && formulas_->formulaCount() != 0) formulas_->recalculateAll();
    return last;
}

void Workbook::deleteSheet(Sheet& sheet) {
    if (isClosed()) throw AutomationError("Workbook " + shown(name_) + " has been closed");
    const std::int32_t position = positionOf(sheet);
    if (position == 0)
        throw AutomationError("The sheet \"" + sheet.name() + "\" is not in workbook " + shown(name_));
    if (sheets_.size() == 1)
        throw AutomationError("The sheet " + shown(sheet.name()) + " is the only sheet of workbook " + shown(name_) +
                              " and cannot be deleted");
    auto self = selfAs<Workbook>();
    auto keep = std::static_pointer_cast<Sheet>(sheet.shared_from_this());
    if (sheet.sheetType() == SheetType::Worksheet) formulas_->removeSheet(static_cast<const Worksheet&>(sheet));
    sheets_.erase(sheets_.begin() + (position - 1));
    sheet.book_ = nullptr;
    const bool wasActive = active_ == &sheet;
    if (wasActive) active_ = sheets_[std::min<std::size_t>(static_cast<std::size_t>(position) - 1, sheets_.size() - 1)].get();
    app_->notifyObservers([&](ModelObserver& o) {
        o.sheetsChanged(*this);
        if (wasActive) o.activeSheetChanged(*this);
    });
    if (formulas_->formulaCount() != 0) formulas_->recalculateAll();
    if (wasActive && !isClosed() && active_) app_->raiseSheetActivate(*active_);
}

void Workbook::activate() {
    if (isClosed()) throw AutomationError("Workbook " + shown(name_) + " has been closed");
    app_->activate(*this);
}

void Workbook::activateSheet(Sheet& sheet) {
    if (isClosed()) throw AutomationError("Workbook " + shown(name_) + " has been closed");
    auto self = selfAs<Workbook>();
    auto keepSheet = std::static_pointer_cast<Sheet>(sheet.shared_from_this());
    app_->activate(*this);
    if (isClosed() || active_ == &sheet || positionOf(sheet) == 0) return;
    active_ = &sheet;
    app_->notifyObservers([&](ModelObserver& o) { o.activeSheetChanged(*this); });
    app_->raiseSheetActivate(sheet);
}

bool Workbook::close() {
    if (isClosed()) throw AutomationError("Workbook " + shown(name_) + " has already been closed");
    auto self = selfAs<Workbook>();
    if (!closing_) {
        closing_ = true;
        std::array<Variant, 1> cancel{Variant(false)};
        try {
            events_.raise(dispid::BeforeClose, cancel);
        } catch (...) {
            closing_ = false;
            throw;
        }
        closing_ = false;
        if (isClosed()) return true;  // a handler closed it already
        if (cancel[0].toBool()) return false;
    }
    app_->remove(*this);
    return true;
}

void Workbook::saveAs(const std::string& path) {
    if (isClosed()) throw AutomationError("Workbook " + shown(name_) + " has been closed");
    const WorkbookWriter write = app_->workbookWriter();
    if (!write) throw AutomationError("Workbook " + shown(name_) + " cannot be saved: the application has no file writer");
    const std::string written = write(*this, path, [this](std::uint64_t rows, std::uint64_t total) {
        app_->notifyObservers([&](ModelObserver& o) { o.saveProgress(*this, rows, total); });
    });
    const auto slash = written.find_last_of('/');
    name_ = slash == std::string::npos ? written : written.substr(slash + 1);
    app_->notifyObservers([&](ModelObserver& o) { o.workbookRenamed(*this); });
}

std::span<const ModelObject::Member> Workbook::members() const {
    static constexpr Member kMembers[] = {
        {"Name", dispid::Name},     {"Worksheets", dispid::Worksheets}, {"Sheets", dispid::Sheets},
        {"ActiveSheet", dispid::ActiveSheet}, {"Activate", dispid::Activate}, {"Close", dispid::Close},
        {"SaveAs", dispid::SaveAs}, {"Windows", dispid::Windows}, {"Names", dispid::Names},
        {"BuiltinDocumentProperties", dispid::BuiltinDocumentProperties},
    };
    return kMembers;
}

namespace {

Sheet* anchorSheet(const Call& call, std::size_t i) {
    if (!call.given(i)) return nullptr;
    const Variant& v = call.arg(i);
    if (v.type() != automation::VariantType::Object) call.fail("argument " + std::to_string(i + 1) + " must be a sheet");
    auto* sheet = dynamic_cast<Sheet*>(v.toObject().get());
    if (!sheet) call.fail("argument " + std::to_string(i + 1) + " must be a sheet");
    return sheet;
}

}  // namespace

Variant Workbook::invokeMember(const Call& call) {
    if (isClosed()) call.fail("the workbook " + shown(name_) + " has been closed");
    switch (call.id()) {
        case dispid::Name:
            if (call.isPut()) call.fail("the name of a workbook is set by saving it (SaveAs)");
            call.expectCount(0, 0);
            return Variant(name_);
        case dispid::Worksheets:
        case dispid::Sheets: {
            if (call.isPut()) call.wrongKind();
            call.expectCount(0, 1);
            const bool worksheetsOnly = call.id() == dispid::Worksheets;
            auto collection = std::make_shared<SheetsCollection>(selfAs<Workbook>(), worksheetsOnly);
            if (call.count() == 1) {
                std::array<Variant, 1> index{call.arg(0)};
                return collection->invoke(dispid::Item, automation::InvokeKind::PropertyGet, index, call.lcid());
            }
            return Variant(DispatchPtr(collection));
        }
        case dispid::ActiveSheet: {
            if (call.isPut()) call.wrongKind();
            call.expectCount(0, 0);
            auto sheet = activeSheet();
            return sheet ? Variant(DispatchPtr(sheet)) : Variant::null();
        }
        case dispid::Activate:
            if (call.isPut()) call.wrongKind();
            call.expectCount(0, 0);
            activate();
            return {};
        case dispid::Close: {
            if (call.isPut()) call.wrongKind();
            call.expectCount(0, 3);
            if (call.given(0) && call.boolean(0)) {
                if (!call.given(1)) call.fail("saving on close needs a file name (argument 2)");
                saveAs(call.text(1));
            }
            return Variant(close());
        }
        case dispid::SaveAs: {
            if (call.isPut()) call.wrongKind();
            call.expectCount(1, 12);
            if (call.given(1)) {
                const std::int32_t format = call.int32(1);
                if (format != 51)
                    call.fail("only the .xlsx file format (51) can be written, not " + std::to_string(format));
            }
            try {
                saveAs(call.text(0));
            } catch (const AutomationError& e) {
                call.fail(e.what(), e.scode());
            }
            return {};
        }
        case dispid::Windows:
        case dispid::Names:
        case dispid::BuiltinDocumentProperties: {
            call.noPut();
            call.expectCount(0, 1);
            DispatchPtr collection;
            if (call.id() == dispid::Windows)
                collection = std::make_shared<WindowsCollection>(selfAs<Workbook>());
            else if (call.id() == dispid::Names)
                collection = std::make_shared<NamesCollection>(selfAs<Workbook>());
            else
                collection = std::make_shared<DocumentPropertiesCollection>(selfAs<Workbook>());
            if (call.count() == 1) {
                std::array<Variant, 1> index{call.arg(0)};
                return collection->invoke(dispid::Item, automation::InvokeKind::PropertyGet, index, call.lcid());
            }
            return Variant(collection);
        }
    }
    call.wrongKind();
}

std::span<const ModelObject::Member> SheetsCollection::members() const {
    static constexpr Member kMembers[] = {
        {"Item", dispid::Item},
        {"Add", dispid::Add},
        {"Count", dispid::Count},
    };
    return kMembers;
}

Variant SheetsCollection::invokeMember(const Call& call) {
    if (call.isPut()) call.wrongKind();
    if (book_->isClosed()) call.fail("the workbook " + shown(book_->name()) + " has been closed");
    std::vector<std::shared_ptr<Sheet>> listed;
    if (worksheetsOnly_) {
        for (auto& ws : book_->worksheets()) listed.push_back(ws);
    } else {
        listed = book_->sheets();
    }
    switch (call.id()) {
        case dispid::Item: {
            call.expectCount(1, 1);
            if (call.arg(0).type() == automation::VariantType::Text) {
                const std::string wanted = foldCase(call.text(0));
                for (const auto& sheet : listed)
                    if (foldCase(sheet->name()) == wanted) return Variant(DispatchPtr(sheet));
                call.fail("no " + std::string(worksheetsOnly_ ? "worksheet" : "sheet") + " is named " +
                          shown(call.text(0)));
            }
            const std::int32_t position = call.int32(0);
            if (position < 1 || static_cast<std::size_t>(position) > listed.size())
                call.fail("there is no sheet at position " + std::to_string(position) + " (there are " +
                          std::to_string(listed.size()) + ")");
            return Variant(DispatchPtr(listed[static_cast<std::size_t>(position) - 1]));
        }
        case dispid::Count:
            call.expectCount(0, 0);
            return Variant(static_cast<std::int32_t>(listed.size()));
        case dispid::Add: {
            call.expectCount(0, 4);
            Sheet* before = anchorSheet(call, 0);
            Sheet* after = anchorSheet(call, 1);
            const std::int32_t count = call.given(2) ? call.int32(2) : 1;
            SheetType type = SheetType::Worksheet;
            if (call.given(3)) {
                const std::int32_t code = call.int32(3);
                if (code == xl::Chart && !worksheetsOnly_)
                    type = SheetType::Chart;
                else if (code != xl::Worksheet)
                    call.fail("sheet type " + std::to_string(code) + " cannot be added (-4167 worksheet" +
                              std::string(worksheetsOnly_ ? ")" : ", -4109 chart)"));
            }
            return Variant(DispatchPtr(book_->addSheets(type, before, after, count)));
        }
    }
    call.wrongKind();
}

}  // namespace tabulix::spreadsheet
