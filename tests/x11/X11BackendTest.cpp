// X11BackendTest.cpp — the X11 window system against a real (virtual) X server.
//
//   X11Child      a child of a host window stays hidden until shown, paints the
//                 client's image, repaints only what was invalidated (at idle, or
//                 at once when asked), reports clicks, double clicks and keys,
//                 survives its host window's destruction, and leaves nothing behind
//   X11TopLevel   dialog properties, close box, always-on-top
//   X11Timers     timers fire from idle() and stop when destroyed
//   X11NoServer   no display or a bad parent: no window, no crash
// GoogleTest before Xlib, whose macros (None, Bool, Status) would break it.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
// clang-format on
#include <dirent.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/x11/X11Blitter.h"
#include "platform/x11/X11WindowSystem.h"
#include "tests/x11/X11TestHost.h"

namespace {

using platform::KeyEvent;
using platform::MouseButton;
using platform::MouseEvent;
using platform::x11::X11WindowSystem;

platform::Pixel patternPixel(int x, int y, int seed) {
    return platform::rgb(static_cast<std::uint8_t>(x * 2 + seed), static_cast<std::uint8_t>(y * 3),
                        static_cast<std::uint8_t>((x ^ y) * 5 + seed));
}

class PatternClient final : public platform::WindowClient {
public:
    PatternClient(int width, int height) : image(width, height) { fill(0); }
    void fill(int seed) {
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) image.at(x, y) = patternPixel(x, y, seed);
    }
    const platform::Image& paint() override {
        ++paints;
        return image;
    }
    void mouseEvent(const MouseEvent& event) override { mouse.push_back(event); }
    void keyEvent(const KeyEvent& event) override { keys.push_back(event); }
    void closeRequested() override {
        ++closes;
        if (onClose) onClose();
    }

    platform::Image image;
    int paints = 0;
    int closes = 0;
    std::vector<MouseEvent> mouse;
    std::vector<KeyEvent> keys;
    std::function<void()> onClose;
};

int openFileCount() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir) != nullptr) ++count;
        closedir(dir);
    }
    return count;
}

using test_support::openHostDisplay;

class X11Child : public test_support::X11TestHost {
protected:
    X11Child() : X11TestHost(300, 200) {}

    static Window idOf(const platform::NativeWindow& window) { return test_support::windowId(window); }
    void pump(const std::function<bool()>& done, int milliseconds = 2000) {
        test_support::pumpUntil([this] { system.idle(); }, done, milliseconds);
    }

    // Compares what the server shows in window with the client's image over
    // [left, right) x [top, bottom); channels are compared at the visual's precision.
    int mismatches(Window window, const platform::Image& expected, int left, int top, int right, int bottom) {
        XImage* shot = XGetImage(host, window, 0, 0, static_cast<unsigned>(expected.width),
                                 static_cast<unsigned>(expected.height), AllPlanes, ZPixmap);
        if (shot == nullptr) return -1;
        Visual* visual = DefaultVisual(host, DefaultScreen(host));
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const unsigned long value = XGetPixel(shot, x, y);
                const platform::Pixel want = expected.at(x, y);
                if (!channelMatches(value, visual->red_mask, platform::redOf(want)) ||
                    !channelMatches(value, visual->green_mask, platform::greenOf(want)) ||
                    !channelMatches(value, visual->blue_mask, platform::blueOf(want)))
                    ++count;
            }
        }
        XDestroyImage(shot);
        return count;
    }
    static bool channelMatches(unsigned long value, unsigned long mask, unsigned want8) {
        int shift = 0, bits = 0;
        while (((mask >> shift) & 1) == 0) ++shift;
        while (((mask >> (shift + bits)) & 1) != 0) ++bits;
        const unsigned long got = (value & mask) >> shift;
        const unsigned long expected = bits >= 8 ? static_cast<unsigned long>(want8) << (bits - 8) : want8 >> (8 - bits);
        return bits >= 8 ? got >> (bits - 8) == want8 : got == expected;
    }
    void send(Window window, int type, unsigned button, int x, int y, Time time, unsigned state = 0) {
        test_support::sendButton(host, window, type, button, x, y, time, state);
        XSync(host, False);
    }
    bool windowExists(Window window) {
        XWindowAttributes attributes;
        return XGetWindowAttributes(host, window, &attributes) != 0;
    }

    X11WindowSystem system;
};

TEST_F(X11Child, PaintsTheClientImageInsideTheHostWindow) {
    PatternClient client(120, 80);
    auto window = system.createChild(parentHandle(), 120, 80, client);
    ASSERT_NE(window, nullptr);
    const Window child = idOf(*window);
    XWindowAttributes hidden;
    ASSERT_NE(XGetWindowAttributes(host, child, &hidden), 0);
    EXPECT_EQ(hidden.map_state, IsUnmapped);  // until its owner shows it
    window->show();

    Window root = None, parent = None, *children = nullptr;
    unsigned count = 0;
    ASSERT_NE(XQueryTree(host, child, &root, &parent, &children, &count), 0);
    if (children != nullptr) XFree(children);
    EXPECT_EQ(parent, hostWindow);
    XWindowAttributes attributes;
    ASSERT_NE(XGetWindowAttributes(host, child, &attributes), 0);
    EXPECT_EQ(attributes.x, 0);
    EXPECT_EQ(attributes.y, 0);
    EXPECT_EQ(attributes.width, 120);
    EXPECT_EQ(attributes.height, 80);
    EXPECT_EQ(attributes.border_width, 0);
    EXPECT_EQ(attributes.map_state, IsViewable);

    pump([&] { return client.paints > 0; });
    ASSERT_GT(client.paints, 0);
    EXPECT_EQ(mismatches(child, client.image, 0, 0, 120, 80), 0);
    EXPECT_TRUE(window->isStillWindow());
}

TEST_F(X11Child, RepaintsOnlyTheInvalidatedRectangle) {
    PatternClient client(100, 60);
    auto window = system.createChild(parentHandle(), 100, 60, client);
    ASSERT_NE(window, nullptr);
    window->show();
    pump([&] { return client.paints > 0; });
    const platform::Image before = client.image;

    client.fill(77);
    const int paints = client.paints;
    window->invalidate(10, 20, 30, 25);
    pump([&] { return client.paints > paints; });
    ASSERT_GT(client.paints, paints);

    platform::Image expected = before;
    for (int y = 20; y < 25; ++y)
        for (int x = 10; x < 30; ++x) expected.at(x, y) = client.image.at(x, y);
    EXPECT_EQ(mismatches(idOf(*window), expected, 0, 0, 100, 60), 0);

    // Nothing invalid: idle paints nothing.
    const int settled = client.paints;
    for (int i = 0; i < 5; ++i) system.idle();
    EXPECT_EQ(client.paints, settled);
}

TEST_F(X11Child, PresentNowPaintsWhatIsMarkedWithoutWaitingForIdle) {
    PatternClient client(100, 60);
    auto window = system.createChild(parentHandle(), 100, 60, client);
    ASSERT_NE(window, nullptr);
    window->show();
    pump([&] { return client.paints > 0; });
    client.fill(33);
    const int paints = client.paints;
    window->invalidate(0, 0, 100, 60);
    window->presentNow();
    EXPECT_EQ(client.paints, paints + 1);
    XSync(host, False);
    EXPECT_EQ(mismatches(idOf(*window), client.image, 0, 0, 100, 60), 0);
    window->presentNow();  // nothing marked: nothing painted
    EXPECT_EQ(client.paints, paints + 1);
}

TEST_F(X11Child, ReportsPressReleaseDoubleClickAndKeys) {
    PatternClient client(100, 60);
    auto window = system.createChild(parentHandle(), 100, 60, client);
    ASSERT_NE(window, nullptr);
    window->show();
    const Window child = idOf(*window);
    pump([&] { return client.paints > 0; });

    send(child, ButtonPress, Button1, 12, 34, 1000, ControlMask);
    send(child, ButtonRelease, Button1, 12, 34, 1050);
    send(child, ButtonPress, Button1, 14, 31, 1300);  // 300 ms, 2 px away: double click
    send(child, ButtonRelease, Button1, 14, 31, 1350);
    send(child, ButtonPress, Button1, 14, 31, 1400);  // the one after a double click is a press
    send(child, ButtonPress, Button3, 50, 5, 5000);
    pump([&] { return client.mouse.size() >= 6; });
    ASSERT_EQ(client.mouse.size(), 6u);
    EXPECT_EQ(client.mouse[0].type, MouseEvent::Type::press);
    EXPECT_EQ(client.mouse[0].x, 12);
    EXPECT_EQ(client.mouse[0].y, 34);
    EXPECT_EQ(client.mouse[0].button, MouseButton::left);
    EXPECT_TRUE(client.mouse[0].control);
    EXPECT_EQ(client.mouse[1].type, MouseEvent::Type::release);
    EXPECT_FALSE(client.mouse[1].control);
    EXPECT_EQ(client.mouse[2].type, MouseEvent::Type::doubleClick);
    EXPECT_EQ(client.mouse[3].type, MouseEvent::Type::release);
    EXPECT_EQ(client.mouse[4].type, MouseEvent::Type::press);
    EXPECT_EQ(client.mouse[5].type, MouseEvent::Type::press);
    EXPECT_EQ(client.mouse[5].button, MouseButton::right);

    XEvent key{};
    key.xkey.type = KeyPress;
    key.xkey.display = host;
    key.xkey.window = child;
    key.xkey.root = DefaultRootWindow(host);
    key.xkey.keycode = XKeysymToKeycode(host, XK_Left);
    key.xkey.state = ShiftMask;
    key.xkey.same_screen = True;
    XSendEvent(host, child, False, KeyPressMask, &key);
    XSync(host, False);
    pump([&] { return !client.keys.empty(); });
    ASSERT_EQ(client.keys.size(), 1u);
    EXPECT_EQ(client.keys[0].key, platform::Key::left);
    EXPECT_TRUE(client.keys[0].shift);
    EXPECT_FALSE(system.controlKeyDown());
}

TEST_F(X11Child, CaptureGrabsThePointerUntilReleasedOrClosed) {
    PatternClient client(50, 50);
    auto window = system.createChild(parentHandle(), 50, 50, client);
    ASSERT_NE(window, nullptr);
    window->show();
    pump([&] { return client.paints > 0; });
    auto othersMayGrab = [&] {
        const int result = XGrabPointer(host, hostWindow, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, None,
                                        None, CurrentTime);
        XUngrabPointer(host, CurrentTime);
        XSync(host, False);
        return result == GrabSuccess;
    };
    window->captureMouse(true);
    EXPECT_FALSE(othersMayGrab());
    window->captureMouse(false);
    EXPECT_TRUE(othersMayGrab());
    window->captureMouse(true);
    window.reset();  // a window destroyed while captured lets go
    EXPECT_TRUE(othersMayGrab());
}

TEST_F(X11Child, ClosingTheLastWindowClosesTheConnection) {
    const int filesBefore = openFileCount();
    Window child = None;
    {
        PatternClient client(50, 50);
        auto window = system.createChild(parentHandle(), 50, 50, client);
        ASSERT_NE(window, nullptr);
        window->show();
        child = idOf(*window);
        EXPECT_NE(system.display(), nullptr);
        pump([&] { return client.paints > 0; });
    }
    EXPECT_EQ(system.display(), nullptr);
    EXPECT_EQ(openFileCount(), filesBefore);
    EXPECT_FALSE(windowExists(child));
    Window root = None, parent = None, *children = nullptr;
    unsigned count = 0;
    XQueryTree(host, hostWindow, &root, &parent, &children, &count);
    if (children != nullptr) XFree(children);
    EXPECT_EQ(count, 0u);

    // Close and reopen in quick succession, as hosts do: a fresh connection each
    // time, every one accepted, nothing accumulates.
    for (int i = 0; i < 100; ++i) {
        PatternClient client(50, 50);
        auto window = system.createChild(parentHandle(), 50, 50, client);
        ASSERT_NE(window, nullptr) << "reopening number " << i;
        window->show();
    }
    EXPECT_EQ(openFileCount(), filesBefore);
}

TEST_F(X11Child, SurvivesTheHostDestroyingItsWindowFirst) {
    PatternClient client(50, 50);
    auto window = system.createChild(parentHandle(), 50, 50, client);
    ASSERT_NE(window, nullptr);
    window->show();
    pump([&] { return client.paints > 0; });
    XDestroyWindow(host, hostWindow);
    XSync(host, False);
    hostWindow = XCreateSimpleWindow(host, DefaultRootWindow(host), 0, 0, 10, 10, 0, 0, 0);  // for TearDown
    system.idle();
    EXPECT_FALSE(window->isStillWindow());
    window->invalidate(0, 0, 50, 50);
    window->resize(60, 60);
    window->show();
    system.idle();
    window.reset();
    EXPECT_EQ(system.display(), nullptr);
}

TEST_F(X11Child, TopLevelDialogHasTitleCloseBoxAndStaysAbove) {
    PatternClient client(80, 40);
    auto dialog = system.createTopLevel("About Widefield", 80, 40, true, client);
    ASSERT_NE(dialog, nullptr);
    const Window id = idOf(*dialog);

    char* name = nullptr;
    ASSERT_NE(XFetchName(host, id, &name), 0);
    EXPECT_STREQ(name, "About Widefield");
    XFree(name);

    Atom* protocols = nullptr;
    int protocolCount = 0;
    ASSERT_NE(XGetWMProtocols(host, id, &protocols, &protocolCount), 0);
    const Atom deleteWindow = XInternAtom(host, "WM_DELETE_WINDOW", False);
    ASSERT_EQ(protocolCount, 1);
    EXPECT_EQ(protocols[0], deleteWindow);
    XFree(protocols);

    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    ASSERT_EQ(XGetWindowProperty(host, id, XInternAtom(host, "_NET_WM_STATE", False), 0, 4, False, XA_ATOM, &type,
                                 &format, &items, &after, &data),
              Success);
    ASSERT_EQ(items, 1u);
    EXPECT_EQ(reinterpret_cast<Atom*>(data)[0], XInternAtom(host, "_NET_WM_STATE_ABOVE", False));
    XFree(data);

    // Hidden until shown; then painted.
    XWindowAttributes attributes;
    XGetWindowAttributes(host, id, &attributes);
    EXPECT_EQ(attributes.map_state, IsUnmapped);
    dialog->show();
    pump([&] { return client.paints > 0; });
    EXPECT_EQ(mismatches(id, client.image, 0, 0, 80, 40), 0);

    // The close box asks the client, which closes the dialog from inside the callback.
    client.onClose = [&] { dialog.reset(); };
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = id;
    message.xclient.message_type = XInternAtom(host, "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = static_cast<long>(deleteWindow);
    XSendEvent(host, id, False, NoEventMask, &message);
    XSync(host, False);
    pump([&] { return client.closes > 0; });
    EXPECT_EQ(client.closes, 1);
    EXPECT_EQ(dialog, nullptr);
    system.idle();
    EXPECT_EQ(system.display(), nullptr);
    EXPECT_FALSE(windowExists(id));
}

TEST_F(X11Child, DialogWithoutAlwaysOnTopHasNoState) {
    PatternClient client(30, 30);
    auto dialog = system.createTopLevel("Plain", 30, 30, false, client);
    ASSERT_NE(dialog, nullptr);
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(host, idOf(*dialog), XInternAtom(host, "_NET_WM_STATE", False), 0, 4, False, XA_ATOM, &type,
                       &format, &items, &after, &data);
    EXPECT_EQ(items, 0u);
    if (data != nullptr) XFree(data);
}

TEST(X11Timers, FireFromIdleUntilDestroyed) {
    X11WindowSystem system;
    int ticks = 0;
    auto timer = system.startTimer(20, [&] { ++ticks; });
    ASSERT_NE(timer, nullptr);
    system.idle();
    EXPECT_EQ(ticks, 0);  // not due yet
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (ticks < 3 && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        system.idle();
    }
    EXPECT_GE(ticks, 3);
    timer.reset();
    const int stopped = ticks;
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    system.idle();
    EXPECT_EQ(ticks, stopped);
}

TEST(X11Timers, ATimerMayStopItselfAndALateOneFiresOnce) {
    X11WindowSystem system;
    int selfTicks = 0, lateTicks = 0;
    std::unique_ptr<platform::Timer> self;
    self = system.startTimer(1, [&] {
        ++selfTicks;
        self.reset();
    });
    auto late = system.startTimer(5, [&] { ++lateTicks; });
    std::this_thread::sleep_for(std::chrono::milliseconds(60));  // twelve intervals missed
    system.idle();
    system.idle();
    EXPECT_EQ(selfTicks, 1);
    EXPECT_EQ(self, nullptr);
    EXPECT_EQ(lateTicks, 1);
}

TEST(X11NoServer, NoDisplayGivesNoWindowAndTimersStillRun) {
    const char* saved = std::getenv("DISPLAY");
    const std::string display = saved != nullptr ? saved : "";
    setenv("DISPLAY", ":4095", 1);
    X11WindowSystem system;
    PatternClient client(10, 10);
    EXPECT_EQ(system.createChild(reinterpret_cast<void*>(std::uintptr_t{1234}), 10, 10, client), nullptr);
    EXPECT_EQ(system.createTopLevel("x", 10, 10, false, client), nullptr);
    EXPECT_FALSE(system.controlKeyDown());
    int ticks = 0;
    auto timer = system.startTimer(1, [&] { ++ticks; });
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    system.idle();
    EXPECT_EQ(ticks, 1);
    setenv("DISPLAY", display.c_str(), 1);
}

TEST(X11NoServer, ABadParentGivesNoWindowAndNoConnection) {
    X11WindowSystem system;
    PatternClient client(10, 10);
    EXPECT_EQ(system.createChild(reinterpret_cast<void*>(std::uintptr_t{0x7ffffff0}), 10, 10, client), nullptr);
    EXPECT_EQ(system.createChild(nullptr, 10, 10, client), nullptr);
    EXPECT_EQ(system.display(), nullptr);
}

TEST(X11Blit, DrawsDirectOnlyOnTheUsualTrueColorLayout) {
    Display* display = openHostDisplay();
    ASSERT_NE(display, nullptr);
    const int depth = DefaultDepth(display, DefaultScreen(display));
    platform::x11::X11Blitter blitter(display, DefaultVisual(display, DefaultScreen(display)), depth);
    EXPECT_TRUE(blitter.usable());
    EXPECT_EQ(blitter.direct(), depth == 24 || depth == 32);
    XCloseDisplay(display);
}

}  // namespace
