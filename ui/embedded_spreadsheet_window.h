#pragma once
// The embedded spreadsheet with its window, for the Qt programs.

#include "automation/dispatch.h"

namespace tabulix::ui {

class SpreadsheetWindow;

// Installs the embedded spreadsheet as the automation layer's application provider; the Application
// it starts for the GUI thread gets a SpreadsheetWindow that follows its Visible and WindowState,
// those of other threads (reports made in the background) have none. Needs a QApplication.
void installEmbeddedSpreadsheetWithWindow(automation::Lcid displayLocale = automation::kLcidSpanishSpain);

// The window of the GUI thread's running embedded application, or nullptr when none is running.
// Call on the GUI thread.
SpreadsheetWindow* runningSpreadsheetWindow();

}  // namespace tabulix::ui
