#pragma once
// An optional record of automation calls, in order, for tests and for tracing.
//
// Thread rule: a journal records the calls of the objects it is attached to on their thread, and
// calls its listener there; attach one journal to one thread's application.

#include <functional>
#include <string>
#include <vector>

#include "automation/dispatch.h"

namespace tabulix::automation {

struct JournalEntry {
    std::string object;  // typeName() of the callee
    std::string member;  // member name (nameOfId), or "#<id>" when the id is unknown
    DispId id = 0;
    InvokeKind kind = InvokeKind::Method;
    std::vector<Variant> args;
    Lcid lcid = kLcidNeutral;

    // One line such as: Range.Value put [Text("x")] lcid=0x0C0A
    std::string describe() const;
};

class CallJournal {
public:
    void record(JournalEntry entry);
    const std::vector<JournalEntry>& entries() const { return entries_; }
    void clear() { entries_.clear(); }
    // When false, calls are not kept (the listener still hears them).
    void setKeeping(bool keep) { keeping_ = keep; }
    // Called for every recorded call, e.g. to print a trace.
    void setListener(std::function<void(const JournalEntry&)> listener) { listener_ = std::move(listener); }

private:
    std::vector<JournalEntry> entries_;
    std::function<void(const JournalEntry&)> listener_;
    bool keeping_ = true;
};

}  // namespace tabulix::automation
