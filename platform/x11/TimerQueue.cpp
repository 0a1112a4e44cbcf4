// TimerQueue.cpp — repeating timers fired from the editor's idle calls.
#include "platform/x11/TimerQueue.h"

#include <algorithm>
#include <utility>

namespace platform::x11 {

TimerQueue::Id TimerQueue::add(std::uint32_t intervalMilliseconds, std::function<void()> tick,
                               std::uint64_t nowMilliseconds) {
    // Zero would fire on every idle call; Windows raises such intervals to its minimum too.
    const std::uint32_t interval = std::max<std::uint32_t>(intervalMilliseconds, 1);
    const Id id = nextId_++;
    Entry& entry = timers_[id];
    entry.interval = interval;
    entry.due = nowMilliseconds + interval;
    entry.tick = std::move(tick);
    return id;
}

void TimerQueue::remove(Id id) {
    auto found = timers_.find(id);
    if (found == timers_.end()) return;
    if (id == running_) {
        // Its callback is on the stack: erase it once the callback has returned.
        found->second.removed = true;
        return;
    }
    timers_.erase(found);
}

void TimerQueue::fireDue(std::uint64_t nowMilliseconds) {
    // 1. Pick the due timers first, so that timers started by a callback wait for the next call.
    dueIds_.clear();
    for (const auto& [id, entry] : timers_) {
        if (!entry.removed && entry.due <= nowMilliseconds) dueIds_.push_back(id);
    }
    // 2. Run them in id order, skipping any that an earlier callback stopped.
    for (std::size_t i = 0; i < dueIds_.size(); ++i) {
        const Id id = dueIds_[i];
        auto found = timers_.find(id);
        if (found == timers_.end() || found->second.removed) continue;
        Entry& entry = found->second;
        entry.due = nowMilliseconds + entry.interval;
        const Id outer = running_;
        running_ = id;
        if (entry.tick) entry.tick();
        running_ = outer;
        // 3. A timer stopped from inside its own callback goes now.
        auto after = timers_.find(id);
        if (after != timers_.end() && after->second.removed) timers_.erase(after);
    }
}

}  // namespace platform::x11
