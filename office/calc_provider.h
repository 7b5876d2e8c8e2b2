#pragma once
// LibreOffice Calc as the spreadsheet application. Installing this provider makes the automation
// layer start a private `soffice` (its own user profile in a temporary folder) and present
// Calc's documents through the usual object model: Application, Workbooks, Workbook, Sheets,
// Worksheet, chart sheets, Range, Font, Interior, Borders. The suite's events (a sheet or a
// workbook activated, a workbook about to close) reach the connections on the caller's thread.
// Values put into cells are written together before the next call of any other kind (a
// transfer's cells go over in blocks of rows, not a round trip each).
//
// The Calc code is a plug-in, libtabulix-calc.so, loaded when the provider is installed: the
// program itself needs none of LibreOffice's libraries. It is looked for at $TABULIX_CALC_PLUGIN,
// then beside the program (and in a build tree), then in the installed lib/tabulix/ folder.
//
// One soffice serves the process: each thread that connects gets an application of its own over
// it, their calls take turns, and the events of a workbook reach the connections on the thread
// that added it.
//
// The soffice process is ended when the application is shut down and when the program exits
// (the suite is asked to quit and waited for; terminated, then killed, only after bounded
// waits), and by the kernel when the program dies (it is started with a parent-death signal).

#include "automation/call_journal.h"
#include "office/calc_options.h"

namespace tabulix::office {

// Loads the plug-in and installs the provider: the next connection that needs the application
// starts soffice. Raises AutomationError when the plug-in is missing (saying how to get it),
// cannot be loaded or comes from another build.
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
