#pragma once
// The embedded spreadsheet with its window, for the Qt programs.

#include "automation/dispatch.h"

namespace tabulix::ui {

class SpreadsheetWindow;

// Installs the embedded spreadsheet as the automation layer's application provider; every Application
// it starts gets a SpreadsheetWindow that follows its Visible and WindowState. Needs a QApplication.
void installEmbeddedSpreadsheetWithWindow(automation::Lcid displayLocale = automation::kLcidSpanishSpain);

// The window of the running embedded application, or nullptr when none is running.
SpreadsheetWindow* runningSpreadsheetWindow();

}  // namespace tabulix::ui
