#pragma once
// A Calc sheet's PageSetup as automation sees it: margins in points, orientation, zoom or fitting
// to pages, the rows printed on every page, and the header and footer texts with their codes
// (&P page, &N pages, &D date, &T time, &A sheet, &F file, && an "&"). Calc keeps these in page
// styles that sheets share: the first change gives the sheet a page style of its own, so that
// other sheets print as before.

#include <memory>

#include "office/calc_object.h"

namespace tabulix::office {

class CalcSheet;

class CalcPageSetup final : public CalcObject {
public:
    explicit CalcPageSetup(std::shared_ptr<CalcSheet> sheet);
    std::string_view typeName() const override { return "PageSetup"; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const CalcCall& call) override;

    std::shared_ptr<CalcSheet> sheet_;
};

}  // namespace tabulix::office
