#include "office/calc_session.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <thread>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

#include "automation/automation_error.h"
#include "automation/dispids.h"
#include "office/calc_events.h"
#include "office/calc_sheet.h"
#include "office/calc_workbook.h"
#include "office/uno_text.h"

namespace tabulix::office {

namespace fs = std::filesystem;
using automation::AutomationError;
using automation::Variant;
using css::uno::Reference;

namespace {

constexpr int kRestartExitCode = 81;  // soffice asks to be started again (a new profile)

// The local UNO runtime that the bridge needs: made once per process and never torn down, since
// the runtime's own libraries may be unloading by the time static objects are destroyed.
Reference<css::uno::XComponentContext> localContext() {
    static const auto* context = [] {
        rtl::Bootstrap::set("URE_BOOTSTRAP", "vnd.sun.star.pathname:" TABULIX_LIBREOFFICE_PROGRAM "/fundamentalrc");
        return new Reference<css::uno::XComponentContext>(cppu::defaultBootstrap_InitialComponentContext());
    }();
    return *context;
}

std::string uniqueSuffix() {
    static std::atomic<int> counter{0};
    return std::to_string(getpid()) + "-" + std::to_string(++counter);
}

// The socket of the pipe, which soffice leaves behind when it is ended.
fs::path pipeSocket(const std::string& pipe) { return "/tmp/OSL_PIPE_" + std::to_string(getuid()) + "_" + pipe; }

// Profiles and pipe sockets left behind by programs that died: their names carry the owner's
// process id.
void removeAbandoned(const fs::path& folder) {
    std::error_code error;
    const std::string socketPrefix = pipeSocket("").filename().string();
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (name.rfind(socketPrefix, 0) == 0) name = name.substr(socketPrefix.size());
        if (name.rfind("tabulix-calc-", 0) != 0) continue;
        const std::string rest = name.substr(13);
        const auto dash = rest.find('-');
        if (dash == std::string::npos) continue;
        const int owner = std::atoi(rest.substr(0, dash).c_str());
        if (owner <= 0 || owner == getpid() || fs::exists("/proc/" + std::to_string(owner))) continue;
        fs::remove_all(entry.path(), error);
    }
}

// soffice.bin beside the launcher when there is one: the launcher script (and the splash
// program it runs) would stand between us and the process we must be able to end.
fs::path suiteProgram(const fs::path& soffice) {
    std::error_code error;
    const fs::path real = fs::canonical(soffice, error);
    if (error) return soffice;
    const fs::path bin = real.parent_path() / "soffice.bin";
    return fs::exists(bin) ? bin : real;
}

// The program's environment with the suite's locale fixed: its "system" notation is then the
// English one that the file keeps, whatever the user's locale, and its default names are English.
// Its temporary files go into `temporary`, which goes away with the session whatever the way
// soffice ended.
std::vector<std::string> suiteEnvironment(const std::string& temporary) {
    std::vector<std::string> result;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("LC_", 0) == 0 || entry.rfind("LANG=", 0) == 0 || entry.rfind("LANGUAGE=", 0) == 0) continue;
        if (entry.rfind("TMPDIR=", 0) == 0 || entry.rfind("TMP=", 0) == 0 || entry.rfind("TEMP=", 0) == 0) continue;
        result.push_back(entry);
    }
    result.push_back("LANG=C.UTF-8");
    result.push_back("LC_ALL=C.UTF-8");
    result.push_back("TMPDIR=" + temporary);
    return result;
}

// Kills soffice if the goodbye (the documents marked unmodified, terminate) takes longer than
// a time limit: a suite that hangs must not hang the program that ends it. The killed suite
// closes its end of the pipe, and the waiting call returns with a lost connection.
class Watchdog {
public:
    Watchdog(const SofficeProcess* process, std::chrono::milliseconds limit) {
        if (!process) return;
        thread_ = std::thread([this, process, limit] {
            std::unique_lock<std::mutex> lock(mutex_);
            if (!done_.wait_for(lock, limit, [this] { return finished_; })) process->killNow();
        });
    }
    ~Watchdog() {
        if (!thread_.joinable()) return;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        done_.notify_one();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

// How long soffice may take to say goodbye and to leave after it, before it is made to.
constexpr std::chrono::milliseconds kGoodbyeLimit{15000};
constexpr std::chrono::milliseconds kLeaveLimit{10000};
constexpr std::chrono::milliseconds kTerminateGrace{3000};

// The suite draws windows through one of its VCL plug-ins; the headless package has none.
bool hasWindowSupport(const fs::path& programFolder) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(programFolder, error))
        if (entry.path().filename().string().rfind("libvclplug_", 0) == 0) return true;
    return false;
}

// The last lines of the suite's output, joined, for a message (the profile folder that holds the
// log goes away with the failed start).
std::string lastLines(const std::string& file, std::size_t count) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    std::string result;
    for (std::size_t i = lines.size() > count ? lines.size() - count : 0; i < lines.size(); ++i)
        result += (result.empty() ? "" : " / ") + lines[i];
    return result;
}

std::string seconds(std::chrono::milliseconds ms) {
    const long tenths = static_cast<long>(ms.count() / 100);
    return std::to_string(tenths / 10) + (tenths % 10 ? "." + std::to_string(tenths % 10) : "") + " s";
}

// The bridge writes to soffice's pipe; when soffice dies that write must become a lost-connection
// error, not a SIGPIPE that ends the caller's whole program. A handler the program set stays.
void ignoreBrokenPipes() {
    struct sigaction current {};
    if (sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) signal(SIGPIPE, SIG_IGN);
}

// A UNO bridge over soffice's pipe, made by the session rather than by a URL resolver so that
// the session owns it: disposing it joins its threads while the program still runs, instead of
// leaving them to meet the closed pipe while the program exits.
Reference<css::lang::XComponent> openBridge(const rtl::OUString& pipe, Reference<css::uno::XComponentContext>& context) {
    const Reference<css::bridge::XBridge> bridge = css::bridge::BridgeFactory::create(localContext())->createBridge(
        rtl::OUString(), "urp", css::connection::Connector::create(localContext())->connect(pipe), nullptr);
    const Reference<css::lang::XComponent> owned(bridge, css::uno::UNO_QUERY_THROW);
    try {
        context.set(bridge->getInstance("StarOffice.ComponentContext"), css::uno::UNO_QUERY_THROW);
    } catch (...) {
        owned->dispose();
        throw;
    }
    return owned;
}

void dispose(const Reference<css::lang::XComponent>& bridge) {
    try {
        if (bridge.is()) bridge->dispose();
    } catch (const css::uno::Exception&) {
    }
}

}  // namespace

std::shared_ptr<CalcSession> CalcSession::start(const CalcOptions& options) {
    std::shared_ptr<CalcSession> session(new CalcSession);
    session->connect(options);
    return session;
}

void CalcSession::connect(const CalcOptions& options) {
    ignoreBrokenPipes();
    const fs::path soffice = FindSoffice(options);
    if (soffice.empty())
        throw AutomationError(CalcUnavailableReason(options));
    const fs::path program = suiteProgram(soffice);
    windowed_ = options.visible;
    if (windowed_ && !hasWindowSupport(program.parent_path()))
        throw AutomationError("LibreOffice Calc cannot show its window: the LibreOffice at " +
                              program.parent_path().string() +
                              " has no window system support (Debian package libreoffice-calc-nogui); install "
                              "libreoffice-calc, or leave TABULIX_CALC_VISIBLE unset to run it headless");
    const fs::path temp = fs::temp_directory_path();
    removeAbandoned(temp);
    if (temp != "/tmp") removeAbandoned("/tmp");
    const std::string suffix = uniqueSuffix();
    folder_ = (temp / ("tabulix-calc-" + suffix)).string();
    fs::create_directories(folder_ + "/tmp");
    logFile_ = folder_ + "/soffice.log";
    const std::string pipe = "tabulix-calc-" + suffix;
    sockets_ = {pipeSocket(pipe)};

    std::vector<std::string> args = {"--nologo", "--norestore", "--nodefault", "--nolockcheck",
                                     "-env:UserInstallation=" + fromUno(fileUrl(folder_ + "/profile")),
                                     "--accept=pipe,name=" + pipe + ";urp;StarOffice.ComponentContext"};
    if (!windowed_) args.insert(args.begin(), {"--headless", "--invisible"});

    const std::vector<std::string> environment = suiteEnvironment(folder_ + "/tmp");
    const auto started = std::chrono::steady_clock::now();
    const auto deadline = started + options.startTimeout;
    try {
        process_ = std::make_unique<SofficeProcess>(program, args, environment, logFile_);
    } catch (const std::exception& e) {
        throw AutomationError(std::string("LibreOffice Calc could not be started: ") + e.what());
    }
    const rtl::OUString where = toUno("pipe,name=" + pipe);
    int restarts = 0;
    while (!context_.is()) {
        if (!process_->running()) {
            // A fresh profile makes the first soffice ask for a second start.
            if (process_->exitCode() == kRestartExitCode && restarts++ < 2) {
                process_ = std::make_unique<SofficeProcess>(program, args, environment, logFile_);
                continue;
            }
            const std::string status = process_->status();
            const std::string said = lastLines(logFile_, 3);
            throw AutomationError("LibreOffice Calc could not be started: " + program.string() + " " + status +
                                  " during start-up" + (said.empty() ? "" : "; it said: " + said));
        }
        try {
            bridge_ = openBridge(where, context_);
        } catch (const css::connection::NoConnectException&) {
            if (std::chrono::steady_clock::now() >= deadline)
                throw AutomationError("LibreOffice Calc did not start within " + seconds(options.startTimeout) +
                                      ": " + program.string() + " accepted no connection (the process was ended)");
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        } catch (const css::uno::Exception& e) {
            throw AutomationError("LibreOffice Calc could not be reached: " + fromUno(e.Message));
        }
    }
    desktop_ = css::frame::Desktop::create(context_);
    // Besides the pipe it accepts on, soffice listens on one of its own (for a second start of the
    // same profile); both stay behind when it does not end normally.
    for (const fs::path& socket : process_->socketFilesUnder(sockets_.front().parent_path()))
        if (socket != sockets_.front()) sockets_.push_back(socket);
}

CalcSession::~CalcSession() { end(); }

int CalcSession::processId() const { return process_ && !ended_ ? process_->pid() : 0; }

automation::EventSource& CalcSession::applicationEvents(std::thread::id thread) {
    const std::lock_guard<std::mutex> lock(applicationEventsLock_);
    return applicationEvents_[thread];
}

void CalcSession::end() {
    if (ended_) return;
    // A call of another thread ends first; one that hangs is cut short with soffice.
    std::unique_lock<std::recursive_timed_mutex> turn(turns_, std::defer_lock);
    if (!turn.try_lock_for(kGoodbyeLimit)) {
        if (process_) process_->killNow();
        turn.lock();
    }
    if (ended_) return;
    ended_ = true;
    {
        const std::lock_guard<std::mutex> lock(queueLock_);
        queue_.clear();
    }
    pendingCells_.discard();
    bool quitting = false;
    if (process_ && process_->running() && desktop_.is()) {
        const Watchdog watchdog(process_.get(), kGoodbyeLimit);
        try {
            // The documents are left for terminate to close, marked unmodified so that it asks
            // nothing. Closing them here would release them, and soffice runs releases on threads
            // of their own: one that met its shut-down would crash it.
            for (const auto& book : workbooks_)
                Reference<css::util::XModifiable>(book->model(), css::uno::UNO_QUERY_THROW)->setModified(false);
            quitting = desktop_->terminate();
        } catch (const css::uno::Exception&) {
            // A suite that has gone away or refuses to quit is ended below.
        }
    }
    // Disposing the bridge joins its reader and writer threads; references released after it go
    // nowhere.
    dispose(bridge_);
    workbooks_.clear();  // they hold the session: break the cycle
    recent_.clear();
    desktop_.clear();
    context_.clear();
    bridge_.clear();
    if (process_) process_->end(quitting ? kLeaveLimit : std::chrono::milliseconds(0), kTerminateGrace);
    std::error_code error;
    if (!folder_.empty()) fs::remove_all(folder_, error);
    for (const fs::path& socket : sockets_) fs::remove(socket, error);
    folder_.clear();
    sockets_.clear();
}

void CalcSession::checkAlive(std::string_view where) {
    if (ended_) throw AutomationError(std::string(where) + ": LibreOffice Calc has been shut down");
}

void CalcSession::fail(std::string_view where, const css::uno::Exception& error, bool disposed) {
    bool gone = !process_ || !process_->running();
    if (disposed && !gone) {
        // The bridge notices first; the process may take a moment to finish dying.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000);
        while (process_->running() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (gone || disposed) {
        const std::string status = process_ ? "soffice " + process_->status() : "soffice is not running";
        throw AutomationError(std::string(where) + ": the connection to LibreOffice Calc was lost (" + status + ")");
    }
    std::string message = fromUno(error.Message);
    if (message.empty()) message = "the call was refused";
    throw AutomationError(std::string(where) + ": LibreOffice Calc: " + message);
}

void CalcSession::post(CalcEvent event) {
    const std::lock_guard<std::mutex> lock(queueLock_);
    if (ended_) return;
    queue_.push_back(std::move(event));
}

void CalcSession::deliverEvents() {
    const auto turn = takeTurn();
    const std::thread::id self = std::this_thread::get_id();
    for (;;) {
        CalcEvent event;
        {
            const std::lock_guard<std::mutex> lock(queueLock_);
            const auto mine = std::find_if(queue_.begin(), queue_.end(), [this, self](const CalcEvent& e) {
                const std::shared_ptr<CalcWorkbook> book = workbookWithId(e.workbook);
                return !book || book->addedBy() == self;
            });
            if (mine == queue_.end()) return;
            event = std::move(*mine);
            queue_.erase(mine);
        }
        if (ended_) continue;
        try {
            handle(event);
        } catch (const css::uno::Exception& e) {
            // Reading the sheet or workbook of an event failed (closed meanwhile, or the
            // suite went away): the caller hears it as the automation error it is.
            fail("Application events", e);
        }
    }
}

void CalcSession::handle(const CalcEvent& event) {
    const std::shared_ptr<CalcWorkbook> book = workbookWithId(event.workbook);
    if (!book) return;
    switch (event.kind) {
        case CalcEventKind::SheetActivated: {
            // Calc reports some activations late (those a new or removed sheet causes): one that
            // no longer names the active sheet is stale and must not move the connections.
            if (!event.sheet.is() || sheetName(event.sheet) != sheetName(book->activeSheet())) return;
            if (!book->noteActiveSheet(event.sheet)) return;
            Variant sheet{automation::DispatchPtr(book->sheetObject(event.sheet))};
            applicationEvents(book->addedBy()).raise(automation::dispid::SheetActivate, std::span<Variant>(&sheet, 1));
            return;
        }
        case CalcEventKind::WorkbookActivated: {
            if (!recent_.empty() && recent_.front() == book->id()) return;
            std::erase(recent_, book->id());
            recent_.insert(recent_.begin(), book->id());
            Variant workbook{automation::DispatchPtr(book)};
            applicationEvents(book->addedBy()).raise(automation::dispid::WorkbookActivate, std::span<Variant>(&workbook, 1));
            return;
        }
        case CalcEventKind::BeforeClose:
            beforeCloseCancelled(book->id());
            return;
        case CalcEventKind::Closed:
            forget(book->id());
            return;
    }
}

bool CalcSession::beforeCloseCancelled(int workbook) {
    if (ended_) return false;  // the suite is quitting: nothing can hold it back
    const auto turn = takeTurn();
    const std::shared_ptr<CalcWorkbook> book = workbookWithId(workbook);
    if (!book || book->closingByCall()) return false;
    Variant cancel(false);
    book->events()->raise(automation::dispid::BeforeClose, std::span<Variant>(&cancel, 1));
    return cancel.toBool();
}

void CalcSession::forget(int workbook) {
    const bool wasActive = !recent_.empty() && recent_.front() == workbook;
    std::erase_if(workbooks_, [workbook](const auto& b) { return b->id() == workbook; });
    std::erase(recent_, workbook);
    // Like the application, the most recently active workbook left takes over.
    if (wasActive && !recent_.empty()) {
        if (auto next = workbookWithId(recent_.front())) {
            recent_.erase(recent_.begin());
            next->activate();
        }
    }
}

std::shared_ptr<CalcWorkbook> CalcSession::addWorkbook() {
    css::uno::Sequence<css::beans::PropertyValue> args(windowed_ ? 0 : 1);
    if (!windowed_) {
        // Headless, the suite aborts on a document that wants a window.
        args.getArray()[0].Name = "Hidden";
        args.getArray()[0].Value <<= true;
    }
    const Reference<css::frame::XComponentLoader> loader(desktop_, css::uno::UNO_QUERY_THROW);
    const Reference<css::frame::XModel> model(
        loader->loadComponentFromURL("private:factory/scalc", "_blank", 0, args), css::uno::UNO_QUERY_THROW);
    auto book = std::make_shared<CalcWorkbook>(shared_from_this(), nextWorkbookId_++, model);
    workbooks_.push_back(book);
    book->noteActiveSheet(book->activeSheet());
    listenToWorkbook(shared_from_this(), *book);
    book->activate();
    return book;
}

std::shared_ptr<CalcWorkbook> CalcSession::activeWorkbook() const {
    return recent_.empty() ? nullptr : workbookWithId(recent_.front());
}

std::shared_ptr<CalcWorkbook> CalcSession::workbookWithId(int id) const {
    for (const auto& book : workbooks_)
        if (book->id() == id) return book;
    return nullptr;
}

}  // namespace tabulix::office
