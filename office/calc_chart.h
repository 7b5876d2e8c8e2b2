#pragma once
// ChartWizard on a chart sheet: the chart of a block of cells that fills the sheet, built with
// the suite's chart. The thirteen gallery kinds map to Calc's diagram types; 3-D kinds use its
// 3-D property, and surfaces (Calc has none) become deep 3-D areas.

#include <memory>

#include "automation/member_object.h"

namespace tabulix::office {

class CalcSheet;

void runChartWizard(const automation::MemberCall& call, CalcSheet& chartSheet);

}  // namespace tabulix::office
