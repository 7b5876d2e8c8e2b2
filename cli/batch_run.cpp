#include "cli/batch_run.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <sstream>
#include <thread>
#include <vector>

#include "automation/application_provider.h"
#include "automation/connection.h"
#include "automation/dispids.h"
#include "cli/batch_progress.h"
#include "cli/finish_options.h"
#include "cli/source_checks.h"
#include "cli/transfer_run.h"
#include "cli/transfer_source.h"
#include "component/tabulix.h"
#include "framework/printable.h"

namespace tabulix::cli {

namespace fs = std::filesystem;

namespace {

int usableCores() {
    cpu_set_t cores;
    if (sched_getaffinity(0, sizeof cores, &cores) == 0) return std::max(1, CPU_COUNT(&cores));
    return std::max(1u, std::thread::hardware_concurrency());
}

// One input, start to end, on the calling job's thread and application. Its warnings are told
// after the transfer, all together, so that they do not mix with another input's.
void transferOne(const CommandLine& line, std::size_t index, const fs::path& output, ApplicationKind application,
                 BatchProgress& progress) {
    CommandLine one = line;
    one.input = line.inputs[index];
    one.inputs = {one.input};
    one.batch = false;
    TransferSource source = LoadSource(one);
    RefuseOutputOverInput(output, InputFiles(one, *source.root));
    std::ostringstream warnings;
    const int dataWarnings = ReportDataSets(*source.root, warnings, nullptr);
    if (!warnings.str().empty()) progress.Warn(index, warnings.str());
    if (dataWarnings > 0 && line.strict)
        throw StrictFailure("the input gave " + std::to_string(dataWarnings) +
                            (dataWarnings == 1 ? " warning" : " warnings") + "; nothing was saved (--strict)");

    component::TTabulix& tabulix = *source.tabulix;
    ApplyFinishOptions(line.finish, tabulix);
    // Without a progress bar in the options, the run leaves this handler in place.
    tabulix.OnProgreso = [&progress, index](std::int64_t done, std::int64_t total) {
        progress.Advanced(index, done, total);
    };
    std::ostringstream recordWarnings;
    RunOptions options;
    options.application = application;
    options.warnings = &recordWarnings;
    options.strict = line.strict;
    try {
        TransferAndSave(tabulix, output, options);
    } catch (...) {
        if (!recordWarnings.str().empty()) progress.Warn(index, recordWarnings.str());
        throw;
    }
    if (!recordWarnings.str().empty()) progress.Warn(index, recordWarnings.str());
    const std::int64_t records = RecordsWritten(tabulix);
    // The job's application goes on to the next input: this workbook has no more use there.
    if (automation::WorkbookConnection* workbook = tabulix.ExcelWorkbook(); workbook && workbook->IsConnected())
        workbook->Object()->call(automation::dispid::Close, {automation::Variant(false)});

    progress.Succeeded(index, "Transferred " + std::to_string(records) + (records == 1 ? " record" : " records") +
                                  " from " + framework::printable(one.input.string(), framework::kPrintablePathLength) +
                                  " to " + framework::printable(output.string(), framework::kPrintablePathLength));
}

}  // namespace

int BatchJobs(const CommandLine& line, ApplicationKind application) {
    if (application == ApplicationKind::Calc) return 1;
    const int wanted = line.jobs > 0 ? line.jobs : usableCores();
    return static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(wanted), std::max<std::size_t>(line.inputs.size(), 1)));
}

std::size_t RunBatch(const CommandLine& line, ApplicationKind application, int jobs, BatchProgress& progress) {
    const std::vector<fs::path> outputs = BatchOutputPaths(line);
    std::atomic<std::size_t> next = 0;
    auto job = [&](int number) {
        const std::string name = "tabulix-job" + std::to_string(number);
        pthread_setname_np(pthread_self(), name.c_str());
        for (std::size_t index = next++; index < line.inputs.size(); index = next++) {
            progress.Started(index, framework::printable(line.inputs[index].string(), framework::kPrintablePathLength));
            try {
                transferOne(line, index, outputs[index], application, progress);
            } catch (const std::exception& e) {
                progress.Failed(index, e.what());
                // Whatever the failed transfer left open goes with the application.
                automation::shutDownRunningApplication();
            }
        }
        ShutDownApplication(application);
        automation::shutDownRunningApplication();
    };
    std::vector<std::jthread> threads;
    for (int number = 1; number <= jobs; ++number) threads.emplace_back(job, number);
    threads.clear();  // joins
    return progress.failures();
}

}  // namespace tabulix::cli
