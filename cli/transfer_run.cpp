#include "cli/transfer_run.h"

#include <memory>
#include <stdexcept>
#include <string>

#include "automation/call_journal.h"
#include "automation/connection.h"
#include "cli/progress_bar.h"
#include "component/tabulix.h"
#include "data/data_set.h"
#include "framework/printable.h"
#include "spreadsheet/embedded_spreadsheet.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/model_observer.h"

namespace tabulix::cli {

namespace fs = std::filesystem;

namespace {

void checkWritable(const fs::path& output) {
    std::error_code error;
    const std::string cannot = "cannot save " + framework::quotedPath(output);
    if (fs::is_directory(output, error)) throw std::runtime_error(cannot + ": it is a folder");
    const fs::path folder = output.has_parent_path() ? output.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, error))
        throw std::runtime_error(cannot + ": the folder " + framework::quotedPath(folder) + " does not exist");
}

// Routes the application's automation calls to a stream while it lives.
class TraceGuard {
public:
    TraceGuard(ApplicationKind application, std::ostream* out) : application_(application) {
        if (!out) return;
        journal_.setKeeping(false);  // a long transfer would otherwise keep millions of entries
        journal_.setListener([out](const automation::JournalEntry& entry) { *out << entry.describe() << '\n'; });
        SetApplicationJournal(application_, &journal_);
        active_ = true;
    }
    ~TraceGuard() {
        if (active_) SetApplicationJournal(application_, nullptr);
    }
    TraceGuard(const TraceGuard&) = delete;
    TraceGuard& operator=(const TraceGuard&) = delete;

private:
    ApplicationKind application_;
    automation::CallJournal journal_;
    bool active_ = false;
};

// Shows the records done and the rows saved while it lives.
class ProgressGuard {
public:
    ProgressGuard(component::TTabulix& tabulix, ProgressBar* bar, ApplicationKind application)
        : tabulix_(tabulix), bar_(bar) {
        if (!bar_) return;
        tabulix_.OnProgreso = [bar](std::int64_t done, std::int64_t total) { bar->Update(done, total); };
        if (application == ApplicationKind::Embedded) {
            saving_ = std::make_unique<RowsSaved>(*bar);
            embedded_ = spreadsheet::runningEmbeddedApplication();
            embedded_->addObserver(*saving_);
        }
    }
    ~ProgressGuard() {
        tabulix_.OnProgreso = nullptr;
        if (embedded_) embedded_->removeObserver(*saving_);
        if (bar_) bar_->Finish();
    }
    ProgressGuard(const ProgressGuard&) = delete;
    ProgressGuard& operator=(const ProgressGuard&) = delete;

private:
    class RowsSaved : public spreadsheet::ModelObserver {
    public:
        explicit RowsSaved(ProgressBar& bar) : bar_(bar) {}
        void saveProgress(spreadsheet::Workbook&, std::uint64_t rows, std::uint64_t total) override {
            if (rows == 0) bar_.Begin("Saving rows");
            bar_.Update(static_cast<std::int64_t>(rows), static_cast<std::int64_t>(total));
        }

    private:
        ProgressBar& bar_;
    };

    component::TTabulix& tabulix_;
    ProgressBar* bar_;
    std::unique_ptr<RowsSaved> saving_;
    std::shared_ptr<spreadsheet::Application> embedded_;
};

// Tells each formula record that fails, as it fails, while it lives.
class FailureReport {
public:
    FailureReport(component::TTabulix& tabulix, std::ostream* warnings) : tabulix_(tabulix) {
        if (!warnings) return;
        tabulix_.OnFalloFormula = [warnings](const component::TFalloFormula& failure) {
            *warnings << "tabulix: warning: formula record " << failure.Registro << " ('"
                      << framework::printable(failure.Linea) << "'), cell " << framework::printable(failure.Casilla)
                      << ": " << framework::printable(failure.Motivo, framework::kPrintableMessageLength) << "\n";
        };
    }
    ~FailureReport() { tabulix_.OnFalloFormula = nullptr; }
    FailureReport(const FailureReport&) = delete;
    FailureReport& operator=(const FailureReport&) = delete;

private:
    component::TTabulix& tabulix_;
};

std::string describe(const component::TTabulix& tabulix) {
    return tabulix.Name().empty() ? "the transfer"
                                  : "the transfer of component '" + framework::printable(tabulix.Name()) + "'";
}

}  // namespace

void TransferAndSave(component::TTabulix& tabulix, const fs::path& output, const RunOptions& options) {
    checkWritable(output);
    if (!tabulix.Datos() || !tabulix.Datos()->Active())
        throw std::runtime_error(describe(tabulix) + " needs an open data set");

    TraceGuard trace(options.application, options.trace);
    ProgressGuard progress(tabulix, options.progress, options.application);
    {
        FailureReport report(tabulix, options.warnings);
        try {
            tabulix.TraspasarNuevoLibro();
        } catch (const std::exception& e) {
            throw std::runtime_error(describe(tabulix) + " failed: " + e.what());
        }
    }
    if (options.strict && !tabulix.FallosFormulas().empty()) {
        const std::size_t count = tabulix.FallosFormulas().size();
        throw StrictFailure(std::to_string(count) + (count == 1 ? " formula record" : " formula records") +
                            " could not be placed; nothing was saved (--strict)");
    }
    automation::WorkbookConnection* workbook = tabulix.ExcelWorkbook();
    if (!workbook || !workbook->IsConnected())
        throw std::runtime_error(describe(tabulix) + " left no workbook to save");
    // The embedded spreadsheet counts the rows it saves; Calc's save is only announced.
    if (options.progress && options.application != ApplicationKind::Embedded)
        options.progress->Note("Saving " + framework::printable(output.string(), framework::kPrintablePathLength));
    tabulix.GuardarLibro(output.string());
}

std::int64_t RecordsWritten(const component::TTabulix& tabulix) {
    const std::int64_t first = tabulix.PrimeraFilaDatos(), last = tabulix.UltimaFilaDatos();
    return first > 0 && last >= first ? last - first + 1 : 0;
}

}  // namespace tabulix::cli
