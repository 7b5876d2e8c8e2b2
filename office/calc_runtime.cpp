// The Calc code's side of the plug-in table: the process-wide session of the running soffice and
// the provider that starts it.

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "framework/pending_files.h"
#include "office/calc_application.h"
#include "office/calc_plugin.h"
#include "office/calc_session.h"

namespace tabulix::office {

namespace {

// The session of the running soffice, the applications made over it, and the journal that
// records calls on it (kept here so that it can be set before the application starts). Any
// thread may start, use and end Calc: guarded.
struct CalcState {
    std::mutex lock;
    std::shared_ptr<CalcSession> session;
    std::vector<std::weak_ptr<CalcApplication>> applications;
    automation::CallJournal* journal = nullptr;
};

CalcState& state() {
    static CalcState instance;
    return instance;
}

std::shared_ptr<CalcSession> runningSession() {
    CalcState& s = state();
    const std::lock_guard<std::mutex> hold(s.lock);
    return s.session;
}

// Ended outside the lock: the end waits for a call of another thread, whose event handlers may
// ask for the running Calc meanwhile.
void endSession() {
    std::shared_ptr<CalcSession> ending;
    {
        CalcState& s = state();
        const std::lock_guard<std::mutex> hold(s.lock);
        ending = std::move(s.session);
        s.applications.clear();
    }
    if (ending) ending->end();
}

// Whether an application of another thread still uses the running soffice.
bool usedByAnotherThread(CalcState& s) {
    std::erase_if(s.applications, [](const auto& application) { return application.expired(); });
    return std::any_of(s.applications.begin(), s.applications.end(), [](const auto& application) {
        const auto alive = application.lock();
        return alive && alive->madeBy() != std::this_thread::get_id();
    });
}

// A program that exits with Calc still running ends it the usual way. The handler is registered
// after each start, so it runs before the static objects that the UNO runtime made during the
// start are destroyed (exit runs handlers and destructors in the reverse order of their making).
void endCalcAtExit() { endSession(); }

class CalcProvider final : public automation::ApplicationProvider {
public:
    explicit CalcProvider(CalcOptions options) : options_(std::move(options)) {}

    // One soffice per process: a thread that connects while another thread's application uses
    // it gets an application of its own over the same soffice.
    automation::DispatchPtr startApplication() override {
        CalcState& s = state();
        const std::lock_guard<std::mutex> hold(s.lock);
        if (!s.session || s.session->ended() || !usedByAnotherThread(s)) {
            if (s.session) s.session->end();  // an earlier instance that the automation layer has forgotten
            s.session.reset();
            s.applications.clear();
            s.session = CalcSession::start(options_);
            std::atexit(endCalcAtExit);
            s.session->setJournal(s.journal);
        }
        auto application = std::make_shared<CalcApplication>(s.session);
        s.applications.push_back(application);
        return application;
    }

private:
    CalcOptions options_;
};

std::unique_ptr<automation::ApplicationProvider> makeProvider(const CalcOptions& options) {
    return std::make_unique<CalcProvider>(options);
}

void deliverEvents() {
    if (const auto session = runningSession()) session->deliverEvents();
}

void setJournal(automation::CallJournal* journal) {
    CalcState& s = state();
    const std::lock_guard<std::mutex> hold(s.lock);
    s.journal = journal;
    if (s.session) s.session->setJournal(journal);
}

bool isCalcApplication(const automation::Dispatch* application) {
    return dynamic_cast<const CalcApplication*>(application) != nullptr;
}

int processId() {
    const auto session = runningSession();
    return session ? session->processId() : 0;
}

void shutDown() { endSession(); }

}  // namespace

const CalcPlugin& LinkedCalcPlugin() {
    static const CalcPlugin table{TABULIX_CALC_PLUGIN_VERSION, makeProvider, deliverEvents, setJournal,
                                  isCalcApplication, processId, shutDown, framework::RemovePendingFiles};
    return table;
}

}  // namespace tabulix::office
