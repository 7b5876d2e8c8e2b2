#pragma once
// What the office tests share: the one Calc of the test program, and short forms of the calls.

#include <string>

#include "automation/application_provider.h"
#include "automation/dispids.h"
#include "office/calc_provider.h"

namespace tabulix::office::testing {

// The running Calc, started with the provider on first use.
inline automation::DispatchPtr Calc() {
    if (!CalcIsRunning()) {
        automation::shutDownRunningApplication();
        InstallCalcProvider(CalcOptionsFromEnvironment());
    }
    return automation::attachOrStartApplication();
}

inline automation::DispatchPtr NewWorkbook() {
    using namespace automation;
    return Calc()->get(dispid::Workbooks).toObject()->call(dispid::Add, {Variant(xl::WBATWorksheet)}).toObject();
}

inline automation::DispatchPtr FirstSheet(const automation::DispatchPtr& book) {
    using namespace automation;
    return book->get(dispid::Worksheets).toObject()->get(dispid::Item, {Variant(std::int32_t{1})}).toObject();
}

inline automation::DispatchPtr Cell(const automation::DispatchPtr& sheet, const std::string& name) {
    using namespace automation;
    return sheet->get(dispid::Range, {Variant(name), Variant(name)}).toObject();
}

}  // namespace tabulix::office::testing
