#include "spreadsheet/model/application.h"

#include <algorithm>
#include <array>

#include "automation/dispids.h"
#include "framework/printable.h"
#include "spreadsheet/cells/text_utils.h"
#include "spreadsheet/measure/text_measurer.h"
#include "spreadsheet/model/sheet.h"
#include "spreadsheet/model/workbook.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;
using automation::Variant;
namespace dispid = automation::dispid;

std::shared_ptr<Application> Application::create(automation::Lcid displayLocale, WorkbookWriter writer) {
    return std::shared_ptr<Application>(new Application(displayLocale, writer));
}

Application::Application(automation::Lcid displayLocale, WorkbookWriter writer)
    : owner_(automation::ThreadOwner::ofCurrentThread()), displayLocale_(displayLocale), writer_(writer) {}

Application::~Application() {
    for (const auto& book : workbooks_) book->detach();
}

void Application::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    notifyObservers([&](ModelObserver& o) { o.windowChanged(*this); });
}

void Application::setWindowState(std::int32_t state) {
    if (state != -4137 && state != -4140 && state != -4143)
        throw AutomationError("Application.WindowState: " + std::to_string(state) +
                              " is not a window state (-4137 maximized, -4140 minimized, -4143 normal)");
    if (state == windowState_) return;
    windowState_ = state;
    notifyObservers([&](ModelObserver& o) { o.windowChanged(*this); });
}

void Application::addObserver(ModelObserver& observer) {
    if (std::find(observers_.begin(), observers_.end(), &observer) == observers_.end())
        observers_.push_back(&observer);
}

void Application::removeObserver(ModelObserver& observer) { std::erase(observers_, &observer); }

std::shared_ptr<Workbook> Application::addWorkbook() {
    auto self = selfAs<Application>();
    auto book = std::shared_ptr<Workbook>(new Workbook(*this, "Libro" + std::to_string(++workbookCounter_)));
    book->makeSheet(SheetType::Worksheet);
    workbooks_.push_back(book);
    notifyObservers([&](ModelObserver& o) { o.workbookAdded(*book); });
    activate(*book);
    return book;
}

std::shared_ptr<Workbook> Application::activeWorkbook() const {
    if (recent_.empty()) return nullptr;
    return std::static_pointer_cast<Workbook>(recent_.front()->shared_from_this());
}

std::shared_ptr<Workbook> Application::workbookAt(std::int32_t position) const {
    if (position < 1 || static_cast<std::size_t>(position) > workbooks_.size())
        throw AutomationError("Workbooks: there is no workbook at position " + std::to_string(position) + " (" +
                              std::to_string(workbooks_.size()) + " open)");
    return workbooks_[static_cast<std::size_t>(position) - 1];
}

std::shared_ptr<Workbook> Application::workbookNamed(std::string_view name) const {
    const std::string wanted = foldCase(name);
    for (const auto& book : workbooks_)
        if (foldCase(book->name()) == wanted) return book;
    throw AutomationError("Workbooks: no open workbook is named \"" + framework::printable(name) + "\"");
}

TextMeasurer& Application::textMeasurer() {
    if (!measurer_) measurer_ = std::make_unique<TextMeasurer>();
    return *measurer_;
}

automation::CallJournal& Application::enableCallJournal() {
    if (!ownJournal_) ownJournal_ = std::make_unique<automation::CallJournal>();
    journal_ = ownJournal_.get();
    return *ownJournal_;
}

void Application::activate(Workbook& book) {
    if (!recent_.empty() && recent_.front() == &book) return;
    // Keep both alive while handlers run: they may release every other reference.
    auto self = selfAs<Application>();
    auto target = std::static_pointer_cast<Workbook>(book.shared_from_this());
    std::erase(recent_, &book);
    recent_.insert(recent_.begin(), &book);
    notifyObservers([&](ModelObserver& o) { o.workbookActivated(book); });
    std::array<Variant, 1> args{Variant(automation::DispatchPtr(target))};
    events_.raise(dispid::WorkbookActivate, args);
}

void Application::remove(Workbook& book) {
    auto self = selfAs<Application>();
    const bool wasActive = !recent_.empty() && recent_.front() == &book;
    std::erase(recent_, &book);
    auto keep = std::static_pointer_cast<Workbook>(book.shared_from_this());
    std::erase_if(workbooks_, [&](const std::shared_ptr<Workbook>& b) { return b.get() == &book; });
    book.detach();
    notifyObservers([&](ModelObserver& o) { o.workbookRemoved(book); });
    if (wasActive && !recent_.empty()) {
        auto next = std::static_pointer_cast<Workbook>(recent_.front()->shared_from_this());
        notifyObservers([&](ModelObserver& o) { o.workbookActivated(*next); });
        std::array<Variant, 1> args{Variant(automation::DispatchPtr(next))};
        events_.raise(dispid::WorkbookActivate, args);
    }
}

void Application::raiseSheetActivate(Sheet& sheet) {
    auto self = selfAs<Application>();
    std::array<Variant, 1> args{Variant(sheet.shared_from_this())};
    events_.raise(dispid::SheetActivate, args);
}

std::span<const ModelObject::Member> Application::members() const {
    static constexpr Member kMembers[] = {
        {"Visible", dispid::Visible},
        {"WindowState", dispid::WindowState},
        {"Workbooks", dispid::Workbooks},
        {"ActiveWorkbook", 0x134},
        {"ActiveSheet", dispid::ActiveSheet},
    };
    return kMembers;
}

Variant Application::invokeMember(const Call& call) {
    switch (call.id()) {
        case dispid::Visible:
            call.expectCount(0, 0);
            if (call.isPut()) {
                setVisible(call.valueBoolean());
                return {};
            }
            return Variant(visible_);
        case dispid::WindowState:
            call.expectCount(0, 0);
            if (call.isPut()) {
                const std::int32_t state = call.valueInt32();
                if (state != -4137 && state != -4140 && state != -4143)
                    call.fail(std::to_string(state) +
                              " is not a window state (-4137 maximized, -4140 minimized, -4143 normal)");
                setWindowState(state);
                return {};
            }
            return Variant(windowState_);
        case dispid::Workbooks:
            if (call.isPut()) call.wrongKind();
            if (call.count() == 1) {
                // Workbooks(i) in one call, as late-bound clients write it.
                const Variant& index = call.arg(0);
                if (index.type() == automation::VariantType::Text)
                    return Variant(automation::DispatchPtr(workbookNamed(call.text(0))));
                return Variant(automation::DispatchPtr(workbookAt(call.int32(0))));
            }
            call.expectCount(0, 0);
            return Variant(automation::DispatchPtr(std::make_shared<WorkbooksCollection>(selfAs<Application>())));
        case 0x134: {
            if (call.isPut()) call.wrongKind();
            call.expectCount(0, 0);
            auto book = activeWorkbook();
            return book ? Variant(automation::DispatchPtr(book)) : Variant::null();
        }
        case dispid::ActiveSheet: {
            if (call.isPut()) call.wrongKind();
            call.expectCount(0, 0);
            auto book = activeWorkbook();
            auto sheet = book ? book->activeSheet() : nullptr;
            return sheet ? Variant(automation::DispatchPtr(sheet)) : Variant::null();
        }
    }
    call.wrongKind();
}

std::span<const ModelObject::Member> WorkbooksCollection::members() const {
    static constexpr Member kMembers[] = {
        {"Item", dispid::Item},
        {"Add", dispid::Add},
        {"Count", dispid::Count},
    };
    return kMembers;
}

Variant WorkbooksCollection::invokeMember(const Call& call) {
    if (call.isPut()) call.wrongKind();
    switch (call.id()) {
        case dispid::Item: {
            call.expectCount(1, 1);
            if (call.arg(0).type() == automation::VariantType::Text)
                return Variant(automation::DispatchPtr(app_->workbookNamed(call.text(0))));
            return Variant(automation::DispatchPtr(app_->workbookAt(call.int32(0))));
        }
        case dispid::Add: {
            call.expectCount(0, 1);
            if (call.given(0)) {
                const Variant& templ = call.arg(0);
                if (!templ.isNumeric() || call.int32(0) != automation::xl::WBATWorksheet)
                    call.fail("only the worksheet template (-4167) can be used, not " + templ.describe());
            }
            return Variant(automation::DispatchPtr(app_->addWorkbook()));
        }
        case dispid::Count:
            call.expectCount(0, 0);
            return Variant(static_cast<std::int32_t>(app_->workbooks().size()));
    }
    call.wrongKind();
}

}  // namespace tabulix::spreadsheet
