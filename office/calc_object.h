#pragma once
// Common ground of the objects that present Calc through automation::Dispatch: the member table
// and argument handling every application's objects share (automation/member_object.h), the
// session's call journal, UNO errors turned into AutomationError, and the suite's events
// delivered after every call.

#include <memory>
#include <span>

#include "automation/member_object.h"
#include "office/calc_session.h"

namespace tabulix::office {

using CalcCall = automation::MemberCall;

class CalcObject : public automation::MemberObject {
public:
    explicit CalcObject(std::shared_ptr<CalcSession> session) : session_(std::move(session)) {}

    CalcSession& session() const { return *session_; }
    const std::shared_ptr<CalcSession>& sessionPtr() const { return session_; }

protected:
    virtual automation::Variant invokeMember(const CalcCall& call) = 0;
    // Whether the call can go ahead of the cell values the session keeps unwritten: only calls
    // that neither read nor change cells (naming a range) or that keep a value themselves.
    virtual bool passesPendingCells(const CalcCall&) const { return false; }

    automation::Variant doInvoke(automation::DispId id, automation::InvokeKind kind,
                                 std::span<const automation::Variant> args, automation::Lcid lcid) final;
    automation::CallJournal* journal() const override { return session_->journal(); }

private:
    std::shared_ptr<CalcSession> session_;
};

}  // namespace tabulix::office
