// X11Window.h — one X window: a child of the host's window or a top-level dialog.
//
//   X11Window  turns X events into the toolkit's mouse and key events, collects
//              the invalid area (Expose, invalidate) and blits the client's
//              image there when the window system's idle() asks for it
#pragma once

#include <X11/Xlib.h>

#include "platform/NativeWindow.h"
#include "platform/x11/DoubleClickDetector.h"

namespace platform::x11 {

class X11WindowSystem;

class X11Window final : public NativeWindow {
public:
    // Every window, child or top-level, stays unmapped until show().
    enum class Kind { child, topLevel, topLevelAbove };
    X11Window(X11WindowSystem& system, Window window, int width, int height, Kind kind, WindowClient& client);
    ~X11Window() override;

    void show() override;
    void hide() override;
    void invalidate(int left, int top, int right, int bottom) override;
    void presentNow() override;
    void resize(int width, int height) override;
    void captureMouse(bool captured) override;
    bool isStillWindow() const override;
    void* nativeHandle() const override;

    Window id() const { return window_; }
    // The client may destroy this window from inside its callback: nothing here
    // touches the object after the callback returns.
    void handleEvent(XEvent& event);
    void paintIfInvalid();

private:
    void markInvalid(int left, int top, int right, int bottom);

    X11WindowSystem& system_;
    Window window_;
    GC gc_ = nullptr;
    WindowClient& client_;
    int width_;
    int height_;
    bool topLevel_;
    bool alwaysOnTop_;
    bool mapped_ = false;  // by show(), and as the server reports it
    bool alive_ = true;   // false once the server has destroyed the window under us
    bool grabbed_ = false;
    DoubleClickDetector doubleClick_;
    // Invalid area as a half-open rectangle; empty when left >= right.
    int invalidLeft_ = 0, invalidTop_ = 0, invalidRight_ = 0, invalidBottom_ = 0;
};

}  // namespace platform::x11
