#pragma once
/// @file
/// An optional record of automation calls, in order, for tests and for tracing.
///
/// Thread rule: a journal records the calls of the objects it is attached to on their thread, and
/// calls its listener there; attach one journal to one thread's application.

#include <functional>
#include <string>
#include <vector>

#include "automation/dispatch.h"
#include "framework/export.h"

namespace tabulix::automation {

/// @brief One automation call as a journal records it.
/// @threads A value.
struct TABULIX_API JournalEntry {
    /// The callee's typeName().
    std::string object;
    /// The member's name, or "#<id>" when the number is unknown.
    std::string member;
    /// The member's number.
    DispId id = 0;
    /// Get, put or method call.
    InvokeKind kind = InvokeKind::Method;
    /// The arguments, in call order.
    std::vector<Variant> args;
    /// The locale identifier sent with the call.
    Lcid lcid = kLcidNeutral;

    /// One line such as: Range.Value put [Text("x")] lcid=0x0C0A
    std::string describe() const;
};

/// @brief A record of automation calls, in order, for tests and for tracing (`tabulix --trace`).
/// @threads Used from the thread of the objects it records.
class TABULIX_API CallJournal {
public:
    /// Records a call: keeps it (unless keeping is off) and tells the listener.
    /// @param entry the call.
    void record(JournalEntry entry);
    /// The calls kept, in order.
    const std::vector<JournalEntry>& entries() const { return entries_; }
    /// Forgets the calls kept.
    void clear() { entries_.clear(); }
    /// Keeps the calls, or only tells the listener.
    /// @param keep false to keep none.
    void setKeeping(bool keep) { keeping_ = keep; }
    /// Sets the function told of every recorded call, e.g. to print a trace.
    /// @param listener the function, or an empty one for none.
    void setListener(std::function<void(const JournalEntry&)> listener) { listener_ = std::move(listener); }

private:
    std::vector<JournalEntry> entries_;
    std::function<void(const JournalEntry&)> listener_;
    bool keeping_ = true;
};

}  // namespace tabulix::automation
