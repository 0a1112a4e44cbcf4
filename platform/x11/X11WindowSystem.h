// X11WindowSystem.h — the window system of the Linux builds.
//
//   X11WindowSystem  our own Display connection, opened with the first window
//                    and closed with the last; the windows by id for event
//                    dispatch; timers; idle() = drain events, fire due timers,
//                    repaint what is invalid
//
// Threads: the Display is private to this library and is used only from the
// thread that opens the editor and sends effEditIdle, so XInitThreads is not
// called: a library cannot call it before the host's first Xlib call, and
// libX11 1.8 and later turn thread support on by themselves. The audio thread
// never reaches this file.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/NativeWindow.h"
#include "platform/x11/TimerQueue.h"

namespace platform::x11 {

class X11Blitter;
class X11Window;

class X11WindowSystem final : public WindowSystem {
public:
    X11WindowSystem();
    ~X11WindowSystem() override;

    std::unique_ptr<NativeWindow> createChild(void* parent, int width, int height, WindowClient& client) override;
    std::unique_ptr<NativeWindow> createTopLevel(const std::string& title, int width, int height, bool alwaysOnTop,
                                                 WindowClient& client) override;
    std::unique_ptr<Timer> startTimer(std::uint32_t intervalMilliseconds, std::function<void()> tick) override;
    bool controlKeyDown() const override;
    void idle() override;

    // For the windows and tests.
    struct Atoms {
        Atom wmProtocols = None;
        Atom wmDeleteWindow = None;
        Atom netWmState = None;
        Atom netWmStateAbove = None;
        Atom netWmName = None;
        Atom netWmWindowType = None;
        Atom netWmWindowTypeDialog = None;
        Atom utf8String = None;
    };
    Display* display() const { return display_; }
    const Atoms& atoms() const { return atoms_; }
    X11Blitter& blitter() { return *blitter_; }
    void forget(X11Window& window);
    void removeTimer(TimerQueue::Id id) { timers_.remove(id); }
    std::size_t windowCount() const { return windows_.size(); }

private:
    bool openDisplay();
    void closeDisplayIfUnused();
    Window createWindow(Window parent, int width, int height, bool topLevel);
    void dispatchPendingEvents();
    // Keeps the Control key's state as the input event being handled reports it.
    void noteModifiers(const XEvent& event);
    void paintInvalidWindows();
    X11Window* find(Window id) const;

    Display* display_ = nullptr;
    int screen_ = 0;
    Visual* visual_ = nullptr;
    int depth_ = 0;
    Colormap colormap_ = None;
    Atoms atoms_;
    std::unique_ptr<X11Blitter> blitter_;
    std::map<Window, X11Window*> windows_;
    std::vector<Window> paintOrder_;  // reused between idle calls
    TimerQueue timers_;
    bool inIdle_ = false;
    bool controlDown_ = false;
    bool sawInput_ = false;
};

}  // namespace platform::x11
