#include "automation/application_provider.h"

#include <mutex>
#include <utility>

#include "automation/automation_error.h"

namespace tabulix::automation {

namespace {

// Who starts applications: process-wide, so guarded. A start holds its own reference, so a
// provider replaced meanwhile lives until the start returns.
struct Installed {
    std::mutex lock;
    std::shared_ptr<ApplicationProvider> provider;
};

Installed& installed() {
    static Installed instance;
    return instance;
}

std::shared_ptr<ApplicationProvider> currentProvider() {
    Installed& i = installed();
    const std::lock_guard<std::mutex> hold(i.lock);
    return i.provider;
}

// The calling thread's application (what the running object table holds on a desktop, one per
// apartment); it goes with its thread.
thread_local DispatchPtr running;

}  // namespace

void setApplicationProvider(std::unique_ptr<ApplicationProvider> provider) {
    std::shared_ptr<ApplicationProvider> replaced;  // freed after the lock is let go
    Installed& i = installed();
    const std::lock_guard<std::mutex> hold(i.lock);
    replaced = std::exchange(i.provider, std::move(provider));
}

bool hasApplicationProvider() { return currentProvider() != nullptr; }

DispatchPtr attachOrStartApplication() {
    if (running) return running;
    const std::shared_ptr<ApplicationProvider> provider = currentProvider();
    if (!provider) throw AutomationError("No spreadsheet application is available: no provider is installed");
    DispatchPtr started = provider->startApplication();
    if (!started) throw AutomationError("The spreadsheet application could not be started");
    running = std::move(started);
    return running;
}

DispatchPtr runningApplication() { return running; }

void shutDownRunningApplication() { running.reset(); }

}  // namespace tabulix::automation
