#pragma once
// The program's error report: an error that leaves an event handler (from the component, the
// spreadsheet or a conversion) is shown in a message box with the error's text, the rest of the
// handler is skipped and the window stays usable. Qt must not see exceptions leave a slot, so
// every handler runs through RunReported.

#include <exception>
#include <functional>
#include <string>

namespace tabulix::demo {

// Shows `message` in an error box through the current UI services.
void ReportError(const std::string& message);

// Runs `handler`; an exception it throws is reported and goes no further.
void RunReported(const std::function<void()>& handler);

}  // namespace tabulix::demo
