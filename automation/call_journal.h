#pragma once
/// @file
/// An optional record of automation calls, in order, for tests and for tracing.

#include <functional>
#include <string>
#include <vector>

#include "automation/dispatch.h"
#include "framework/export.h"

namespace tabulix::automation {

struct TABULIX_API JournalEntry {
    std::string object;  ///< typeName() of the callee
    std::string member;  ///< member name (nameOfId), or "#<id>" when the id is unknown
    DispId id = 0;
    InvokeKind kind = InvokeKind::Method;
    std::vector<Variant> args;
    Lcid lcid = kLcidNeutral;

    /// One line such as: Range.Value put [Text("x")] lcid=0x0C0A
    std::string describe() const;
};

class TABULIX_API CallJournal {
public:
    void record(JournalEntry entry);
    const std::vector<JournalEntry>& entries() const { return entries_; }
    void clear() { entries_.clear(); }
    /// When false, calls are not kept (the listener still hears them).
    void setKeeping(bool keep) { keeping_ = keep; }
    /// Called for every recorded call, e.g. to print a trace.
    void setListener(std::function<void(const JournalEntry&)> listener) { listener_ = std::move(listener); }

private:
    std::vector<JournalEntry> entries_;
    std::function<void(const JournalEntry&)> listener_;
    bool keeping_ = true;
};

}  // namespace tabulix::automation
