#pragma once
// Finding and loading the Calc plug-in, libtabulix-calc.so.

#include <filesystem>
#include <vector>

#include "office/calc_plugin.h"

namespace tabulix::office {

inline constexpr const char* kCalcPluginFile = "libtabulix-calc.so";

// Where the plug-in is looked for, in order: $TABULIX_CALC_PLUGIN when set (then only there);
// else beside the file that holds this code (the program or a shared library: the same folder,
// a build tree's office/, tabulix/, ../lib/tabulix/, ../LIBDIR/tabulix/), then the configured
// installation's LIBDIR/tabulix/.
std::vector<std::filesystem::path> CalcPluginCandidates();

// The plug-in's table, loaded once per process and kept loaded (its threads and the UNO runtime
// live as long as the process). Raises AutomationError naming where it looked when the plug-in is
// missing, what failed when it cannot be loaded, and both versions when it comes from another
// build.
const CalcPlugin& LoadCalcPlugin();

}  // namespace tabulix::office
