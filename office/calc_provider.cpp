#include "office/calc_provider.h"

#include <mutex>

#include "automation/application_provider.h"
#include "office/calc_plugin.h"
#include "office/calc_plugin_loader.h"

namespace tabulix::office {

namespace {

// The plug-in in use (none until a provider is installed) and the journal set before it was.
struct PluginState {
    std::mutex lock;
    const CalcPlugin* plugin = nullptr;
    automation::CallJournal* journal = nullptr;
};

PluginState& state() {
    static PluginState instance;
    return instance;
}

const CalcPlugin* plugin() {
    PluginState& s = state();
    const std::lock_guard<std::mutex> guard(s.lock);
    return s.plugin;
}

void use(const CalcPlugin& plugin) {
    PluginState& s = state();
    const std::lock_guard<std::mutex> guard(s.lock);
    s.plugin = &plugin;
    plugin.setJournal(s.journal);
}

}  // namespace

void UseCalcPlugin(const CalcPlugin& plugin) { use(plugin); }

void InstallCalcProvider(CalcOptions options) {
    if (!plugin()) use(LoadCalcPlugin());
    automation::setApplicationProvider(plugin()->makeProvider(options));
}

void DeliverCalcEvents() {
    if (const CalcPlugin* p = plugin()) p->deliverEvents();
}

void SetCalcCallJournal(automation::CallJournal* journal) {
    PluginState& s = state();
    const std::lock_guard<std::mutex> guard(s.lock);
    s.journal = journal;
    if (s.plugin) s.plugin->setJournal(journal);
}

bool CalcIsRunning() {
    const CalcPlugin* p = plugin();
    return p && p->isCalcApplication(automation::runningApplication().get());
}

int CalcProcessId() {
    const CalcPlugin* p = plugin();
    return p ? p->processId() : 0;
}

void ShutDownCalc() {
    const CalcPlugin* p = plugin();
    if (!p) return;
    if (p->isCalcApplication(automation::runningApplication().get())) automation::shutDownRunningApplication();
    p->shutDown();
}

}  // namespace tabulix::office
