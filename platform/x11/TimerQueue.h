// TimerQueue.h — repeating timers for a backend without a message loop of its own.
//
//   TimerQueue  timers keyed by id; fireDue(now) runs every timer whose time
//               has come, at most once per call, like coalesced WM_TIMER messages
//
// Callbacks may start and stop timers, their own included, while they run.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace platform::x11 {

class TimerQueue {
public:
    using Id = std::uint64_t;

    // A timer that first fires intervalMilliseconds after nowMilliseconds.
    Id add(std::uint32_t intervalMilliseconds, std::function<void()> tick, std::uint64_t nowMilliseconds);
    void remove(Id id);
    // Runs the due timers; a timer that is late fires once, and its next time is
    // one interval from now (late ticks are not made up).
    void fireDue(std::uint64_t nowMilliseconds);
    bool empty() const { return timers_.empty(); }

private:
    struct Entry {
        std::uint32_t interval = 0;
        std::uint64_t due = 0;
        std::function<void()> tick;
        bool removed = false;
    };
    std::map<Id, Entry> timers_;
    std::vector<Id> dueIds_;  // reused between calls
    Id nextId_ = 1;
    Id running_ = 0;
};

}  // namespace platform::x11
