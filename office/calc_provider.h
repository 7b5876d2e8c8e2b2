#pragma once
// LibreOffice Calc as the spreadsheet application. Installing this provider makes the automation
// layer start a private `soffice` (its own user profile in a temporary folder) and present
// Calc's documents through the usual object model: Application, Workbooks, Workbook, Sheets,
// Worksheet, chart sheets, Range, Font, Interior, Borders. The suite's events (a sheet or a
// workbook activated, a workbook about to close) reach the connections on the caller's thread.
// While Calc is not shown, values put into single cells are written together before the next
// call of any other kind (a transfer's cells go over in blocks of rows, not a round trip each).
//
// The soffice process is ended when the application is shut down, when the program exits, and
// by the kernel when the program dies (it is started with a parent-death signal).

#include <chrono>
#include <filesystem>
#include <string>

#include "automation/call_journal.h"

namespace tabulix::office {

struct CalcOptions {
    // The suite's `soffice`; empty means $TABULIX_SOFFICE, else `soffice` on the PATH.
    std::filesystem::path soffice;
    // How long the suite may take to accept the connection.
    std::chrono::milliseconds startTimeout{90000};
    // Show the suite's window (needs a display); headless otherwise.
    bool visible = false;
};

// The options from the environment: TABULIX_SOFFICE, TABULIX_CALC_VISIBLE=1.
CalcOptions CalcOptionsFromEnvironment();

// The soffice that would be started, or empty when there is none.
std::filesystem::path FindSoffice(const CalcOptions& options);

// Why Calc cannot be started here (no soffice found), or empty when it can be tried.
std::string CalcUnavailableReason(const CalcOptions& options);

// Installs the provider: the next connection that needs the application starts soffice.
void InstallCalcProvider(CalcOptions options);

// Hands the events the suite raised since the last automation call (a user's clicks, calls made
// on the suite directly) to the connections, on this thread. Automation calls do it themselves.
void DeliverCalcEvents();

// Records every automation call on Calc's objects into `journal` (nullptr stops recording).
void SetCalcCallJournal(automation::CallJournal* journal);

// Whether the running application is Calc.
bool CalcIsRunning();

// The process id of the running soffice, 0 when none.
int CalcProcessId();

// Forgets the running application and ends its soffice, closing its documents unsaved.
void ShutDownCalc();

}  // namespace tabulix::office
