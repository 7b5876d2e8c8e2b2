#pragma once
/// @file
/// The thread an automation object belongs to.
///
/// Thread rule: an application object, and every object reached through it (workbooks, sheets,
/// ranges, ...), belongs to the thread that started it. Dispatch::invoke refuses a call made on
/// any other thread before it touches the object, with an AutomationError (kWrongThread) that
/// names the member and both threads. A ThreadOwner never changes once made, so any thread may
/// read it.

#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "framework/export.h"

namespace tabulix::automation {

/// @brief The thread an object belongs to, and the check that refuses calls from any other.
/// @threads Never changes once made: any thread may read it.
class TABULIX_API ThreadOwner {
public:
    /// Makes an owner for the calling thread.
    ThreadOwner();

    /// A shared owner for the calling thread, for objects that hand it on to the objects they
    /// make.
    /// @return the owner.
    static std::shared_ptr<const ThreadOwner> ofCurrentThread();

    /// Whether the calling thread is the owner.
    bool isCurrent() const { return id_ == std::this_thread::get_id(); }
    /// The owning thread as messages name it: "thread 4242 (report-2)".
    const std::string& description() const { return description_; }

    /// Does nothing on the owning thread; elsewhere refuses (see refuse).
    /// @param where the member called: "Range.Value", "TTabulix.Traspasar".
    /// @param whose what belongs to the thread: "its application", "the component".
    /// @throws AutomationError with kWrongThread from any other thread.
    void check(std::string_view where, std::string_view whose) const {
        if (!isCurrent()) refuse(where, whose);
    }
    /// Raises the error of a call from another thread:
    /// "<where>: called from thread 4243 (worker), but <whose> belongs to thread 4242 (main)".
    /// @param where the member called.
    /// @param whose what belongs to the thread.
    /// @throws AutomationError with kWrongThread, always.
    [[noreturn]] void refuse(std::string_view where, std::string_view whose) const;

private:
    std::thread::id id_;
    std::string description_;
};

/// The calling thread as messages name it: its system id and its name (the program's, or the one
/// it was given with pthread_setname_np).
TABULIX_API std::string CurrentThreadDescription();

}  // namespace tabulix::automation
