#pragma once
// Outgoing events of automation objects (the connection point of COM, reduced to what we need).
// Events are delivered synchronously on the caller's thread, also in the middle of an outgoing
// call; a sink may be unadvised, and may unadvise others, while an event is being delivered.
//
// Thread rule: events are raised on the thread that owns the object. advise and unadvise may
// come from any thread (a connection freed on another thread unadvises there); a sink must stay
// alive until unadvised, and no other thread may free it while an event is being delivered to it.

#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "automation/dispatch.h"

namespace tabulix::automation {

class EventSink {
public:
    virtual ~EventSink() = default;
    // args are by reference: a handler may change them (the cancel flag of before-close).
    virtual void onEvent(DispId event, std::span<Variant> args) = 0;
};

class EventSource {
public:
    using Cookie = std::uint64_t;

    Cookie advise(EventSink& sink);
    void unadvise(Cookie cookie);
    std::size_t sinkCount() const;

    // Delivers to every sink advised when the call starts and still advised when its turn comes.
    void raise(DispId event, std::span<Variant> args);

private:
    struct Entry {
        Cookie cookie;
        EventSink* sink;
    };
    EventSink* find(Cookie cookie) const;

    mutable std::mutex lock_;  // guards sinks_ and next_; never held while a sink runs
    std::vector<Entry> sinks_;
    Cookie next_ = 1;
};

}  // namespace tabulix::automation
