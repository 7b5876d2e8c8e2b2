#pragma once
// A sheet of a Calc document as a Worksheet, or as a Chart when it is one of the workbook's
// chart sheets. Sheet names follow the spreadsheet's rules (not empty, at most 31 characters,
// none of : \ / ? * [ ], unique ignoring case), which are stricter than Calc's own.

#include <memory>

#include <com/sun/star/sheet/XSpreadsheet.hpp>

#include "office/calc_object.h"

namespace tabulix::office {

class CalcWorkbook;

class CalcSheet final : public CalcObject {
public:
    CalcSheet(std::shared_ptr<CalcWorkbook> book, css::uno::Reference<css::sheet::XSpreadsheet> sheet, bool chart);

    std::string_view typeName() const override { return chart_ ? "Chart" : "Worksheet"; }
    const css::uno::Reference<css::sheet::XSpreadsheet>& sheet() const { return sheet_; }
    const std::shared_ptr<CalcWorkbook>& workbook() const { return book_; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const CalcCall& call) override;
    bool passesPendingCells(const CalcCall& call) const override;
    void rename(const CalcCall& call, const std::string& name);

    std::shared_ptr<CalcWorkbook> book_;
    css::uno::Reference<css::sheet::XSpreadsheet> sheet_;
    bool chart_;
};

// The name of a sheet.
std::string sheetName(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet);

}  // namespace tabulix::office
