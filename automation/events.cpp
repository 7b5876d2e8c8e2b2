#include "automation/events.h"

#include <algorithm>

namespace tabulix::automation {

EventSource::Cookie EventSource::advise(EventSink& sink) {
    const std::lock_guard<std::mutex> hold(lock_);
    const Cookie cookie = next_++;
    sinks_.push_back(Entry{cookie, &sink});
    return cookie;
}

void EventSource::unadvise(Cookie cookie) {
    const std::lock_guard<std::mutex> hold(lock_);
    std::erase_if(sinks_, [cookie](const Entry& e) { return e.cookie == cookie; });
}

std::size_t EventSource::sinkCount() const {
    const std::lock_guard<std::mutex> hold(lock_);
    return sinks_.size();
}

EventSink* EventSource::find(Cookie cookie) const {
    const std::lock_guard<std::mutex> hold(lock_);
    auto it = std::find_if(sinks_.begin(), sinks_.end(), [cookie](const Entry& e) { return e.cookie == cookie; });
    return it != sinks_.end() ? it->sink : nullptr;
}

void EventSource::raise(DispId event, std::span<Variant> args) {
    // A handler may unadvise sinks (its own or others) while we deliver: work from a snapshot of
    // cookies and look each one up again just before calling it.
    std::vector<Cookie> cookies;
    {
        const std::lock_guard<std::mutex> hold(lock_);
        cookies.reserve(sinks_.size());
        for (const Entry& e : sinks_) cookies.push_back(e.cookie);
    }
    for (Cookie cookie : cookies)
        if (EventSink* sink = find(cookie)) sink->onEvent(event, args);
}

}  // namespace tabulix::automation
