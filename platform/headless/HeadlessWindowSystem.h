// HeadlessWindowSystem.h — a window system without a screen, for tests and tools.
//
//   HeadlessWindow        a child or top-level window that keeps the last image
//                         its client painted; tests inject mouse and key input
//                         and close requests by hand
//   HeadlessWindowSystem  makes those windows and timers; timers fire on idle()
//                         (or fireDueTimers) when due on the injected Clock, and
//                         the Control key state is set by hand
//
// Like the real backends it repaints invalidated windows from idle(); paintNow()
// paints at once. Everything belongs to the one thread that uses it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/NativeWindow.h"
#include "platform/Image.h"

namespace platform {

class HeadlessWindowSystem;

class HeadlessWindow final : public NativeWindow {
public:
    HeadlessWindow(HeadlessWindowSystem& system, WindowClient& client, void* parent, bool topLevel,
                   std::string title, int width, int height, bool alwaysOnTop);
    ~HeadlessWindow() override;

    // NativeWindow
    void show() override { visible_ = true; }
    void hide() override { visible_ = false; }
    void invalidate(int left, int top, int right, int bottom) override;
    void presentNow() override {
        if (needsPaint_ && alive_) paintNow();
    }
    void resize(int width, int height) override;
    void captureMouse(bool captured) override { captured_ = captured; }
    bool isStillWindow() const override { return alive_; }
    void* nativeHandle() const override { return const_cast<HeadlessWindow*>(this); }

    // Inspection.
    bool topLevel() const { return topLevel_; }
    void* parent() const { return parent_; }
    const std::string& title() const { return title_; }
    bool alwaysOnTop() const { return alwaysOnTop_; }
    bool visible() const { return visible_; }
    bool mouseCaptured() const { return captured_; }
    int width() const { return width_; }
    int height() const { return height_; }
    bool needsPaint() const { return needsPaint_; }
    int paintCount() const { return paintCount_; }
    // The image of the last paint (empty before the first).
    const Image& lastImage() const { return image_; }
    // Asks the client for its picture now, keeps and returns it. Like a real
    // window's blit, only the invalidated area is copied (all of it after a
    // resize or when the size changed).
    const Image& paintNow();

    // Input, delivered straight to the client as the window system would.
    void injectMouse(const MouseEvent& event);
    void injectKey(const KeyEvent& event);
    void mouseMove(int x, int y);
    void press(int x, int y, MouseButton button = MouseButton::left);
    void release(int x, int y, MouseButton button = MouseButton::left);
    // Press and release at one point.
    void click(int x, int y, MouseButton button = MouseButton::left);
    // Press, release, double-click press, release at one point.
    void doubleClick(int x, int y, MouseButton button = MouseButton::left);
    // The wheel turned `steps` notches at (x, y), positive away from the user.
    void wheel(int x, int y, int steps);
    void key(Key key);
    // The user closes the window (close box).
    void requestClose() { client_->closeRequested(); }
    // Something outside destroyed the window (as the host destroying its parent would).
    void destroyFromOutside() { alive_ = false; }

private:
    friend class HeadlessWindowSystem;
    HeadlessWindowSystem* system_;
    WindowClient* client_;
    void* parent_;
    bool topLevel_;
    std::string title_;
    int width_;
    int height_;
    bool alwaysOnTop_;
    bool visible_ = false;
    bool captured_ = false;
    bool alive_ = true;
    bool needsPaint_ = true;
    bool wholeInvalid_ = true;
    int invalidLeft_ = 0, invalidTop_ = 0, invalidRight_ = 0, invalidBottom_ = 0;  // empty when right <= left
    int paintCount_ = 0;
    Image image_;
};

class HeadlessWindowSystem final : public WindowSystem {
public:
    explicit HeadlessWindowSystem(Clock& clock);
    ~HeadlessWindowSystem() override;

    std::unique_ptr<NativeWindow> createChild(void* parent, int width, int height, WindowClient& client) override;
    std::unique_ptr<NativeWindow> createTopLevel(const std::string& title, int width, int height, bool alwaysOnTop,
                                                 WindowClient& client) override;
    std::unique_ptr<Timer> startTimer(std::uint32_t intervalMilliseconds, std::function<void()> tick) override;
    bool controlKeyDown() const override { return controlKeyDown_; }
    // Fires the due timers, then repaints the windows that were invalidated.
    void idle() override;

    void setControlKeyDown(bool down) { controlKeyDown_ = down; }
    // Fires each timer that is due on the clock, once; a timer is due when its
    // interval has passed since it started or last fired.
    void fireDueTimers();
    void paintInvalidated();

    // The windows alive now, oldest first.
    const std::vector<HeadlessWindow*>& windows() const { return windows_; }
    // The window whose nativeHandle() is `handle`, or null.
    HeadlessWindow* windowOf(const void* handle) const;
    std::size_t timerCount() const { return timers_.size(); }
    Clock& clock() const { return *clock_; }

private:
    friend class HeadlessWindow;
    class HeadlessTimer;
    struct TimerEntry {
        std::uint64_t serial;
        HeadlessTimer* timer;
    };
    void removeWindow(HeadlessWindow* window);
    void removeTimer(HeadlessTimer* timer);

    Clock* clock_;
    bool controlKeyDown_ = false;
    std::vector<HeadlessWindow*> windows_;
    std::vector<TimerEntry> timers_;
    std::vector<TimerEntry> dueNow_;  // reused by fireDueTimers, so firing does not allocate
    std::uint64_t nextSerial_ = 1;
};

}  // namespace platform
