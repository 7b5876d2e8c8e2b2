#include "office/calc_provider.h"

#include <unistd.h>

#include <cstdlib>

#include "automation/application_provider.h"
#include "office/calc_application.h"
#include "office/calc_session.h"

namespace tabulix::office {

namespace fs = std::filesystem;

namespace {

// The process-wide Calc: the session of the running application, and the journal that records
// calls on it (kept here so that it can be set before the application starts).
struct CalcState {
    std::shared_ptr<CalcSession> session;
    automation::CallJournal* journal = nullptr;
};

CalcState& state() {
    static CalcState instance;
    return instance;
}

// A program that exits with Calc still running ends it the usual way. The handler is registered
// after each start, so it runs before the static objects that the UNO runtime made during the
// start are destroyed (exit runs handlers and destructors in the reverse order of their making).
void endCalcAtExit() {
    if (!state().session) return;
    state().session->end();
    state().session.reset();
}

class CalcProvider final : public automation::ApplicationProvider {
public:
    explicit CalcProvider(CalcOptions options) : options_(std::move(options)) {}

    automation::DispatchPtr startApplication() override {
        CalcState& s = state();
        if (s.session) {
            s.session->end();  // an earlier instance that the automation layer has forgotten
            s.session.reset();
        }
        s.session = CalcSession::start(options_);
        std::atexit(endCalcAtExit);
        s.session->setJournal(s.journal);
        return std::make_shared<CalcApplication>(s.session);
    }

private:
    CalcOptions options_;
};

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

void InstallCalcProvider(CalcOptions options) {
    automation::setApplicationProvider(std::make_unique<CalcProvider>(std::move(options)));
}

void DeliverCalcEvents() {
    if (state().session) state().session->deliverEvents();
}

void SetCalcCallJournal(automation::CallJournal* journal) {
    state().journal = journal;
    if (state().session) state().session->setJournal(journal);
}

bool CalcIsRunning() {
    return dynamic_cast<CalcApplication*>(automation::runningApplication().get()) != nullptr;
}

int CalcProcessId() { return state().session ? state().session->processId() : 0; }

void ShutDownCalc() {
    if (CalcIsRunning()) automation::shutDownRunningApplication();
    if (state().session) {
        state().session->end();
        state().session.reset();
    }
}

}  // namespace tabulix::office
