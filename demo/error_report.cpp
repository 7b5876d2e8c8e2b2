#include "demo/error_report.h"

#include "framework/ui_services.h"
#include "ui/spanish_message.h"

namespace tabulix::demo {

void ReportError(const std::string& message) {
    framework::CurrentUi().MessageDlg(message, "PDemoTabulix", framework::TMsgDlgType::mtError, framework::mbOKOnly);
}

void RunReported(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        ReportError(ui::SpanishMessage(e));
    } catch (...) {
        ReportError("Error desconocido");
    }
}

}  // namespace tabulix::demo
