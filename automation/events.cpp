#include "automation/events.h"

#include <algorithm>

namespace tabulix::automation {

EventSource::Cookie EventSource::advise(EventSink& sink) {
    const Cookie cookie = next_++;
    sinks_.push_back(Entry{cookie, &sink});
    return cookie;
}

void EventSource::unadvise(Cookie cookie) {
    std::erase_if(sinks_, [cookie](const Entry& e) { return e.cookie == cookie; });
}

std::size_t EventSource::sinkCount() const { return sinks_.size(); }

void EventSource::raise(DispId event, std::span<Variant> args) {
    // A handler may unadvise sinks (its own or others) while we deliver: work from a snapshot of
    // cookies and look each one up again just before calling it.
    std::vector<Cookie> cookies;
    cookies.reserve(sinks_.size());
    for (const Entry& e : sinks_) cookies.push_back(e.cookie);
    for (Cookie cookie : cookies) {
        auto it = std::find_if(sinks_.begin(), sinks_.end(), [cookie](const Entry& e) { return e.cookie == cookie; });
        if (it != sinks_.end()) it->sink->onEvent(event, args);
    }
}

}  // namespace tabulix::automation
