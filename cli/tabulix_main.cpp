// tabulix: transfers a data set into a new workbook and saves it as an .xlsx file.
//   tabulix FORMFILE [-o OUT.xlsx] [--component NAME] [--application embedded|calc] [--trace]
//   tabulix --dbf FILE.DBF [--code-page PAGE] [--title T] [-o OUT.xlsx]
//   tabulix --sqlite DB.sqlite --sql "SELECT ..." [--title T] [-o OUT.xlsx]
//   tabulix FORMFILE... [--output-dir DIR] [--jobs N]     (and --dbf FILE --dbf FILE2 ...)

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
#include "cli/source_checks.h"
#include "cli/transfer_run.h"
#include "cli/transfer_source.h"
#include "component/tabulix.h"
#include "data/data_set.h"

using namespace tabulix;

namespace {

// Several inputs, each to its own workbook: 0 when every one was transferred, else 1.
int runBatch(const cli::CommandLine& line) {
    cli::BatchOutputPaths(line);  // refuses clashing names before anything runs
    if (!line.outputDir.empty()) {
        std::error_code error;
        std::filesystem::create_directories(line.outputDir, error);
        if (error || !std::filesystem::is_directory(line.outputDir))
            throw std::runtime_error("cannot make the output folder \"" + line.outputDir.string() +
                                     "\"" + (error ? ": " + error.message() : ": a file has that name"));
    }
    const cli::ApplicationKind application = cli::ChooseApplication(line.application);
    cli::InstallApplication(application);
    cli::RegisterProgramClasses();
    cli::BatchProgress progress(std::cout, std::cerr, line.inputs.size(), cli::StandardErrorIsTerminal());
    const std::size_t failed =
        cli::RunBatch(line, application, cli::BatchJobs(line, application), progress);
    if (failed != 0)
        std::cerr << "tabulix: " << failed << " of " << line.inputs.size() << " inputs failed\n";
    return failed == 0 ? 0 : 1;
}

int run(const cli::CommandLine& line) {
    if (line.batch) return runBatch(line);
    const std::filesystem::path output = cli::OutputPath(line);
    const cli::ApplicationKind application = cli::ChooseApplication(line.application);
    cli::InstallApplication(application);
    cli::RegisterProgramClasses();
    cli::TransferSource source = cli::LoadSource(line);
    cli::RefuseOutputOverInput(output, cli::InputFiles(line, *source.root));
    cli::ReportDataSets(*source.root, std::cerr, line.trace ? &std::cerr : nullptr);

    std::unique_ptr<cli::ProgressBar> bar;
    if (cli::StandardErrorIsTerminal() && !line.trace) bar = std::make_unique<cli::ProgressBar>(std::cerr);
    cli::RunOptions options;
    options.trace = line.trace ? &std::cerr : nullptr;
    options.progress = bar.get();
    options.application = application;
    cli::TransferAndSave(*source.tabulix, output, options);
    cli::ShutDownApplication(application);

    const std::int64_t records = source.tabulix->Datos()->RecordCount();
    std::cout << "Transferred " << records << (records == 1 ? " record" : " records") << " to " << output.string()
              << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    cli::CommandLine line;
    try {
        line = cli::ParseCommandLine(args);
    } catch (const cli::UsageError& e) {
        std::cerr << "tabulix: " << e.what() << "\n(tabulix --help describes the command line)\n";
        return 2;
    }
    if (line.help) {
        std::cout << cli::UsageText();
        return 0;
    }
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
