#pragma once
// Checks and reports on what a run of `tabulix` reads, made once its data sets are open: the
// workbook must not replace any of the files read, and what the data sets noticed while opening
// (warnings, the code page of each table) is told on standard error.

#include <filesystem>
#include <ostream>
#include <vector>

#include "cli/command_line.h"

namespace tabulix::framework {
class TComponent;
}

namespace tabulix::cli {

// Every file the run reads: the form file (for a form-file run) and the files of every open data
// set under `root`.
std::vector<std::filesystem::path> InputFiles(const CommandLine& line, const framework::TComponent& root);

// Raises UsageError when `output` is one of `inputs` (the same file on disk: the same device and
// inode, through any hard or symbolic link).
void RefuseOutputOverInput(const std::filesystem::path& output, const std::vector<std::filesystem::path>& inputs);

// Writes the warnings of every open data set under `root` to `warnings`, and with `trace` the
// code page each open table or CSV file reads its texts in and why (and a CSV file's delimiter). Returns the number of warnings.
int ReportDataSets(const framework::TComponent& root, std::ostream& warnings, std::ostream* trace);

}  // namespace tabulix::cli
