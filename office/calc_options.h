#pragma once
// How LibreOffice Calc is started: which soffice, how long it may take, with or without its
// window. Shared by the program's side (which reports what is missing) and the Calc plug-in.

#include <chrono>
#include <filesystem>
#include <string>

namespace tabulix::office {

struct CalcOptions {
    // The suite's `soffice`; empty means $TABULIX_SOFFICE, else `soffice` on the PATH.
    std::filesystem::path soffice;
    // How long the suite may take to accept the connection.
    std::chrono::milliseconds startTimeout{90000};
    // Show the suite's window (needs a display); headless otherwise.
    bool visible = false;
};

// The options from the environment: TABULIX_SOFFICE, TABULIX_CALC_VISIBLE=1.
CalcOptions CalcOptionsFromEnvironment();

// The soffice that would be started, or empty when there is none.
std::filesystem::path FindSoffice(const CalcOptions& options);

// Why Calc cannot be started here (no soffice found), or empty when it can be tried.
std::string CalcUnavailableReason(const CalcOptions& options);

}  // namespace tabulix::office
