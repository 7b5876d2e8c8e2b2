#pragma once
// What the Calc plug-in (libtabulix-calc.so, loaded at run time) offers the program that loads
// it: one table of entry points, found under the C name kCalcPluginEntry. The plug-in carries
// LibreOffice's UNO libraries and its own copy of the automation layer, so that nothing else of
// ours needs them; objects, errors and journals cross between the two as the automation layer's
// types, which is why the plug-in must come from the same build version as the program.

#include <memory>

#include "automation/application_provider.h"
#include "automation/call_journal.h"
#include "office/calc_options.h"

namespace tabulix::office {

struct CalcPlugin {
    // The build version the plug-in was made with (TABULIX_CALC_PLUGIN_VERSION).
    const char* version;
    // A provider that starts soffice for the connections that need the application.
    std::unique_ptr<automation::ApplicationProvider> (*makeProvider)(const CalcOptions& options);
    void (*deliverEvents)();
    void (*setJournal)(automation::CallJournal* journal);
    // Whether `application` is an Application object of the plug-in.
    bool (*isCalcApplication)(const automation::Dispatch* application);
    int (*processId)();
    void (*shutDown)();
    // Removes the temporary files of the saves in progress (its own copy of the framework keeps
    // their list): the program's signal handler must reach them too. Async-signal-safe.
    void (*removePendingFiles)() noexcept;
};

// The C name of the function `const CalcPlugin* ()` that the plug-in exports.
inline constexpr const char* kCalcPluginEntry = "tabulix_calc_plugin";

// The table of the Calc code linked into this program itself (the plug-in's own code; tests link
// it directly instead of loading it).
const CalcPlugin& LinkedCalcPlugin();

// Makes `plugin` the one the program's Calc functions use, instead of loading the plug-in.
void UseCalcPlugin(const CalcPlugin& plugin);

}  // namespace tabulix::office
