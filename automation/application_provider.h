#pragma once
/// @file
/// How a connection finds the spreadsheet application: attach to the running one or start it.
/// The running application is process-wide, like the single instance a desktop user sees: it
/// stays alive when every connection to it is gone, until it is shut down or the process ends.

#include <memory>

#include "automation/dispatch.h"
#include "framework/export.h"

namespace tabulix::automation {

class TABULIX_API ApplicationProvider {
public:
    virtual ~ApplicationProvider() = default;
    /// Starts a new instance of the application and returns its Application object.
    virtual DispatchPtr startApplication() = 0;
};

/// Installs the provider used to start the application (replacing any earlier one). Programs
/// install the embedded spreadsheet's provider at start-up.
TABULIX_API void setApplicationProvider(std::unique_ptr<ApplicationProvider> provider);
TABULIX_API bool hasApplicationProvider();

/// The running application, started through the provider when none is running. Raises
/// AutomationError when no provider is installed or the start fails.
TABULIX_API DispatchPtr attachOrStartApplication();

/// The running application, or nullptr.
TABULIX_API DispatchPtr runningApplication();

/// Forgets the running application (the process-wide reference); tests use it to start afresh.
TABULIX_API void shutDownRunningApplication();

}  // namespace tabulix::automation
