// tabulix: transfers a data set into a new workbook and saves it as an .xlsx file.
//   tabulix FORMFILE [-o OUT.xlsx] [--component NAME] [--application embedded|calc] [--trace]
//   tabulix --dbf FILE.DBF [--code-page PAGE] [--title T] [-o OUT.xlsx]
//   tabulix --csv FILE.csv [--delimiter D] [--code-page PAGE] [--title T] [-o OUT.xlsx]
//   tabulix --sqlite DB.sqlite --sql "SELECT ..." [--keep-rows-in-memory] [--title T] [-o OUT.xlsx]
//   tabulix --pg CONNECTION --sql "SELECT ..." [--title T] -o OUT.xlsx
//   tabulix --odbc CONNECTION --sql "SELECT ..." [--title T] -o OUT.xlsx
//   tabulix FORMFILE... [--output-dir DIR] [--jobs N]     (and --dbf A --dbf B ..., --csv A --csv B ...)
// (-o - for standard output; --quiet, --strict, --version, --help)

#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/application_choice.h"
#include "cli/batch_progress.h"
#include "cli/batch_run.h"
#include "cli/command_line.h"
#include "cli/progress_bar.h"
#include "cli/signal_cleanup.h"
#include "cli/source_checks.h"
#include "cli/standard_output.h"
#include "cli/transfer_run.h"
#include "cli/transfer_source.h"
#include "component/tabulix.h"
#include "framework/printable.h"
#include "framework/version.h"

using namespace tabulix;

namespace {

// Prints the run's closing line where it does not mix with a workbook on standard output.
void sayDone(const cli::CommandLine& line, std::int64_t records, const std::string& where) {
    if (line.quiet) return;
    std::ostream& out = line.toStandardOutput ? std::cerr : std::cout;
    out << "Transferred " << records << (records == 1 ? " record" : " records") << " to " << where << "\n";
}

// Several inputs, each to its own workbook: 0 when every one was transferred, else 1.
int runBatch(const cli::CommandLine& line) {
    cli::BatchOutputPaths(line);  // refuses clashing names before anything runs
    if (!line.outputDir.empty()) {
        std::error_code error;
        std::filesystem::create_directories(line.outputDir, error);
        if (error || !std::filesystem::is_directory(line.outputDir))
            throw std::runtime_error("cannot make the output folder " + framework::quotedPath(line.outputDir) +
                                     (error ? ": " + error.message() : ": a file has that name"));
    }
    const cli::ApplicationKind application = cli::ChooseApplication(line.application);
    cli::InstallApplication(application);
    cli::RegisterProgramClasses();
    cli::BatchProgress progress(std::cout, std::cerr, line.inputs.size(), !line.quiet,
                                !line.quiet && cli::StandardErrorIsTerminal());
    const std::size_t failed = cli::RunBatch(line, application, cli::BatchJobs(line, application), progress);
    if (failed != 0) std::cerr << "tabulix: " << failed << " of " << line.inputs.size() << " inputs failed\n";
    cli::FlushStandardOutput();
    return failed == 0 ? 0 : 1;
}

int run(const cli::CommandLine& line) {
    if (line.batch) return runBatch(line);
    std::unique_ptr<cli::StandardOutputWorkbook> toStandardOutput;
    if (line.toStandardOutput) toStandardOutput = std::make_unique<cli::StandardOutputWorkbook>();
    const std::filesystem::path output = toStandardOutput ? toStandardOutput->File() : cli::OutputPath(line);
    const cli::ApplicationKind application = cli::ChooseApplication(line.application);
    cli::InstallApplication(application);
    const cli::ApplicationShutdown shutdown(application);
    cli::RegisterProgramClasses();
    cli::TransferSource source = cli::LoadSource(line);
    if (!toStandardOutput) cli::RefuseOutputOverInput(output, cli::InputFiles(line, *source.root));
    const int warnings = cli::ReportDataSets(*source.root, std::cerr, line.trace ? &std::cerr : nullptr);
    if (warnings > 0 && line.strict)
        throw cli::StrictFailure("the input gave " + std::to_string(warnings) +
                                 (warnings == 1 ? " warning" : " warnings") + "; nothing was saved (--strict)");

    std::unique_ptr<cli::ProgressBar> bar;
    if (cli::StandardErrorIsTerminal() && !line.trace && !line.quiet)
        bar = std::make_unique<cli::ProgressBar>(std::cerr);
    cli::RunOptions options;
    options.trace = line.trace ? &std::cerr : nullptr;
    options.progress = bar.get();
    options.warnings = &std::cerr;
    options.strict = line.strict;
    options.application = application;
    cli::ApplyFinishOptions(line.finish, *source.tabulix);
    cli::TransferAndSave(*source.tabulix, output, options);
    cli::ShutDownApplication(application);
    if (toStandardOutput) toStandardOutput->CopyOut();

    const std::int64_t records = cli::RecordsWritten(*source.tabulix);
    sayDone(line, records,
            toStandardOutput ? std::string("standard output")
                             : framework::printable(output.string(), framework::kPrintablePathLength));
    cli::FlushStandardOutput();
    return 0;
}

// Prints a text of --help or --version; a failed write is an error like any other.
int print(const std::string& text) {
    std::cout << text;
    try {
        cli::FlushStandardOutput();
    } catch (const std::exception& e) {
        std::cerr << "tabulix: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    cli::InstallSignalCleanup();
    const std::vector<std::string> args(argv + 1, argv + argc);
    cli::CommandLine line;
    try {
        line = cli::ParseCommandLine(args);
    } catch (const cli::UsageError& e) {
        std::cerr << "tabulix: " << e.what() << "\n(tabulix --help describes the command line)\n";
        return 2;
    }
    if (line.help) return print(cli::UsageText());
    if (line.version) return print(std::string("tabulix ") + version() + "\n");
    try {
        return run(line);
    } catch (const cli::UsageError& e) {
        std::cerr << "tabulix: " << e.what() << "\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "tabulix: " << e.what() << "\n";
        return 1;
    }
}
