// Starts Calc, puts a value into a new workbook and prints the soffice process id; then, as the
// argument says, crashes ("crash") or returns from main without shutting Calc down ("return").
// The office tests and scripts/calc_exit_runs.py check that neither leaves soffice or its files
// behind, and that returning exits cleanly.

#include <csignal>
#include <cstring>
#include <iostream>

#include "automation/application_provider.h"
#include "automation/dispids.h"
#include "office/calc_provider.h"

int main(int argc, char** argv) {
    using namespace tabulix;
    using automation::Variant;
    if (argc != 2 || (std::strcmp(argv[1], "crash") != 0 && std::strcmp(argv[1], "return") != 0)) {
        std::cerr << "usage: office_exit_helper crash|return\n";
        return 2;
    }
    office::InstallCalcProvider(office::CalcOptionsFromEnvironment());
    const automation::DispatchPtr book = automation::attachOrStartApplication()
                                             ->get(automation::dispid::Workbooks)
                                             .toObject()
                                             ->call(automation::dispid::Add)
                                             .toObject();
    book->get(automation::dispid::ActiveSheet)
        .toObject()
        ->get(automation::dispid::Range, {Variant("A1"), Variant("A1")})
        .toObject()
        ->put(automation::dispid::Value, Variant("hola"));
    std::cout << office::CalcProcessId() << std::endl;
    if (std::strcmp(argv[1], "crash") == 0) std::raise(SIGSEGV);
    return 0;
}
