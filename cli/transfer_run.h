#pragma once
// Running a transfer into a new workbook of the embedded spreadsheet and saving it.

#include <filesystem>
#include <ostream>

namespace tabulix::component {
class TTabulix;
}

namespace tabulix::cli {

class ProgressBar;

struct RunOptions {
    std::ostream* trace = nullptr;     // every automation call, one line each; null for none
    ProgressBar* progress = nullptr;   // told of the records done; null for none
};

// Checks that `output` can be written to (its folder exists, it is not a folder), runs
// TraspasarNuevoLibro and saves the new workbook through its SaveAs. The embedded spreadsheet
// must be installed. Raises std::runtime_error naming the component or the file; a failed run
// writes nothing (the save replaces the file only when it succeeds).
void TransferAndSave(component::TTabulix& tabulix, const std::filesystem::path& output, const RunOptions& options);

}  // namespace tabulix::cli
