#pragma once
// What the tabulix program does with the signals that stop it, so that a stopped run leaves no
// half-written file behind and a file size limit fails a save cleanly.

namespace tabulix::cli {

// SIGINT, SIGTERM, SIGHUP and SIGPIPE remove the files being saved (framework::RemovePendingFiles)
// and then end the program by the same signal, so that its parent learns why it stopped (a shell
// reports 130 for SIGINT and 143 for SIGTERM, and a script's loop stops on Ctrl-C). SIGXFSZ is
// ignored: a save beyond the file size limit (ulimit -f) then fails with "File too large" like
// one on a full disk. Call once at start-up, before any thread is started.
void InstallSignalCleanup();

}  // namespace tabulix::cli
