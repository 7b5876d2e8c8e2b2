#pragma once
// Common ground of the spreadsheet's automation objects: the member table and argument handling
// every application's objects share (automation/member_object.h), and the call journal of the
// owning application.
//
// Thread rule: every object belongs to the thread that started its application, for its whole
// life (a closed workbook's too); automation calls from another thread are refused before they
// touch it (automation/thread_owner.h). The C++ members are unchecked: use them on that thread.

#include <span>

#include "automation/member_object.h"
#include "automation/thread_owner.h"

namespace tabulix::spreadsheet {

class Application;

using Call = automation::MemberCall;

class ModelObject : public automation::MemberObject {
public:
    // The application that owns this object, or nullptr once it is detached from it (a closed
    // workbook, its sheets and their ranges).
    virtual Application* application() const = 0;
    // Never null, and never changes.
    const automation::ThreadOwner* threadOwner() const override = 0;

protected:
    virtual automation::Variant invokeMember(const Call& call) = 0;

    automation::Variant doInvoke(automation::DispId id, automation::InvokeKind kind,
                                 std::span<const automation::Variant> args, automation::Lcid lcid) final;
    automation::CallJournal* journal() const override;
};

}  // namespace tabulix::spreadsheet
