#pragma once
// A Calc document's properties as Workbook.BuiltinDocumentProperties: Item(name) gives a
// property whose Value (its default member) is read and set. Calc keeps title, subject,
// author, comments and the creation and modification times itself; the company is one of the
// document's own properties, which Calc writes where the file keeps the company.

#include <memory>
#include <string>

#include "office/calc_object.h"

namespace tabulix::office {

class CalcWorkbook;

class CalcDocumentProperties final : public CalcObject {
public:
    explicit CalcDocumentProperties(std::shared_ptr<CalcWorkbook> book);
    std::string_view typeName() const override { return "DocumentProperties"; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const CalcCall& call) override;

    std::shared_ptr<CalcWorkbook> book_;
};

class CalcDocumentProperty final : public CalcObject {
public:
    CalcDocumentProperty(std::shared_ptr<CalcWorkbook> book, std::size_t index);
    std::string_view typeName() const override { return "DocumentProperty"; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const CalcCall& call) override;

    std::shared_ptr<CalcWorkbook> book_;
    std::size_t index_;
};

}  // namespace tabulix::office
