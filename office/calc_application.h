#pragma once
// Calc as the Application object, and its Workbooks collection.

#include <memory>

#include "office/calc_object.h"

namespace tabulix::office {

class CalcApplication final : public CalcObject {
public:
    explicit CalcApplication(std::shared_ptr<CalcSession> session) : CalcObject(std::move(session)) {}
    std::string_view typeName() const override { return "Application"; }
    automation::EventSource* events() override { return &session().applicationEvents(); }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const CalcCall& call) override;
    void showWindows();
};

class CalcWorkbooks final : public CalcObject {
public:
    explicit CalcWorkbooks(std::shared_ptr<CalcSession> session) : CalcObject(std::move(session)) {}
    std::string_view typeName() const override { return "Workbooks"; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const CalcCall& call) override;
};

}  // namespace tabulix::office
