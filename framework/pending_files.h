#pragma once
/// @file
/// Files being written under a temporary name that nobody must find after the process ends: a
/// save's temporary file while it is written. A program's handler of SIGINT or SIGTERM calls
/// RemovePendingFiles, so that stopping it in the middle of a save leaves nothing behind.

#include <string>

#include "framework/export.h"

namespace tabulix::framework {

/// @brief Lists a file in the process-wide table of pending files while it lives.
///
/// The table holds a fixed number of files (128); beyond that, or for a name too long for it, a
/// file is simply not listed.
/// @threads Any thread may list and unlist files at any time.
class TABULIX_API PendingFile {
public:
    /// Lists a file.
    /// @param folder an open descriptor of the file's folder, or AT_FDCWD for a name relative to
    ///   the working folder or an absolute one; it must stay valid while the object lives.
    /// @param name the file's name in that folder.
    PendingFile(int folder, const std::string& name);
    /// Unlists the file (it is not removed).
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

private:
    int slot_;  // -1 when the table was full or the name too long
};

/// Removes every listed file. The files stay listed until their PendingFile ends, and removing
/// one twice does no harm.
/// @threads Async-signal-safe: may run in a signal handler on any thread.
TABULIX_API void RemovePendingFiles() noexcept;

/// Makes RemovePendingFiles call `remover` too: the RemovePendingFiles of a plug-in that carries
/// its own copy of this code, and so its own table, loaded at run time. A few can be added (a
/// handful of plug-ins); this function itself and one already added are ignored.
/// @param remover async-signal-safe, and loaded for as long as the process runs.
/// @threads Any thread.
TABULIX_API void AlsoRemovePendingFilesWith(void (*remover)() noexcept);

}  // namespace tabulix::framework
