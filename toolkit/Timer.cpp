// Timer.cpp — starting and stopping the platform timer behind a toolkit timer.
#include "toolkit/Timer.h"

#include "toolkit/Form.h"

namespace toolkit {

Timer::Timer(platform::WindowSystem& windows, std::uint32_t intervalMilliseconds, std::function<void()> handler,
             bool enabled)
    : onTimer(std::move(handler)), windows_(&windows), interval_(intervalMilliseconds), enabled_(enabled) {
    restart();
}

Timer::Timer(Form& owner, std::uint32_t intervalMilliseconds, std::function<void()> handler, bool enabled)
    : Timer(owner.windowSystem(), intervalMilliseconds, std::move(handler), enabled) {}

Timer::~Timer() {
    if (self_) *self_ = nullptr;
}

void Timer::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    restart();
}

void Timer::setInterval(std::uint32_t intervalMilliseconds) {
    if (intervalMilliseconds == interval_) return;
    interval_ = intervalMilliseconds;
    restart();
}

void Timer::restart() {
    if (self_) *self_ = nullptr;  // a stopped timer's late tick finds nobody
    self_.reset();
    if (ticking_)
        retired_ = std::move(running_);
    else
        retired_.reset();
    running_.reset();
    if (!enabled_ || interval_ == 0) return;
    self_ = std::make_shared<Timer*>(this);
    std::shared_ptr<Timer*> self = self_;
    running_ = windows_->startTimer(interval_, [self] {
        if (Timer* timer = *self) timer->tick();
    });
}

void Timer::tick() {
    ticking_ = true;
    if (onTimer) onTimer();
    ticking_ = false;
}

}  // namespace toolkit
