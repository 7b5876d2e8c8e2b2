#pragma once
// The embedded spreadsheet as the process's spreadsheet application: installing it as the
// automation layer's provider, and reaching the C++ object behind an automation pointer.

#include <memory>

#include "automation/dispatch.h"

namespace tabulix::spreadsheet {

class Application;

// A new embedded Application that saves workbooks as .xlsx files (not the running one).
std::shared_ptr<Application> createEmbeddedApplication(automation::Lcid displayLocale = automation::kLcidSpanishSpain);

// Installs an ApplicationProvider that starts an in-process Application (displaying numbers
// with the conventions of displayLocale). Programs call it once at start-up.
void installEmbeddedSpreadsheet(automation::Lcid displayLocale = automation::kLcidSpanishSpain);

// The embedded Application behind an automation pointer (the one attachOrStartApplication
// returns), or nullptr when the pointer is not one.
std::shared_ptr<Application> embeddedApplication(const automation::DispatchPtr& object);

// The running embedded Application, started when none is running.
std::shared_ptr<Application> runningEmbeddedApplication();

}  // namespace tabulix::spreadsheet
