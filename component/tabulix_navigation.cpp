#include "automation/automation_error.h"
#include "automation/dispids.h"
#include "component/tabulix.h"
#include "framework/text_compare.h"

namespace tabulix::component {

using automation::DispatchPtr;
using automation::Variant;
namespace dispid = automation::dispid;

namespace {

std::string upper(std::string text) {
    for (char& c : text) c = framework::upperAscii(c);
    return text;
}

// The name of a sheet: through its worksheet interface, else as a chart sheet; a sheet that is
// neither fails with the interface error.
std::string sheetName(const DispatchPtr& sheet) {
    if (sheet->typeName() != "Worksheet" && sheet->typeName() != "Chart")
        throw automation::AutomationError("Interface not supported: a " + std::string(sheet->typeName()) +
                                              " is neither a worksheet nor a chart sheet",
                                          automation::AutomationError::kNoInterface);
    return sheet->get(dispid::Name).toText();
}

DispatchPtr item(const DispatchPtr& collection, std::int32_t position) {
    return collection->get(dispid::Item, {Variant(position)}).toObject();
}

// Counts the application connection's handlers while they run, so that Activar knows whether
// it may free the connection whose event is being delivered.
class HandlerScope {
public:
    explicit HandlerScope(int& running) : running_(running) { ++running_; }
    ~HandlerScope() { --running_; }

private:
    int& running_;
};

}  // namespace

std::unique_ptr<framework::TStringList> TTabulix::Libros() {
    requireOwnThread("Libros");
    auto names = std::make_unique<framework::TStringList>();
    if (!application_) return names;
    DispatchPtr app = application_->Object();
    const std::int32_t count = app->get(dispid::Workbooks).toObject()->get(dispid::Count).toInt32();
    for (std::int32_t i = 1; i <= count; ++i) {
        DispatchPtr workbooks = app->get(dispid::Workbooks).toObject();
        names->Add(item(workbooks, i)->get(dispid::Name).toText());
    }
    return names;
}

std::unique_ptr<framework::TStringList> TTabulix::Hojas() {
    requireOwnThread("Hojas");
    auto names = std::make_unique<framework::TStringList>();
    if (!workbook_) return names;
    DispatchPtr book = workbook_->Object();
    const std::int32_t count = book->get(dispid::Sheets).toObject()->get(dispid::Count).toInt32();
    for (std::int32_t i = 1; i <= count; ++i) names->Add(sheetName(item(book->get(dispid::Sheets).toObject(), i)));
    return names;
}

void TTabulix::ActivarLibro(const std::string& name) {
    requireOwnThread("ActivarLibro");
    if (!application_) return;
    const std::string wanted = upper(name);
    DispatchPtr app = application_->Object();
    DispatchPtr found;
    for (std::int32_t i = 1; i <= app->get(dispid::Workbooks).toObject()->get(dispid::Count).toInt32(); ++i) {
        DispatchPtr book = item(app->get(dispid::Workbooks).toObject(), i);
        if (upper(book->get(dispid::Name).toText()) == wanted) {
            found = book;
            break;
        }
    }
    if (!found) return;

    // The connections replaced here stay owned by the component until it is destroyed: an
    // outer call (this one, entered again from the workbook-activated event) may still be
    // using them, and an earlier workbook's connection must still hear that workbook close.
    auto* workbook = new automation::WorkbookConnection(this);
    workbook_ = workbook;
    workbook->OnBeforeClose = [this](automation::Connection& sender, Variant& cancel) {
        DesconectarLibro(sender, cancel);
    };
    workbook->ConnectTo(found);
    found->call(dispid::Activate);

    auto* worksheet = new automation::WorksheetConnection(this);
    auto* chart = new automation::ChartConnection(this);
    worksheet_ = worksheet;
    chart_ = chart;
    DispatchPtr active = found->get(dispid::ActiveSheet).toObject();
    if (active->typeName() == "Worksheet") {
        worksheet->ConnectTo(active);
        active->call(dispid::Activate);
    } else {
        chart->ConnectTo(active);
        active->call(dispid::Activate);
    }
}

void TTabulix::ActivarHoja(const std::string& name) {
    requireOwnThread("ActivarHoja");
    if (!workbook_) return;
    const std::string wanted = upper(name);
    DispatchPtr book = workbook_->Object();
    DispatchPtr found;
    for (std::int32_t i = 1; i <= book->get(dispid::Sheets).toObject()->get(dispid::Count).toInt32(); ++i) {
        DispatchPtr sheet = item(book->get(dispid::Sheets).toObject(), i);
        if (upper(sheetName(sheet)) == wanted) {
            found = sheet;
            break;
        }
    }
    if (!found) return;
    if (found->typeName() == "Worksheet") {
        if (!worksheet_) worksheet_ = new automation::WorksheetConnection(this);
        worksheet_->ConnectTo(found);
    } else {
        if (!chart_) chart_ = new automation::ChartConnection(this);
        chart_->ConnectTo(found);
    }
    found->call(dispid::Activate);
}

void TTabulix::OnHojaActivada(automation::Connection& /*sender*/, Variant& sheet) {
    if (construyendoGrafico_) return;
    HandlerScope scope(applicationHandlersRunning_);
    ActivarHoja(sheet.toObject()->get("Name").toText());
}

void TTabulix::OnFullaActivada(automation::Connection& /*sender*/, Variant& workbook) {
    if (construyendoGrafico_) return;
    HandlerScope scope(applicationHandlersRunning_);
    ActivarLibro(workbook.toObject()->get("Name").toText());
}

}  // namespace tabulix::component
