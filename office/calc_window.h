#pragma once
// A Calc document's window as automation sees it (Workbook.Windows(1)): the scroll position of
// its active sheet and the rows and columns frozen at its top and left. Calc splits a window by
// pixels, which automation has no say in, so a split made here is always a frozen one: setting
// SplitRow or SplitColumn freezes there, FreezePanes = False takes the split away.

#include <memory>

#include "office/calc_object.h"

namespace tabulix::office {

class CalcWorkbook;

class CalcWindows final : public CalcObject {
public:
    explicit CalcWindows(std::shared_ptr<CalcWorkbook> book);
    std::string_view typeName() const override { return "Windows"; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const CalcCall& call) override;

    std::shared_ptr<CalcWorkbook> book_;
};

class CalcWindow final : public CalcObject {
public:
    explicit CalcWindow(std::shared_ptr<CalcWorkbook> book);
    std::string_view typeName() const override { return "Window"; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const CalcCall& call) override;

    std::shared_ptr<CalcWorkbook> book_;
};

}  // namespace tabulix::office
