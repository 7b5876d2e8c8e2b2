#pragma once
// A batch run of `tabulix`: several form files (or dBASE tables), each transferred into a workbook
// of its own, up to a number of them at once.
//
// Thread rule: each job is a thread of its own, which loads its inputs, connects its own
// application (the embedded spreadsheet gives each thread a separate one) and saves its
// workbooks; jobs share only the installed provider, the class registry and the progress.

#include <cstddef>

#include "cli/application_choice.h"
#include "cli/command_line.h"

namespace tabulix::cli {

class BatchProgress;

// The number of jobs to run: --jobs, else the cores this process may use; never more than the
// inputs, and one for Calc (a single office process that takes one call at a time).
int BatchJobs(const CommandLine& line, ApplicationKind application);

// Transfers every input of `line` into BatchOutputPaths(line), `jobs` at once, telling
// `progress` of each; a failed input does not stop the others. The application and the program's
// classes must be installed. Returns how many inputs failed.
std::size_t RunBatch(const CommandLine& line, ApplicationKind application, int jobs, BatchProgress& progress);

}  // namespace tabulix::cli
