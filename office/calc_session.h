#pragma once
// One running soffice and what the provider keeps about it: the UNO connection, the open
// workbooks in the order they were opened, which one is active, the call journal, and the queue
// of events the suite raised. UNO listeners may be called on any thread; they only queue, and
// deliverEvents hands the events to the connections on the caller's thread, in order.
//
// Thread rule: one soffice serves the whole process. Calls from several threads take turns
// (takeTurn), each for the whole of its call; a workbook's events reach the connections only on
// the thread that added it, through the application events of that thread.

#include <atomic>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include "automation/call_journal.h"
#include "automation/events.h"
#include "office/calc_pending_cells.h"
#include "office/calc_options.h"
#include "office/soffice_process.h"

namespace tabulix::office {

namespace css = com::sun::star;

class CalcWorkbook;

enum class CalcEventKind { SheetActivated, WorkbookActivated, BeforeClose, Closed };

struct CalcEvent {
    CalcEventKind kind;
    int workbook;  // CalcWorkbook::id()
    css::uno::Reference<css::sheet::XSpreadsheet> sheet;  // SheetActivated
};

class CalcSession : public std::enable_shared_from_this<CalcSession> {
public:
    // Starts soffice and connects to it. Raises AutomationError when soffice is missing, ends
    // during start-up or does not accept the connection within the options' time limit.
    static std::shared_ptr<CalcSession> start(const CalcOptions& options);
    ~CalcSession();
    CalcSession(const CalcSession&) = delete;
    CalcSession& operator=(const CalcSession&) = delete;

    // Asks soffice to quit, its documents unsaved; ends the UNO bridge (its threads are joined);
    // waits for soffice to leave (terminating, then killing it, only after bounded waits) and
    // removes its private folder and its pipes. Afterwards every call raises
    // AutomationError. Idempotent; the same path serves a normal end, an error and the
    // program's exit.
    void end();

    const css::uno::Reference<css::uno::XComponentContext>& context() const { return context_; }
    const css::uno::Reference<css::frame::XDesktop2>& desktop() const { return desktop_; }
    int processId() const;
    // The session's private folder (soffice's profile, output and temporary files).
    const std::string& folder() const { return folder_; }
    bool windowed() const { return windowed_; }

    // Raises AutomationError naming `where` when the suite has been ended or has gone away.
    void checkAlive(std::string_view where);
    // Turns a UNO exception into the AutomationError the caller sees: the suite's message, or
    // that the connection was lost when soffice is gone or the bridge was disposed.
    [[noreturn]] void fail(std::string_view where, const css::uno::Exception& error, bool disposed = false);

    automation::CallJournal* journal() const { return journal_.load(); }
    void setJournal(automation::CallJournal* journal) { journal_ = journal; }

    // The calling thread's turn to use the suite, held for the whole of a call (and taken again
    // by the suite's call-backs, which come in on the calling thread).
    std::unique_lock<std::recursive_timed_mutex> takeTurn() { return std::unique_lock(turns_); }

    // The application events of the workbooks that `thread` added.
    automation::EventSource& applicationEvents(std::thread::id thread);
    // Queues an event; any thread.
    void post(CalcEvent event);
    // Raises the queued events of the workbooks this thread added on the connections, in order;
    // the others wait for their own thread.
    void deliverEvents();
    bool ended() const { return ended_; }
    // Raises the before-close event of a workbook now, on the caller's thread; true when a
    // handler cancelled the close.
    bool beforeCloseCancelled(int workbook);

    // A new workbook of one worksheet, made the active workbook.
    std::shared_ptr<CalcWorkbook> addWorkbook();
    const std::vector<std::shared_ptr<CalcWorkbook>>& workbooks() const { return workbooks_; }
    std::shared_ptr<CalcWorkbook> activeWorkbook() const;
    std::shared_ptr<CalcWorkbook> workbookWithId(int id) const;

    // Values put into cells wait here (see
    // CalcPendingCells) until any other call needs them written.
    void keepCellValue(const css::uno::Reference<css::frame::XModel>& document,
                       const css::uno::Reference<css::sheet::XSpreadsheet>& sheet, sal_Int32 column, sal_Int32 row,
                       css::uno::Any value, ImpliedFormat implied) {
        pendingCells_.keep(document, sheet, column, row, std::move(value), std::move(implied));
    }
    void writePendingCells() { pendingCells_.write(); }
    // Kept values go over in small batches while the application is visible and updates its
    // screen (after either changes), all at once otherwise.
    void followDisplay() {
        pendingCells_.writeEvery(visible && screenUpdating ? kShownWrites : std::chrono::milliseconds(0));
    }

    // Application state the suite has no counterpart for in headless mode.
    bool visible = false;
    std::int32_t windowState = -4143;
    bool screenUpdating = true;

private:
    // How long values wait while shown: the sheet grows a few times a second.
    static constexpr std::chrono::milliseconds kShownWrites{250};

    CalcSession() = default;
    void connect(const CalcOptions& options);
    void handle(const CalcEvent& event);
    void forget(int workbook);

    std::recursive_timed_mutex turns_;
    std::unique_ptr<SofficeProcess> process_;
    std::string folder_;  // soffice's own: its profile, its output, its temporary files
    std::string logFile_;
    std::vector<std::filesystem::path> sockets_;  // the suite's pipes, removed after it ends
    bool windowed_ = false;
    std::atomic<bool> ended_ = false;  // read by the listeners' threads
    css::uno::Reference<css::lang::XComponent> bridge_;
    css::uno::Reference<css::uno::XComponentContext> context_;
    css::uno::Reference<css::frame::XDesktop2> desktop_;
    std::atomic<automation::CallJournal*> journal_ = nullptr;  // set on any thread
    std::mutex applicationEventsLock_;
    std::map<std::thread::id, automation::EventSource> applicationEvents_;

    std::mutex queueLock_;
    std::deque<CalcEvent> queue_;

    CalcPendingCells pendingCells_;
    std::vector<std::shared_ptr<CalcWorkbook>> workbooks_;
    std::vector<int> recent_;  // workbook ids, most recently active first
    int nextWorkbookId_ = 1;
};

}  // namespace tabulix::office
