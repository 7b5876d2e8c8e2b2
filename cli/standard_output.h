#pragma once
// The tabulix program's standard output: where a workbook goes with -o -, and checked writes, so
// that a full disk or a closed pipe is an error and not a silent success.

#include <filesystem>
#include <memory>

namespace tabulix::framework {
class PendingFile;
}

namespace tabulix::cli {

// A workbook bound for standard output. Every spreadsheet application saves to files (and an
// .xlsx file is written with seeks), so the workbook is saved to a temporary file first, then
// copied out; the file is removed afterwards, also when the program is stopped by a signal.
class StandardOutputWorkbook {
public:
    // Refuses (UsageError) when standard output is a terminal. Raises std::runtime_error when
    // no temporary file can be made ($TMPDIR, else /tmp).
    StandardOutputWorkbook();
    ~StandardOutputWorkbook();
    StandardOutputWorkbook(const StandardOutputWorkbook&) = delete;
    StandardOutputWorkbook& operator=(const StandardOutputWorkbook&) = delete;

    // The file to save the workbook to.
    const std::filesystem::path& File() const { return file_; }
    // Copies the saved workbook to standard output. Raises std::runtime_error with the reason.
    void CopyOut() const;

private:
    std::filesystem::path file_;
    std::unique_ptr<framework::PendingFile> pending_;
};

// Flushes std::cout. Raises std::runtime_error with the system's reason when what was written
// to it could not all be written.
void FlushStandardOutput();

}  // namespace tabulix::cli
