#include "cli/application_choice.h"

#include <cstdlib>

#include "cli/command_line.h"
#include "office/calc_provider.h"
#include "spreadsheet/embedded_spreadsheet.h"
#include "spreadsheet/model/application.h"

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
    return ApplicationKind::Calc;
}

void InstallApplication(ApplicationKind kind) {
    if (kind == ApplicationKind::Calc) {
        office::InstallCalcProvider(office::CalcOptionsFromEnvironment());
        return;
    }
    spreadsheet::installEmbeddedSpreadsheet();
}

void SetApplicationJournal(ApplicationKind kind, automation::CallJournal* journal) {
    if (kind == ApplicationKind::Calc) {
        office::SetCalcCallJournal(journal);
        return;
    }
    spreadsheet::runningEmbeddedApplication()->setCallJournal(journal);
}

void ShutDownApplication(ApplicationKind kind) {
    if (kind == ApplicationKind::Calc) office::ShutDownCalc();
}

}  // namespace tabulix::cli
