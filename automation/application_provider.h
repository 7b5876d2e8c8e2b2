#pragma once
/// @file
/// How a connection finds the spreadsheet application: attach to the calling thread's running
/// application or start it.
///
/// Thread rule: each thread that connects gets an application of its own. The provider is
/// process-wide (install it at start-up; installing another later is safe, and threads keep the
/// applications they have); the running application is per thread: attachOrStartApplication()
/// and runningApplication() answer for the calling thread. The application, and every object
/// reached through it, belongs to that thread (thread_owner.h). It stays alive when every
/// connection to it is gone, until the thread shuts it down or ends.

#include <memory>

#include "automation/dispatch.h"
#include "framework/export.h"

namespace tabulix::automation {

/// @brief Starts the spreadsheet application that connections attach to.
/// @threads Process-wide, installed at start-up; startApplication runs on each thread that
/// connects, on several at once.
class TABULIX_API ApplicationProvider {
public:
    /// Frees the provider.
    virtual ~ApplicationProvider() = default;
    /// Starts a new instance of the application for the calling thread and returns its
    /// Application object. Called from several threads at once; what the instances share behind
    /// the scenes (one office process, say) the provider guards itself.
    virtual DispatchPtr startApplication() = 0;
};

/// Installs the provider used to start applications, replacing any earlier one. Programs install
/// one at start-up (spreadsheet::installEmbeddedSpreadsheet); threads keep the applications
/// they have.
/// @param provider the provider, now owned by the process.
TABULIX_API void setApplicationProvider(std::unique_ptr<ApplicationProvider> provider);
/// Whether a provider is installed.
TABULIX_API bool hasApplicationProvider();

/// The calling thread's running application, started through the provider when it has none.
/// Raises AutomationError when no provider is installed or the start fails.
TABULIX_API DispatchPtr attachOrStartApplication();

/// The calling thread's running application, or nullptr.
TABULIX_API DispatchPtr runningApplication();

/// Forgets the calling thread's running application; the next attach starts a new one.
TABULIX_API void shutDownRunningApplication();

}  // namespace tabulix::automation
