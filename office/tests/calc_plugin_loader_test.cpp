// Loading the Calc plug-in: what a program without it, or with the wrong file, is told; and the
// built plug-in found from a program in the build tree.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

#include "automation/application_provider.h"
#include "automation/automation_error.h"
#include "framework/pending_files.h"
#include "office/calc_plugin_loader.h"
#include "office/calc_provider.h"

namespace tabulix::office {
namespace {

std::string errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const automation::AutomationError& e) {
        return e.what();
    }
    return "";
}

class PluginAt {
public:
    explicit PluginAt(const std::string& path) { setenv("TABULIX_CALC_PLUGIN", path.c_str(), 1); }
    ~PluginAt() { unsetenv("TABULIX_CALC_PLUGIN"); }
};

TEST(CalcPluginLoader, WithoutThePluginTheProgramSaysHowToGetIt) {
    const PluginAt missing("/nonexistent/libtabulix-calc.so");
    const std::string error = errorOf([] { InstallCalcProvider(CalcOptions()); });
    EXPECT_NE(error.find("LibreOffice Calc support is not installed: libtabulix-calc.so was not found at "
                         "/nonexistent/libtabulix-calc.so (TABULIX_CALC_PLUGIN)"),
              std::string::npos)
        << error;
    EXPECT_NE(error.find("install the Debian package tabulix-calc"), std::string::npos) << error;
    // Nothing is installed and nothing runs.
    EXPECT_FALSE(CalcIsRunning());
    EXPECT_EQ(CalcProcessId(), 0);
    ShutDownCalc();
}

TEST(CalcPluginLoader, AFileThatIsNotThePluginIsRefused) {
    const PluginAt other(TABULIX_NOT_A_CALC_PLUGIN);
    EXPECT_EQ(errorOf([] { LoadCalcPlugin(); }),
              std::string(TABULIX_NOT_A_CALC_PLUGIN) + " is not the Calc plug-in: it has no tabulix_calc_plugin entry");
    const PluginAt program("/proc/self/exe");  // a program, which dlopen refuses
    EXPECT_NE(errorOf([] { LoadCalcPlugin(); }).find("LibreOffice Calc support could not be loaded from /proc/self/exe: "),
              std::string::npos);
}

TEST(CalcPluginLoader, APluginOfAnotherVersionIsRefused) {
    const PluginAt fake(TABULIX_FAKE_CALC_PLUGIN);
    const std::string error = errorOf([] { LoadCalcPlugin(); });
    EXPECT_NE(error.find("comes from Tabulix 0.9.9-other, this program from "), std::string::npos) << error;
    EXPECT_NE(error.find("install the plug-in of the same version"), std::string::npos) << error;
}

#ifdef TABULIX_BUILT_CALC_PLUGIN
TEST(CalcPluginLoader, TheBuiltPluginIsFoundBesideTheProgram) {
    const auto candidates = CalcPluginCandidates();
    EXPECT_NE(std::find(candidates.begin(), candidates.end(), std::filesystem::path(TABULIX_BUILT_CALC_PLUGIN)),
              candidates.end());
    const CalcPlugin& plugin = LoadCalcPlugin();
    EXPECT_EQ(&plugin, &LoadCalcPlugin()) << "loaded once";
    EXPECT_NE(plugin.makeProvider, nullptr);
    // Its saves list their temporary files in its own copy of the list, which the program's
    // signal handler reaches through the remover the loader hands on.
    EXPECT_NE(plugin.removePendingFiles, nullptr);
    EXPECT_NE(plugin.removePendingFiles, &framework::RemovePendingFiles);
}

// The plug-in carries its own copy of the automation layer: what it raises must still be the
// program's AutomationError (same type, message and code), and a failed start must leave the
// program's own running application alone.
TEST(CalcPluginLoader, TheLoadedPluginsErrorsAreTheProgramsAutomationErrors) {
    CalcOptions options;
    options.soffice = "/nonexistent/soffice";
    const std::unique_ptr<automation::ApplicationProvider> provider = LoadCalcPlugin().makeProvider(options);
    try {
        provider->startApplication();
        ADD_FAILURE() << "started without soffice";
    } catch (const automation::AutomationError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/soffice"), std::string::npos) << e.what();
        EXPECT_EQ(e.scode(), automation::AutomationError::kGenericFailure);
    }
    EXPECT_THROW(provider->startApplication(), std::runtime_error);
    EXPECT_FALSE(CalcIsRunning());
    EXPECT_EQ(CalcProcessId(), 0);
}
#endif

}  // namespace
}  // namespace tabulix::office
