// HostWindowX11.cpp — the host window on X11.
//
// A plain top-level window with a grey background. Clicks go through XTest
// when the build has it (the server then routes them like real ones), else as
// ButtonPress/ButtonRelease sent to the deepest window under the point. The
// screenshot is XGetImage of our window, which includes mapped children.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#if defined(PLUGHOST_HAVE_XTEST)
#include <X11/extensions/XTest.h>
#endif

#include <chrono>
#include <thread>

#include "tools/plughost/HostWindow.h"

namespace plughost {
namespace {

constexpr unsigned long kBackground = 0x505050;

int maskShift(unsigned long mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

class X11HostWindow : public HostWindow {
public:
    X11HostWindow(Display* display, Window window, int width, int height)
        : display(display), window(window), width(width), height(height) {
        deleteAtom = XInternAtom(display, "WM_DELETE_WINDOW", False);
        XSetWMProtocols(display, window, &deleteAtom, 1);
    }
    ~X11HostWindow() override {
        XDestroyWindow(display, window);
        XCloseDisplay(display);
    }

    void* handle() const override { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window)); }

    bool hasChildWindow() override {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        XSync(display, False);
        if (!XQueryTree(display, window, &root, &parent, &children, &count)) return false;
        if (children) XFree(children);
        return count > 0;
    }

    void pump() override {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == deleteAtom)
                closing = true;
        }
    }

    bool press(int x, int y, std::string& method) override { return button(x, y, true, method); }

    bool release(int x, int y) override {
        std::string method;
        return button(x, y, false, method);
    }

    bool move(int x, int y) override {
#if defined(PLUGHOST_HAVE_XTEST)
        Window root = DefaultRootWindow(display), child = 0;
        int rootX = 0, rootY = 0;
        XTranslateCoordinates(display, window, root, x, y, &rootX, &rootY, &child);
        int eventBase, errorBase, major, minor;
        if (XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
            XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
            XFlush(display);
            return true;
        }
#endif
        return sendPointerEvent(MotionNotify, x, y);
    }

    bool wheel(int x, int y, int steps) override {
        // One press and release of button 4 (up) or 5 (down) a notch.
        const unsigned wheelButton = steps > 0 ? Button4 : Button5;
        for (int notch = 0; notch < (steps > 0 ? steps : -steps); ++notch) {
#if defined(PLUGHOST_HAVE_XTEST)
            int eventBase, errorBase, major, minor;
            if (XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
                move(x, y);
                XTestFakeButtonEvent(display, wheelButton, True, CurrentTime);
                XTestFakeButtonEvent(display, wheelButton, False, CurrentTime);
                XFlush(display);
                continue;
            }
#endif
            if (!sendPointerEvent(ButtonPress, x, y, wheelButton) || !sendPointerEvent(ButtonRelease, x, y, wheelButton))
                return false;
        }
        return true;
    }

    bool doubleClick(int x, int y, std::string& method) override {
        for (int press = 0; press < 2; ++press)
            if (!button(x, y, true, method) || !button(x, y, false, method)) return false;
        return true;
    }

    bool controlKey(bool down) override {
#if defined(PLUGHOST_HAVE_XTEST)
        int eventBase, errorBase, major, minor;
        const KeyCode code = XKeysymToKeycode(display, XK_Control_L);
        if (code != 0 && XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
            XTestFakeKeyEvent(display, code, down ? True : False, CurrentTime);
            XFlush(display);
            return true;
        }
#endif
        // Sent events carry the key in their modifier state.
        controlHeld = down;
        return true;
    }

    bool capture(Screenshot& shot, std::string& error) override {
        XSync(display, False);
        XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                                  AllPlanes, ZPixmap);
        if (!image) return error = "XGetImage failed (is the window on screen?)", false;
        shot.width = width;
        shot.height = height;
        shot.rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
        const unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                unsigned long pixel = XGetPixel(image, x, y);
                for (int c = 0; c < 3; ++c) {
                    unsigned long mask = masks[c];
                    unsigned long value = (pixel & mask) >> maskShift(mask);
                    unsigned long top = mask >> maskShift(mask);
                    shot.rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3 +
                             static_cast<std::size_t>(c)] =
                        static_cast<std::uint8_t>(top ? value * 255 / top : 0);
                }
            }
        XDestroyImage(image);
        return true;
    }

    bool closeRequested() const override { return closing; }

private:
    bool button(int x, int y, bool down, std::string& method) {
        Window root = DefaultRootWindow(display), child = 0;
        int rootX = 0, rootY = 0;
        XTranslateCoordinates(display, window, root, x, y, &rootX, &rootY, &child);
#if defined(PLUGHOST_HAVE_XTEST)
        int eventBase, errorBase, major, minor;
        if (XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
            method = "XTest";
            if (down) XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
            XTestFakeButtonEvent(display, 1, down ? True : False, CurrentTime);
            XFlush(display);
            return true;
        }
#endif
        method = "XSendEvent";
        return sendPointerEvent(down ? ButtonPress : ButtonRelease, x, y);
    }

    // Without XTest: the event goes straight to the deepest window under the point.
    bool sendPointerEvent(int type, int x, int y, unsigned button = Button1) {
        Window root = DefaultRootWindow(display), child = 0;
        int rootX = 0, rootY = 0;
        XTranslateCoordinates(display, window, root, x, y, &rootX, &rootY, &child);
        Window target = window;
        int localX = x, localY = y;
        while (true) {
            Window under = 0;
            int ux = 0, uy = 0;
            if (!XTranslateCoordinates(display, window, target, x, y, &ux, &uy, &under)) break;
            localX = ux;
            localY = uy;
            if (under == 0) break;
            target = under;
        }
        const unsigned control = controlHeld ? ControlMask : 0;
        XEvent event{};
        long mask = 0;
        if (type == MotionNotify) {
            event.xmotion.type = MotionNotify;
            event.xmotion.display = display;
            event.xmotion.window = target;
            event.xmotion.root = root;
            event.xmotion.time = CurrentTime;
            event.xmotion.x = localX;
            event.xmotion.y = localY;
            event.xmotion.x_root = rootX;
            event.xmotion.y_root = rootY;
            event.xmotion.state = Button1Mask | control;
            event.xmotion.same_screen = True;
            mask = PointerMotionMask | Button1MotionMask;
        } else {
            const bool down = type == ButtonPress;
            event.xbutton.type = type;
            event.xbutton.display = display;
            event.xbutton.window = target;
            event.xbutton.root = root;
            event.xbutton.subwindow = 0;
            event.xbutton.time = CurrentTime;
            event.xbutton.x = localX;
            event.xbutton.y = localY;
            event.xbutton.x_root = rootX;
            event.xbutton.y_root = rootY;
            event.xbutton.state = (down || button != Button1 ? 0 : Button1Mask) | control;
            event.xbutton.button = button;
            event.xbutton.same_screen = True;
            mask = down ? ButtonPressMask : ButtonReleaseMask;
        }
        Status sent = XSendEvent(display, target, True, mask, &event);
        XFlush(display);
        return sent != 0;
    }

    Display* display;
    Window window;
    int width, height;
    Atom deleteAtom = 0;
    bool closing = false;
    bool controlHeld = false;  // for sent events, without XTest
};

}  // namespace

std::unique_ptr<HostWindow> createHostWindow(int width, int height, const std::string& title, std::string& error) {
    XInitThreads();  // the plug-in may talk to X from its own threads
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        error = "cannot open the X display (DISPLAY is not set or the server is unreachable; try xvfb-run -a)";
        return nullptr;
    }
    int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(width),
                                        static_cast<unsigned>(height), 0, BlackPixel(display, screen), kBackground);
    XStoreName(display, window, title.c_str());
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize | PPosition;
    hints.min_width = hints.max_width = width;
    hints.min_height = hints.max_height = height;
    XSetWMNormalHints(display, window, &hints);
    XSelectInput(display, window, StructureNotifyMask | ExposureMask);
    XMapRaised(display, window);
    // Wait (at most two seconds) until the window is on screen.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    bool mapped = false;
    while (!mapped && std::chrono::steady_clock::now() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify) mapped = true;
        }
        if (!mapped) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    XSync(display, False);
    return std::make_unique<X11HostWindow>(display, window, width, height);
}

}  // namespace plughost
