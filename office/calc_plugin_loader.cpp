#include "office/calc_plugin_loader.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <string>

#include "automation/automation_error.h"
#include "framework/pending_files.h"

namespace tabulix::office {

namespace fs = std::filesystem;
using automation::AutomationError;

namespace {

// The folders of the files that hold this code: the shared library it is linked into, if any,
// and the program.
std::vector<fs::path> ownFolders() {
    std::vector<fs::path> folders;
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ownFolders), &info) != 0 && info.dli_fname && info.dli_fname[0] == '/')
        folders.push_back(fs::path(info.dli_fname).parent_path());
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error && (folders.empty() || folders.front() != program.parent_path()))
        folders.push_back(program.parent_path());
    return folders;
}

std::string listed(const std::vector<fs::path>& paths) {
    std::string text;
    for (const fs::path& path : paths) text += (text.empty() ? "" : ", ") + path.string();
    return text;
}

}  // namespace

std::vector<fs::path> CalcPluginCandidates() {
    if (const char* given = std::getenv("TABULIX_CALC_PLUGIN"); given && *given) return {fs::path(given)};
    std::vector<fs::path> candidates;
    for (const fs::path& folder : ownFolders()) {
        for (const fs::path& relative : {fs::path("."), fs::path("../office"), fs::path("tabulix"),
                                         fs::path("../lib/tabulix"), fs::path("..") / TABULIX_INSTALL_LIBDIR / "tabulix"})
            candidates.push_back((folder / relative / kCalcPluginFile).lexically_normal());
    }
    candidates.push_back(fs::path(TABULIX_INSTALL_FULL_LIBDIR) / "tabulix" / kCalcPluginFile);
    std::vector<fs::path> unique;
    for (const fs::path& candidate : candidates)
        if (std::find(unique.begin(), unique.end(), candidate) == unique.end()) unique.push_back(candidate);
    return unique;
}

const CalcPlugin& LoadCalcPlugin() {
    static std::mutex lock;
    static const CalcPlugin* loaded = nullptr;
    const std::lock_guard<std::mutex> guard(lock);
    if (loaded) return *loaded;

    const std::vector<fs::path> candidates = CalcPluginCandidates();
    fs::path found;
    for (const fs::path& candidate : candidates) {
        std::error_code error;
        if (fs::is_regular_file(candidate, error)) {
            found = candidate;
            break;
        }
    }
    if (found.empty()) {
        const bool given = std::getenv("TABULIX_CALC_PLUGIN") && *std::getenv("TABULIX_CALC_PLUGIN");
        throw AutomationError(std::string("LibreOffice Calc support is not installed: ") + kCalcPluginFile +
                              " was not found " +
                              (given ? "at " + listed(candidates) + " (TABULIX_CALC_PLUGIN)"
                                     : "(looked in " + listed(candidates) + ")") +
                              "; install the Debian package tabulix-calc, or set TABULIX_CALC_PLUGIN to the "
                              "plug-in's path");
    }
    // Never closed: the UNO runtime it loads keeps threads and static state until the process ends.
    void* library = dlopen(found.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library)
        throw AutomationError("LibreOffice Calc support could not be loaded from " + found.string() + ": " +
                              dlerror() +
                              " (it needs LibreOffice's UNO libraries: Debian package libreoffice-calc-nogui or "
                              "libreoffice-calc)");
    const auto entry = reinterpret_cast<const CalcPlugin* (*)()>(dlsym(library, kCalcPluginEntry));
    if (!entry) {
        throw AutomationError(found.string() + " is not the Calc plug-in: it has no " + kCalcPluginEntry + " entry");
    }
    const CalcPlugin* plugin = entry();
    if (!plugin || std::string(plugin->version) != TABULIX_CALC_PLUGIN_VERSION) {
        const std::string version = plugin ? plugin->version : "an unknown version";
        throw AutomationError(found.string() + " comes from Tabulix " + version + ", this program from " +
                              TABULIX_CALC_PLUGIN_VERSION + ": install the plug-in of the same version");
    }
    // A signal that stops the program removes the plug-in's half-saved files as well as its own.
    framework::AlsoRemovePendingFilesWith(plugin->removePendingFiles);
    loaded = plugin;
    return *loaded;
}

}  // namespace tabulix::office
