#include "office/calc_options.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace tabulix::office {

namespace fs = std::filesystem;

namespace {

bool isExecutable(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

CalcOptions CalcOptionsFromEnvironment() {
    CalcOptions options;
    if (const char* soffice = std::getenv("TABULIX_SOFFICE"); soffice && *soffice) options.soffice = soffice;
    if (const char* visible = std::getenv("TABULIX_CALC_VISIBLE"); visible && std::string(visible) == "1")
        options.visible = true;
    return options;
}

fs::path FindSoffice(const CalcOptions& options) {
    if (!options.soffice.empty()) return isExecutable(options.soffice) ? options.soffice : fs::path();
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const fs::path candidate = fs::path(folders.substr(start, end - start)) / "soffice";
        if (end > start && isExecutable(candidate)) return candidate;
        start = end + 1;
    }
    return {};
}

std::string CalcUnavailableReason(const CalcOptions& options) {
    if (!FindSoffice(options).empty()) return {};
    const std::string where =
        options.soffice.empty() ? std::string("on the PATH") : "at \"" + options.soffice.string() + "\"";
    return "LibreOffice Calc is not available: soffice was not found " + where +
           " (Debian package libreoffice-calc-nogui)";
}

}  // namespace tabulix::office
