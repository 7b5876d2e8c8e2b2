#pragma once
// Which spreadsheet application a program drives: the embedded spreadsheet (the default) or
// LibreOffice Calc, chosen by --application or by the TABULIX_APPLICATION environment variable.

#include <string>

#include "automation/call_journal.h"

namespace tabulix::cli {

enum class ApplicationKind { Embedded, Calc };

// `requested` ("embedded", "calc", or empty for $TABULIX_APPLICATION, else embedded). Raises
// UsageError for another name.
ApplicationKind ChooseApplication(const std::string& requested);

// Installs the provider of that application. Raises AutomationError, saying how to get it, when
// Calc's plug-in is missing.
void InstallApplication(ApplicationKind kind);

// Records every automation call on the application's objects into `journal` (nullptr stops).
void SetApplicationJournal(ApplicationKind kind, automation::CallJournal* journal);

// Ends what the program started for the run (LibreOffice's process); the embedded spreadsheet
// needs nothing.
void ShutDownApplication(ApplicationKind kind);

// Shuts the application down when it goes out of scope, whichever way the run ends.
class ApplicationShutdown {
public:
    explicit ApplicationShutdown(ApplicationKind kind) : kind_(kind) {}
    ~ApplicationShutdown() { ShutDownApplication(kind_); }
    ApplicationShutdown(const ApplicationShutdown&) = delete;
    ApplicationShutdown& operator=(const ApplicationShutdown&) = delete;

private:
    ApplicationKind kind_;
};

}  // namespace tabulix::cli
