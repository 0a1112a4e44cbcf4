// NativeWindow.h — the narrow window-system interface under the panels.
//
//   MouseEvent, KeyEvent  input as the toolkit sees it (client coordinates)
//   WindowClient          what a window shows and whom it tells (a toolkit form)
//   NativeWindow          one window: child of a host window, or a top-level dialog
//   Timer                 a repeating timer; stops when destroyed
//   WindowSystem          makes windows and timers; one per backend
//                         (Win32, X11, headless)
//   nativeWindowSystem    the backend of this build's target
//
// Everything here belongs to the thread that opened the editor.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Image.h"

namespace platform {

enum class MouseButton { none, left, right, middle };

struct MouseEvent {
    enum class Type { press, release, move, doubleClick, wheel };
    Type type = Type::move;
    int x = 0;
    int y = 0;
    MouseButton button = MouseButton::none;
    bool control = false;
    bool shift = false;
    // Type::wheel: notches turned, positive away from the user (up).
    int wheelSteps = 0;
};

enum class Key { other, left, right, up, down, pageUp, pageDown, home, end, enter, escape, space, tab };

struct KeyEvent {
    Key key = Key::other;
    bool control = false;
    bool shift = false;
};

class WindowClient {
public:
    virtual ~WindowClient() = default;
    // Bring the picture up to date and return it; the window shows it 1:1.
    virtual const Image& paint() = 0;
    virtual void mouseEvent(const MouseEvent& event) = 0;
    virtual void keyEvent(const KeyEvent& event) = 0;
    // A top-level window closed by the user or the window manager.
    virtual void closeRequested() {}
};

class NativeWindow {
public:
    virtual ~NativeWindow() = default;  // destroys the window
    // Windows are created hidden, children as well as top-level ones.
    virtual void show() = 0;
    virtual void hide() = 0;
    // Marks a half-open rectangle for repainting through WindowClient::paint.
    virtual void invalidate(int left, int top, int right, int bottom) = 0;
    // Repaints what is marked at once, instead of at the next paint turn.
    virtual void presentNow() = 0;
    virtual void resize(int width, int height) = 0;
    virtual void captureMouse(bool captured) = 0;
    virtual bool isStillWindow() const = 0;
    virtual void* nativeHandle() const = 0;
};

class Timer {
public:
    virtual ~Timer() = default;  // stops the timer
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // A borderless child of the host's window (HWND, X11 Window id, or null on headless).
    virtual std::unique_ptr<NativeWindow> createChild(void* parent, int width, int height, WindowClient& client) = 0;
    // A top-level dialog window.
    virtual std::unique_ptr<NativeWindow> createTopLevel(const std::string& title, int width, int height,
                                                         bool alwaysOnTop, WindowClient& client) = 0;
    virtual std::unique_ptr<Timer> startTimer(std::uint32_t intervalMilliseconds, std::function<void()> tick) = 0;
    virtual bool controlKeyDown() const = 0;
    // Called from the host's effEditIdle: backends without a message loop of their
    // own (X11, headless) process pending events and due timers here.
    virtual void idle() = 0;
};

WindowSystem& nativeWindowSystem();

}  // namespace platform
