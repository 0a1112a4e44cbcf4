// X11TestHost.h — the part a host plays in the X11 window tests.
//
//   openHostDisplay  the test's own connection, retried: a reconnect right
//                    after a close may be turned away once
//   X11TestHost      a fixture owning a mapped parent window on that connection
//   windowId         the X window behind a platform window
//   sendButton       a ButtonPress/ButtonRelease sent to a window, not synced
//   pumpUntil        idle until a condition holds or the time is up
// GoogleTest before Xlib, whose macros (None, Bool, Status) would break it.
#pragma once

#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
// clang-format on

#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>

#include "platform/NativeWindow.h"

namespace test_support {

inline int ignoreXErrors(Display*, XErrorEvent*) { return 0; }

inline Display* openHostDisplay() {
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr)) return display;
        std::this_thread::sleep_for(std::chrono::milliseconds(attempt + 1));
    }
    return nullptr;
}

inline Window windowId(const platform::NativeWindow& window) {
    return static_cast<Window>(reinterpret_cast<std::uintptr_t>(window.nativeHandle()));
}

inline void sendButton(Display* display, Window window, int type, unsigned button, int x, int y, Time time,
                       unsigned state) {
    XEvent event{};
    event.xbutton.type = type;
    event.xbutton.display = display;
    event.xbutton.window = window;
    event.xbutton.root = DefaultRootWindow(display);
    event.xbutton.x = x;
    event.xbutton.y = y;
    event.xbutton.button = button;
    event.xbutton.state = state;
    event.xbutton.time = time;
    event.xbutton.same_screen = True;
    XSendEvent(display, window, False, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
}

inline void pumpUntil(const std::function<void()>& idle, const std::function<bool()>& done, int milliseconds = 2000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        idle();
        if (done()) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < end);
}

// The test's own connection plays the host: it owns the parent window, sends
// events and reads pixels back. X errors on it are ignored (the tests destroy
// windows under each other on purpose).
class X11TestHost : public testing::Test {
protected:
    X11TestHost(unsigned width, unsigned height) : hostWidth(width), hostHeight(height) {}

    void SetUp() override {
        host = openHostDisplay();
        ASSERT_NE(host, nullptr);
        previousHandler = XSetErrorHandler(ignoreXErrors);
        hostWindow = XCreateSimpleWindow(host, DefaultRootWindow(host), 0, 0, hostWidth, hostHeight, 0, 0, 0x202020);
        XMapWindow(host, hostWindow);
        XSync(host, False);
    }
    void TearDown() override {
        if (host == nullptr) return;
        XDestroyWindow(host, hostWindow);
        XSync(host, False);
        XSetErrorHandler(previousHandler);
        XCloseDisplay(host);
    }
    void* parentHandle() const { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(hostWindow)); }

    Display* host = nullptr;
    Window hostWindow = 0;
    XErrorHandler previousHandler = nullptr;

private:
    unsigned hostWidth, hostHeight;
};

}  // namespace test_support
