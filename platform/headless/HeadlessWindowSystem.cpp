// HeadlessWindowSystem.cpp — headless windows, input injection, clock-driven timers.
#include "platform/headless/HeadlessWindowSystem.h"

#include <algorithm>

namespace platform {

// ---- windows ----

HeadlessWindow::HeadlessWindow(HeadlessWindowSystem& system, WindowClient& client, void* parent, bool topLevel,
                               std::string title, int width, int height, bool alwaysOnTop)
    : system_(&system), client_(&client), parent_(parent), topLevel_(topLevel), title_(std::move(title)),
      width_(width), height_(height), alwaysOnTop_(alwaysOnTop) {}

HeadlessWindow::~HeadlessWindow() {
    if (system_) system_->removeWindow(this);
}

void HeadlessWindow::invalidate(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) return;
    needsPaint_ = true;
    if (invalidRight_ <= invalidLeft_ || invalidBottom_ <= invalidTop_) {
        invalidLeft_ = left, invalidTop_ = top, invalidRight_ = right, invalidBottom_ = bottom;
        return;
    }
    invalidLeft_ = std::min(invalidLeft_, left);
    invalidTop_ = std::min(invalidTop_, top);
    invalidRight_ = std::max(invalidRight_, right);
    invalidBottom_ = std::max(invalidBottom_, bottom);
}

void HeadlessWindow::resize(int width, int height) {
    width_ = width;
    height_ = height;
    needsPaint_ = true;
    wholeInvalid_ = true;
}

const Image& HeadlessWindow::paintNow() {
    needsPaint_ = false;
    const Image& painted = client_->paint();
    if (wholeInvalid_ || painted.width != image_.width || painted.height != image_.height) {
        image_ = painted;
    } else {
        const int left = std::max(invalidLeft_, 0), right = std::min(invalidRight_, image_.width);
        const int top = std::max(invalidTop_, 0), bottom = std::min(invalidBottom_, image_.height);
        for (int y = top; y < bottom && left < right; ++y) {
            const Pixel* from = painted.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(painted.width);
            std::copy(from + left, from + right, &image_.at(left, y));
        }
    }
    wholeInvalid_ = false;
    invalidLeft_ = invalidTop_ = invalidRight_ = invalidBottom_ = 0;
    ++paintCount_;
    return image_;
}

void HeadlessWindow::injectMouse(const MouseEvent& event) {
    MouseEvent e = event;
    e.control = e.control || (system_ && system_->controlKeyDown());
    client_->mouseEvent(e);
}

void HeadlessWindow::injectKey(const KeyEvent& event) {
    KeyEvent e = event;
    e.control = e.control || (system_ && system_->controlKeyDown());
    client_->keyEvent(e);
}

namespace {
MouseEvent mouseEventOf(MouseEvent::Type type, int x, int y, MouseButton button = MouseButton::none, int wheelSteps = 0) {
    MouseEvent e;
    e.type = type;
    e.x = x;
    e.y = y;
    e.button = button;
    e.wheelSteps = wheelSteps;
    return e;
}
}  // namespace

void HeadlessWindow::mouseMove(int x, int y) { injectMouse(mouseEventOf(MouseEvent::Type::move, x, y)); }

void HeadlessWindow::wheel(int x, int y, int steps) {
    injectMouse(mouseEventOf(MouseEvent::Type::wheel, x, y, MouseButton::none, steps));
}

void HeadlessWindow::press(int x, int y, MouseButton button) {
    injectMouse(mouseEventOf(MouseEvent::Type::press, x, y, button));
}

void HeadlessWindow::release(int x, int y, MouseButton button) {
    injectMouse(mouseEventOf(MouseEvent::Type::release, x, y, button));
}

void HeadlessWindow::click(int x, int y, MouseButton button) {
    press(x, y, button);
    release(x, y, button);
}

void HeadlessWindow::doubleClick(int x, int y, MouseButton button) {
    click(x, y, button);
    injectMouse(mouseEventOf(MouseEvent::Type::doubleClick, x, y, button));
    release(x, y, button);
}

void HeadlessWindow::key(Key key) {
    KeyEvent e;
    e.key = key;
    injectKey(e);
}

// ---- timers ----

class HeadlessWindowSystem::HeadlessTimer final : public Timer {
public:
    HeadlessTimer(HeadlessWindowSystem& system, std::uint32_t interval, std::function<void()> tick)
        : system(&system), interval(interval), due(system.clock().milliseconds() + interval), tick(std::move(tick)) {}
    ~HeadlessTimer() override {
        if (system) system->removeTimer(this);
    }

    HeadlessWindowSystem* system;
    std::uint32_t interval;
    std::uint32_t due;
    std::function<void()> tick;
};

HeadlessWindowSystem::HeadlessWindowSystem(Clock& clock) : clock_(&clock) {
    timers_.reserve(16);
    dueNow_.reserve(16);
}

HeadlessWindowSystem::~HeadlessWindowSystem() {
    // Windows and timers that outlive the system must not call back into it.
    for (HeadlessWindow* w : windows_) {
        w->system_ = nullptr;
        w->alive_ = false;
    }
    for (TimerEntry& entry : timers_) entry.timer->system = nullptr;
}

std::unique_ptr<NativeWindow> HeadlessWindowSystem::createChild(void* parent, int width, int height,
                                                                WindowClient& client) {
    auto window = std::make_unique<HeadlessWindow>(*this, client, parent, false, std::string(), width, height, false);
    windows_.push_back(window.get());
    return window;
}

std::unique_ptr<NativeWindow> HeadlessWindowSystem::createTopLevel(const std::string& title, int width, int height,
                                                                   bool alwaysOnTop, WindowClient& client) {
    auto window = std::make_unique<HeadlessWindow>(*this, client, nullptr, true, title, width, height, alwaysOnTop);
    windows_.push_back(window.get());
    return window;
}

std::unique_ptr<Timer> HeadlessWindowSystem::startTimer(std::uint32_t intervalMilliseconds,
                                                        std::function<void()> tick) {
    auto timer = std::make_unique<HeadlessTimer>(*this, intervalMilliseconds, std::move(tick));
    timers_.push_back(TimerEntry{nextSerial_++, timer.get()});
    return timer;
}

void HeadlessWindowSystem::removeWindow(HeadlessWindow* window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
}

void HeadlessWindowSystem::removeTimer(HeadlessTimer* timer) {
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [timer](const TimerEntry& e) { return e.timer == timer; }),
                  timers_.end());
}

void HeadlessWindowSystem::fireDueTimers() {
    const std::uint32_t now = clock_->milliseconds();
    dueNow_.clear();
    for (const TimerEntry& entry : timers_)
        if (static_cast<std::int32_t>(now - entry.timer->due) >= 0) dueNow_.push_back(entry);
    for (const TimerEntry& entry : dueNow_) {
        // A tick may stop or start timers: fire only those still running.
        const auto alive = std::find_if(timers_.begin(), timers_.end(),
                                        [&](const TimerEntry& e) { return e.serial == entry.serial; });
        if (alive == timers_.end()) continue;
        HeadlessTimer* timer = alive->timer;
        timer->due = now + timer->interval;
        if (timer->tick) timer->tick();
    }
}

void HeadlessWindowSystem::paintInvalidated() {
    for (std::size_t i = 0; i < windows_.size(); ++i)
        if (windows_[i]->needsPaint() && windows_[i]->isStillWindow()) windows_[i]->paintNow();
}

void HeadlessWindowSystem::idle() {
    fireDueTimers();
    paintInvalidated();
}

HeadlessWindow* HeadlessWindowSystem::windowOf(const void* handle) const {
    for (HeadlessWindow* w : windows_)
        if (w->nativeHandle() == handle) return w;
    return nullptr;
}

}  // namespace platform
