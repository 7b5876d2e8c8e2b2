#pragma once
/// @file
/// How a connection finds the spreadsheet application: attach to the running one or start it.
/// The running application is process-wide, like the single instance a desktop user sees: it
/// stays alive when every connection to it is gone, until it is shut down or the process ends.

#include <memory>

#include "automation/dispatch.h"
#include "framework/export.h"

namespace tabulix::automation {

/// @brief Starts the spreadsheet application that connections attach to.
/// @threads Installed at start-up; startApplication is called from the thread that connects.
class TABULIX_API ApplicationProvider {
public:
    /// Frees the provider.
    virtual ~ApplicationProvider() = default;
    /// Starts a new instance of the application and returns its Application object.
    virtual DispatchPtr startApplication() = 0;
};

/// Installs the provider used to start the application, replacing any earlier one. Programs
/// install one at start-up (spreadsheet::installEmbeddedSpreadsheet).
/// @param provider the provider, now owned by the process.
TABULIX_API void setApplicationProvider(std::unique_ptr<ApplicationProvider> provider);
/// Whether a provider is installed.
TABULIX_API bool hasApplicationProvider();

/// The running application, started through the provider when none is running. Raises
/// AutomationError when no provider is installed or the start fails.
TABULIX_API DispatchPtr attachOrStartApplication();

/// The running application, or nullptr.
TABULIX_API DispatchPtr runningApplication();

/// Forgets the running application (the process-wide reference); tests use it to start afresh.
TABULIX_API void shutDownRunningApplication();

}  // namespace tabulix::automation
