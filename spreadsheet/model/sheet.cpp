#include "spreadsheet/model/sheet.h"

#include "automation/dispids.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/workbook.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;
using automation::Variant;
namespace dispid = automation::dispid;

Workbook& Sheet::workbook() const {
    if (!book_) throw AutomationError(std::string(typeName()) + " \"" + name_ + "\": its workbook has been closed");
    return *book_;
}

Sheet::Sheet(Workbook& book, std::string name) : book_(&book), owner_(book.owner()), name_(std::move(name)) {}

Application* Sheet::application() const { return book_ ? book_->application() : nullptr; }

void Sheet::setName(std::string name) {
    Workbook& book = workbook();
    if (name == name_) return;
    book.checkSheetName(name, this);
    name_ = std::move(name);
    if (Application* app = book.application())
        app->notifyObservers([&](ModelObserver& o) { o.sheetsChanged(book); });
}

void Sheet::activate() { workbook().activateSheet(*this); }

Variant Sheet::invokeSheetMember(const Call& call) {
    switch (call.id()) {
        case dispid::Name:
            call.expectCount(0, 0);
            if (call.isPut()) {
                try {
                    setName(call.valueText());
                } catch (const AutomationError& e) {
                    call.fail(e.what(), e.scode());
                }
                return {};
            }
            return Variant(name_);
        case dispid::Activate:
            if (call.isPut()) call.wrongKind();
            call.expectCount(0, 0);
            activate();
            return {};
    }
    call.wrongKind();
}

}  // namespace tabulix::spreadsheet
