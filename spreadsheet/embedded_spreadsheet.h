#pragma once
/// @file
/// The embedded spreadsheet as the process's spreadsheet application: installing it as the
/// automation layer's provider, and reaching the C++ object behind an automation pointer.

#include <memory>

#include "automation/dispatch.h"
#include "framework/export.h"

namespace tabulix::spreadsheet {

class Application;

/// A new embedded Application of its own (not the running one), which saves workbooks as .xlsx
/// files. Like every application it belongs to the thread that uses it first.
/// @param displayLocale the locale whose conventions its cells display numbers with.
TABULIX_API std::shared_ptr<Application> createEmbeddedApplication(automation::Lcid displayLocale = automation::kLcidSpanishSpain);

/// Installs an ApplicationProvider that starts an in-process Application (displaying numbers
/// with the conventions of displayLocale). Programs call it once at start-up.
TABULIX_API void installEmbeddedSpreadsheet(automation::Lcid displayLocale = automation::kLcidSpanishSpain);

/// The embedded Application behind an automation pointer (the one attachOrStartApplication
/// returns), or nullptr when the pointer is not one.
TABULIX_API std::shared_ptr<Application> embeddedApplication(const automation::DispatchPtr& object);

/// The running embedded Application, started when none is running.
TABULIX_API std::shared_ptr<Application> runningEmbeddedApplication();

}  // namespace tabulix::spreadsheet
