#pragma once
/// @file
/// The embedded spreadsheet as the process's spreadsheet application: installing it as the
/// automation layer's provider, and reaching the C++ object behind an automation pointer.
///
/// Thread rule: each thread that connects gets an Application of its own, with its own workbooks,
/// texts, styles and font metrics, so reports on different threads share nothing and never wait
/// for each other. An Application and everything reached through it belongs to the thread that
/// started it (spreadsheet/model/model_object.h); the program's window shows the GUI thread's.

#include <memory>

#include "automation/dispatch.h"
#include "framework/export.h"

namespace tabulix::spreadsheet {

class Application;

/// A new embedded Application of its own (not the running one), which saves workbooks as .xlsx
/// files. It belongs to the calling thread.
/// @param displayLocale the locale whose conventions its cells display numbers with.
TABULIX_API std::shared_ptr<Application> createEmbeddedApplication(automation::Lcid displayLocale = automation::kLcidSpanishSpain);

/// Installs an ApplicationProvider that starts an in-process Application for each thread that
/// connects (displaying numbers with the conventions of displayLocale). Programs call it once at
/// start-up.
TABULIX_API void installEmbeddedSpreadsheet(automation::Lcid displayLocale = automation::kLcidSpanishSpain);

/// The embedded Application behind an automation pointer (the one attachOrStartApplication
/// returns), or nullptr when the pointer is not one.
TABULIX_API std::shared_ptr<Application> embeddedApplication(const automation::DispatchPtr& object);

/// The calling thread's running embedded Application, started when it has none.
TABULIX_API std::shared_ptr<Application> runningEmbeddedApplication();

}  // namespace tabulix::spreadsheet
