// The office tests share one soffice: it is started by the first test that needs it and ended
// after the last. The Calc code is linked in, not loaded as the plug-in (the loader has tests of
// its own). Without soffice the whole program is skipped (exit code 77), saying why.

#include <gtest/gtest.h>

#include <iostream>

#include "office/calc_plugin.h"
#include "office/calc_provider.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const std::string reason = tabulix::office::CalcUnavailableReason(tabulix::office::CalcOptionsFromEnvironment());
    if (!reason.empty()) {
        std::cout << "Skipping the office tests: " << reason << "\n";
        return 77;
    }
    tabulix::office::UseCalcPlugin(tabulix::office::LinkedCalcPlugin());
    const int result = RUN_ALL_TESTS();
    tabulix::office::ShutDownCalc();
    return result;
}
