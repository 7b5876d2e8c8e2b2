#include "cli/application_choice.h"

#include <cstdlib>

#include "cli/command_line.h"
#include "spreadsheet/embedded_spreadsheet.h"
#include "spreadsheet/model/application.h"
#if TABULIX_WITH_OFFICE
#include "office/calc_provider.h"
#endif

namespace tabulix::cli {

ApplicationKind ChooseApplication(const std::string& requested) {
    std::string name = requested;
    if (name.empty()) {
        const char* variable = std::getenv("TABULIX_APPLICATION");
        name = variable ? variable : "";
    }
    if (name.empty() || name == "embedded") return ApplicationKind::Embedded;
    if (name != "calc")
        throw UsageError("the spreadsheet application is embedded or calc, not \"" + name + "\"" +
                         (requested.empty() ? " (from TABULIX_APPLICATION)" : ""));
#if TABULIX_WITH_OFFICE
    return ApplicationKind::Calc;
#else
    throw UsageError("this tabulix was built without LibreOffice support (Debian package libreoffice-dev)");
#endif
}

void InstallApplication(ApplicationKind kind) {
#if TABULIX_WITH_OFFICE
    if (kind == ApplicationKind::Calc) {
        office::InstallCalcProvider(office::CalcOptionsFromEnvironment());
        return;
    }
#endif
    (void)kind;
    spreadsheet::installEmbeddedSpreadsheet();
}

void SetApplicationJournal(ApplicationKind kind, automation::CallJournal* journal) {
#if TABULIX_WITH_OFFICE
    if (kind == ApplicationKind::Calc) {
        office::SetCalcCallJournal(journal);
        return;
    }
#endif
    (void)kind;
    spreadsheet::runningEmbeddedApplication()->setCallJournal(journal);
}

void ShutDownApplication(ApplicationKind kind) {
#if TABULIX_WITH_OFFICE
    if (kind == ApplicationKind::Calc) office::ShutDownCalc();
#endif
    (void)kind;
}

}  // namespace tabulix::cli
