#pragma once
// Calc as the Application object, and its Workbooks collection.

#include <memory>
#include <thread>

#include "office/calc_object.h"

namespace tabulix::office {

class CalcApplication final : public CalcObject {
public:
    // Made on the thread that uses it: its events are those of the workbooks that thread adds.
    explicit CalcApplication(std::shared_ptr<CalcSession> session) : CalcObject(std::move(session)) {}
    std::string_view typeName() const override { return "Application"; }
    automation::EventSource* events() override { return &session().applicationEvents(madeBy_); }
    std::thread::id madeBy() const { return madeBy_; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const CalcCall& call) override;
    void showWindows();

    std::thread::id madeBy_ = std::this_thread::get_id();
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
