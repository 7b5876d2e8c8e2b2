// tabulix: transfers a data set into a new workbook and saves it as an .xlsx file.
//   tabulix FORMFILE [-o OUT.xlsx] [--component NAME] [--application embedded|calc] [--trace]
//   tabulix --dbf FILE.DBF [--code-page PAGE] [--title T] [-o OUT.xlsx]
//   tabulix --sqlite DB.sqlite --sql "SELECT ..." [--keep-rows-in-memory] [--title T] [-o OUT.xlsx]

#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/application_choice.h"
#include "cli/command_line.h"
#include "cli/progress_bar.h"
#include "cli/source_checks.h"
#include "cli/transfer_run.h"
#include "cli/transfer_source.h"
#include "component/tabulix.h"

using namespace tabulix;

namespace {

cli::TransferSource loadSource(const cli::CommandLine& line) {
    switch (line.source) {
        case cli::SourceKind::DbfFile: return cli::DbfSource(line.input, line.title, line.codePage);
        case cli::SourceKind::SqliteQuery:
            return cli::SqliteSource(line.input, line.sql, line.title, line.keepRowsInMemory);
        case cli::SourceKind::FormFile: break;
    }
    return cli::LoadFormSource(line.input, line.component);
}

int run(const cli::CommandLine& line) {
    const std::filesystem::path output = cli::OutputPath(line);
    const cli::ApplicationKind application = cli::ChooseApplication(line.application);
    cli::InstallApplication(application);
    cli::RegisterProgramClasses();
    cli::TransferSource source = loadSource(line);
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

    const std::int64_t records = cli::RecordsWritten(*source.tabulix);
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
