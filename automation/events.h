#pragma once
/// @file
/// Outgoing events of automation objects (the connection point of COM, reduced to what we need).
/// Events are delivered synchronously on the caller's thread, also in the middle of an outgoing
/// call; a sink may be unadvised, and may unadvise others, while an event is being delivered.
///
/// Thread rule: events are raised on the thread that owns the object. advise and unadvise may
/// come from any thread (a connection freed on another thread unadvises there); a sink must stay
/// alive until unadvised, and no other thread may free it while an event is being delivered to it.

#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "automation/dispatch.h"
#include "framework/export.h"

namespace tabulix::automation {

/// @brief Hears the events of the objects it is advised to.
/// @threads Events arrive on the thread of the call that caused them.
class TABULIX_API EventSink {
public:
    /// Frees the sink; unadvise it first.
    virtual ~EventSink() = default;
    /// Called for each event.
    /// @param event the event's number (dispid::SheetActivate, ...).
    /// @param args the event's arguments, by reference: a handler may change them (the cancel flag
    ///   of before-close).
    virtual void onEvent(DispId event, std::span<Variant> args) = 0;
};

/// @brief The sinks advised to an object's events, and their delivery.
/// @threads Used from the thread of its object.
class TABULIX_API EventSource {
public:
    /// Names an advised sink.
    using Cookie = std::uint64_t;

    /// Adds a sink; it must outlive its advice.
    /// @param sink the sink.
    /// @return the cookie that unadvises it.
    Cookie advise(EventSink& sink);
    /// Removes a sink, also while an event is being delivered; an unknown cookie does nothing.
    /// @param cookie what advise returned.
    void unadvise(Cookie cookie);
    /// The number of advised sinks.
    std::size_t sinkCount() const;

    /// Delivers an event to every sink advised when the call starts and still advised when its
    /// turn comes.
    /// @param event the event's number.
    /// @param args its arguments, by reference.
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
