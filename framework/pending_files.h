#pragma once
// Files being written under a temporary name that nobody must find after the process ends: a
// save's temporary file while it is written. A program's handler of SIGINT or SIGTERM calls
// RemovePendingFiles, so that stopping it in the middle of a save leaves nothing behind.
//
// Thread rule: any thread may register and unregister files at any time; RemovePendingFiles is
// async-signal-safe and may run in a signal handler on any thread. The table is process-wide
// (signals are) and holds a fixed number of files; beyond that a file is simply not listed.

#include <string>

namespace tabulix::framework {

// Lists a file while it lives. `folder` is an open descriptor of the file's folder (or AT_FDCWD
// for a name relative to the working folder, or an absolute one); both must stay valid while it
// lives.
class PendingFile {
public:
    PendingFile(int folder, const std::string& name);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

private:
    int slot_;  // -1 when the table was full or the name too long
};

// Removes every listed file. Async-signal-safe; the files stay listed until their PendingFile
// ends, and removing one twice does no harm.
void RemovePendingFiles() noexcept;

// Makes RemovePendingFiles call `remover` too: the RemovePendingFiles of a plug-in that carries
// its own copy of this code, and so its own table, loaded at run time. `remover` must be
// async-signal-safe and stay loaded. A few can be added (a handful of plug-ins); this function
// itself and one already added are ignored. Any thread.
void AlsoRemovePendingFilesWith(void (*remover)() noexcept);

}  // namespace tabulix::framework
