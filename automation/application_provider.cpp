#include "automation/application_provider.h"

#include "automation/automation_error.h"

namespace tabulix::automation {

namespace {

// The process-wide state of the automation layer: who starts the application, and the one
// that is running (what the running object table holds on a desktop).
struct Registry {
    std::unique_ptr<ApplicationProvider> provider;
    DispatchPtr running;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

}  // namespace

void setApplicationProvider(std::unique_ptr<ApplicationProvider> provider) {
    registry().provider = std::move(provider);
}

bool hasApplicationProvider() { return registry().provider != nullptr; }

DispatchPtr attachOrStartApplication() {
    Registry& r = registry();
    if (r.running) return r.running;
    if (!r.provider) throw AutomationError("No spreadsheet application is available: no provider is installed");
    DispatchPtr started = r.provider->startApplication();
    if (!started) throw AutomationError("The spreadsheet application could not be started");
    r.running = std::move(started);
    return r.running;
}

DispatchPtr runningApplication() { return registry().running; }

void shutDownRunningApplication() { registry().running.reset(); }

}  // namespace tabulix::automation
