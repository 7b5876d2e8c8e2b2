#include "cli/signal_cleanup.h"

#include <signal.h>

#include "framework/pending_files.h"

namespace tabulix::cli {

namespace {

extern "C" void removeFilesAndStop(int signal) {
    framework::RemovePendingFiles();
    // The default action, raised again once this handler returns (the signal is held meanwhile).
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

}  // namespace

void InstallSignalCleanup() {
    struct sigaction action {};
    action.sa_handler = removeFilesAndStop;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) sigaddset(&action.sa_mask, signal);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        struct sigaction previous {};
        // A signal ignored by whoever started us (nohup, a background job's SIGINT) stays ignored.
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
        ::sigaction(signal, &action, nullptr);
    }
    ::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace tabulix::cli
