// Starts Calc, prints the soffice process id, then crashes: the office tests check that the
// suite does not outlive it.

#include <csignal>
#include <iostream>

#include "automation/application_provider.h"
#include "automation/dispids.h"
#include "office/calc_provider.h"

int main() {
    using namespace tabulix;
    office::InstallCalcProvider(office::CalcOptionsFromEnvironment());
    automation::attachOrStartApplication()->get(automation::dispid::Workbooks);
    std::cout << office::CalcProcessId() << std::endl;
    std::raise(SIGSEGV);
    return 0;
}
