#pragma once
// The thread an automation object belongs to.
//
// Thread rule: an application object, and every object reached through it (workbooks, sheets,
// ranges, ...), belongs to the thread that started it. Dispatch::invoke refuses a call made on
// any other thread before it touches the object, with an AutomationError (kWrongThread) that
// names the member and both threads. A ThreadOwner never changes once made, so any thread may
// read it.

#include <memory>
#include <string>
#include <string_view>
#include <thread>

namespace tabulix::automation {

class ThreadOwner {
public:
    // Owned by the calling thread.
    ThreadOwner();

    // A shared owner for the calling thread, for objects that hand it on to the objects they make.
    static std::shared_ptr<const ThreadOwner> ofCurrentThread();

    bool isCurrent() const { return id_ == std::this_thread::get_id(); }
    // "thread 4242 (report-2)", as messages name it.
    const std::string& description() const { return description_; }

    // Does nothing on the owning thread. Elsewhere raises AutomationError (kWrongThread):
    //   "<where>: called from thread 4243 (worker), but <whose> belongs to thread 4242 (main)"
    // where is "Range.Value" or "TTabulix.Traspasar"; whose is "its application", "the component".
    void check(std::string_view where, std::string_view whose) const {
        if (!isCurrent()) refuse(where, whose);
    }
    [[noreturn]] void refuse(std::string_view where, std::string_view whose) const;

private:
    std::thread::id id_;
    std::string description_;
};

// The calling thread as messages name it: its system id and its name (the program's, or the one
// it was given with pthread_setname_np).
std::string CurrentThreadDescription();

}  // namespace tabulix::automation
