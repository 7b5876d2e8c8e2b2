#pragma once
// Replacing a file as one step. The new content goes to a temporary file beside the target, is
// flushed to the disk, and is renamed over the target, after which the folder is flushed too:
// neither a failed write, nor a program stopped half-way, nor a power cut after the rename leaves
// a broken or empty file where the previous one was. A target that is a symbolic link keeps the
// link: the file it points to is replaced (its temporary file lies beside that file).
//
// Writes that exceed the process's file size limit (ulimit -f) fail with EFBIG like a full disk
// only where SIGXFSZ is ignored; a program that wants that error and not the signal ignores it.
//
// Thread rule: an AtomicFile belongs to the thread that uses it; several may be written at once.

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace tabulix::framework {

class PendingFile;

// Why a file could not be replaced; the message is the reason only (the caller names the file).
class AtomicFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class AtomicFile {
public:
    // Creates the temporary file for `target`. Raises AtomicFileError when the target exists and
    // is not a regular file (a folder, a device, a pipe), when its folder is missing or cannot
    // be written, or when a symbolic link leads nowhere it can follow. Temporary files of earlier
    // saves to the same name by processes that no longer run are removed.
    explicit AtomicFile(const std::filesystem::path& target);
    // Removes the temporary file unless Commit succeeded.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // The temporary file, open for writing and empty.
    int Descriptor() const { return fd_; }
    // The file that is replaced: the target with its symbolic links followed.
    const std::filesystem::path& Target() const { return target_; }

    // Flushes the content to the disk, gives it the permissions of the file it replaces (a new
    // file those of any new file), renames it over the target and flushes the folder. Raises
    // AtomicFileError with the system's reason; the target is then as it was.
    void Commit();

private:
    void discard() noexcept;

    std::filesystem::path target_;
    std::string folderName_;  // for messages
    std::string name_;        // the temporary file's name in its folder
    int folder_ = -1;
    int fd_ = -1;
    mode_t mode_ = 0;
    std::unique_ptr<PendingFile> pending_;
};

}  // namespace tabulix::framework
