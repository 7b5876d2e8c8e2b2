// The Calc code's side of the plug-in table: the process-wide session of the running soffice and
// the provider that starts it.

#include <cstdlib>

#include "office/calc_application.h"
#include "office/calc_plugin.h"
#include "office/calc_session.h"

namespace tabulix::office {

namespace {

// The session of the running application, and the journal that records calls on it (kept here
// so that it can be set before the application starts).
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

std::unique_ptr<automation::ApplicationProvider> makeProvider(const CalcOptions& options) {
    return std::make_unique<CalcProvider>(options);
}

void deliverEvents() {
    if (state().session) state().session->deliverEvents();
}

void setJournal(automation::CallJournal* journal) {
    state().journal = journal;
    if (state().session) state().session->setJournal(journal);
}

bool isCalcApplication(const automation::Dispatch* application) {
    return dynamic_cast<const CalcApplication*>(application) != nullptr;
}

int processId() { return state().session ? state().session->processId() : 0; }

void shutDown() {
    if (!state().session) return;
    state().session->end();
    state().session.reset();
}

}  // namespace

const CalcPlugin& LinkedCalcPlugin() {
    static const CalcPlugin table{TABULIX_CALC_PLUGIN_VERSION, makeProvider,      deliverEvents, setJournal,
                                  isCalcApplication,           processId,         shutDown};
    return table;
}

}  // namespace tabulix::office
