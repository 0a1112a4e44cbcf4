// Timer.h — a repeating timer of a panel, on the window system's timers.
//
// The timer runs while it is enabled; changing the interval restarts it; it
// stops when destroyed, so a panel's timers end with the panel. A tick handler
// may stop, restart or re-time its own timer.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/NativeWindow.h"

namespace toolkit {

class Form;

class Timer {
public:
    Timer(platform::WindowSystem& windows, std::uint32_t intervalMilliseconds, std::function<void()> onTimer = {},
          bool enabled = true);
    Timer(Form& owner, std::uint32_t intervalMilliseconds, std::function<void()> onTimer = {}, bool enabled = true);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    std::uint32_t interval() const { return interval_; }
    void setInterval(std::uint32_t intervalMilliseconds);

    std::function<void()> onTimer;

private:
    void restart();
    void tick();

    platform::WindowSystem* windows_;
    std::uint32_t interval_;
    bool enabled_;
    std::unique_ptr<platform::Timer> running_;
    // A platform timer stopped from inside its own tick is kept (silenced) until
    // the next restart or destruction, so it is never destroyed mid-callback.
    std::unique_ptr<platform::Timer> retired_;
    bool ticking_ = false;
    // Shared with the running platform timer's callback, so a tick that arrives
    // for a timer stopped meanwhile finds it gone and does nothing.
    std::shared_ptr<Timer*> self_;
};

}  // namespace toolkit
