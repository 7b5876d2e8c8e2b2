#include "cli/transfer_run.h"

#include <stdexcept>
#include <string>

#include "automation/call_journal.h"
#include "automation/connection.h"
#include "automation/dispids.h"
#include "cli/progress_bar.h"
#include "component/tabulix.h"
#include "data/data_set.h"

namespace tabulix::cli {

namespace fs = std::filesystem;

namespace {

std::string quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

void checkWritable(const fs::path& output) {
    std::error_code error;
    if (fs::is_directory(output, error)) throw std::runtime_error("cannot save " + quoted(output) + ": it is a folder");
    const fs::path folder = output.has_parent_path() ? output.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, error))
        throw std::runtime_error("cannot save " + quoted(output) + ": the folder " + quoted(folder) + " does not exist");
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

class ProgressGuard {
public:
    ProgressGuard(component::TTabulix& tabulix, ProgressBar* bar) : tabulix_(tabulix), bar_(bar) {
        if (bar_) tabulix_.OnProgreso = [bar](std::int64_t done, std::int64_t total) { bar->Update(done, total); };
    }
    ~ProgressGuard() {
        tabulix_.OnProgreso = nullptr;
        if (bar_) bar_->Finish();
    }
    ProgressGuard(const ProgressGuard&) = delete;
    ProgressGuard& operator=(const ProgressGuard&) = delete;

private:
    component::TTabulix& tabulix_;
    ProgressBar* bar_;
};

std::string describe(const component::TTabulix& tabulix) {
    return tabulix.Name().empty() ? "the transfer" : "the transfer of component '" + tabulix.Name() + "'";
}

}  // namespace

void TransferAndSave(component::TTabulix& tabulix, const fs::path& output, const RunOptions& options) {
    checkWritable(output);
    if (!tabulix.Datos() || !tabulix.Datos()->Active())
        throw std::runtime_error(describe(tabulix) + " needs an open data set");

    TraceGuard trace(options.application, options.trace);
    {
        ProgressGuard progress(tabulix, options.progress);
        try {
            tabulix.TraspasarNuevoLibro();
        } catch (const std::exception& e) {
            throw std::runtime_error(describe(tabulix) + " failed: " + e.what());
        }
    }
    automation::WorkbookConnection* workbook = tabulix.ExcelWorkbook();
    if (!workbook || !workbook->IsConnected())
        throw std::runtime_error(describe(tabulix) + " left no workbook to save");
    if (options.progress) options.progress->Note("Saving " + output.string());
    workbook->Object()->call(automation::dispid::SaveAs, {automation::Variant(output.string())});
}

std::int64_t RecordsWritten(const component::TTabulix& tabulix) {
    const std::int64_t first = tabulix.PrimeraFilaDatos(), last = tabulix.UltimaFilaDatos();
    return first > 0 && last >= first ? last - first + 1 : 0;
}

}  // namespace tabulix::cli
