#pragma once
// Running a transfer into a new workbook and saving it.

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <stdexcept>

#include "cli/application_choice.h"

namespace tabulix::component {
class TTabulix;
}

namespace tabulix::cli {

class ProgressBar;

struct RunOptions {
    std::ostream* trace = nullptr;     // every automation call, one line each; null for none
    ProgressBar* progress = nullptr;   // told of the records done and of the save; null for none
    std::ostream* warnings = nullptr;  // one line per formula record that could not be placed
    bool strict = false;               // such a record fails the run before anything is saved
    ApplicationKind application = ApplicationKind::Embedded;  // the installed one
};

// A run that --strict failed: it warned, and nothing was written.
class StrictFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Checks that `output` can be written to (its folder exists, it is not a folder), runs
// TraspasarNuevoLibro and saves the new workbook (GuardarLibro). The application named in the
// options must be installed. Each formula record that cannot be placed is told to the warnings
// as it fails; with `strict` the run then raises StrictFailure instead of saving. Raises
// std::runtime_error naming the component or the file; a failed run writes nothing (the save
// replaces the file only when it succeeds).
void TransferAndSave(component::TTabulix& tabulix, const std::filesystem::path& output, const RunOptions& options);

// The records the component's last transfer wrote: its data rows, however many the data set
// would count now.
std::int64_t RecordsWritten(const component::TTabulix& tabulix);

}  // namespace tabulix::cli
