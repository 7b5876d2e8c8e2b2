#pragma once
// A Calc document's defined names as Workbook.Names: Add(Name, RefersTo, Visible), Item(index or
// name), Count; a Name: Name, RefersTo, Delete. References come and go in the spreadsheet's
// notation ("='Hoja 1'!$A$3:$C$9"), Calc keeps them in its own ("$'Hoja 1'.$A$3:$C$9").

#include <memory>
#include <optional>
#include <string>

#include "office/calc_object.h"

namespace tabulix::office {

class CalcWorkbook;

class CalcNames final : public CalcObject {
public:
    explicit CalcNames(std::shared_ptr<CalcWorkbook> book);
    std::string_view typeName() const override { return "Names"; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const CalcCall& call) override;

    std::shared_ptr<CalcWorkbook> book_;
};

class CalcName final : public CalcObject {
public:
    CalcName(std::shared_ptr<CalcWorkbook> book, std::string name);
    std::string_view typeName() const override { return "Name"; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const CalcCall& call) override;

    std::shared_ptr<CalcWorkbook> book_;
    std::string name_;
};

// "='Hoja 1'!$A$3:$C$9" (or "=B2", on `activeSheet`) in Calc's notation, "$'Hoja 1'.$A$3:$C$9";
// nothing for what names no cells.
std::optional<std::string> calcReference(const std::string& refersTo, const std::string& activeSheet);
// Calc's "$'Hoja 1'.$A$3:$C$9" in the spreadsheet's notation, "='Hoja 1'!$A$3:$C$9".
std::string spreadsheetReference(const std::string& content);

}  // namespace tabulix::office
