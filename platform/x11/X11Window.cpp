// X11Window.cpp — event translation, invalid area and blitting of one window.
#include "platform/x11/X11Window.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdint>

#include "platform/x11/X11Blitter.h"
#include "platform/x11/X11ErrorTrap.h"
#include "platform/x11/X11WindowSystem.h"

namespace platform::x11 {

namespace {
MouseButton buttonOf(unsigned int button) {
    switch (button) {
        case Button1: return MouseButton::left;
        case Button2: return MouseButton::middle;
        case Button3: return MouseButton::right;
        default: return MouseButton::none;  // wheel and extra buttons
    }
}

// A press or release as the toolkit sees it, with the modifier keys of the moment.
MouseEvent buttonEvent(const XButtonEvent& event, MouseEvent::Type type, MouseButton button) {
    MouseEvent mouse;
    mouse.type = type;
    mouse.x = event.x;
    mouse.y = event.y;
    mouse.button = button;
    mouse.control = (event.state & ControlMask) != 0;
    mouse.shift = (event.state & ShiftMask) != 0;
    return mouse;
}

Key keyOf(KeySym symbol) {
    switch (symbol) {
        case XK_Left: case XK_KP_Left: return Key::left;
        case XK_Right: case XK_KP_Right: return Key::right;
        case XK_Up: case XK_KP_Up: return Key::up;
        case XK_Down: case XK_KP_Down: return Key::down;
        case XK_Prior: case XK_KP_Prior: return Key::pageUp;
        case XK_Next: case XK_KP_Next: return Key::pageDown;
        case XK_Home: case XK_KP_Home: return Key::home;
        case XK_End: case XK_KP_End: return Key::end;
        case XK_Return: case XK_KP_Enter: return Key::enter;
        case XK_Escape: return Key::escape;
        case XK_space: case XK_KP_Space: return Key::space;
        case XK_Tab: case XK_ISO_Left_Tab: case XK_KP_Tab: return Key::tab;
        default: return Key::other;
    }
}
}  // namespace

X11Window::X11Window(X11WindowSystem& system, Window window, int width, int height, Kind kind, WindowClient& client)
    : system_(system), window_(window), client_(client), width_(width), height_(height),
      topLevel_(kind != Kind::child), alwaysOnTop_(kind == Kind::topLevelAbove) {
    X11ErrorTrap trap(system_.display());
    gc_ = XCreateGC(system_.display(), window_, 0, nullptr);
    markInvalid(0, 0, width_, height_);
}

X11Window::~X11Window() {
    {
        X11ErrorTrap trap(system_.display());
        if (grabbed_) XUngrabPointer(system_.display(), CurrentTime);
        if (gc_ != nullptr) XFreeGC(system_.display(), gc_);
        if (alive_) XDestroyWindow(system_.display(), window_);
    }
    system_.forget(*this);  // may close the connection: last
}

void X11Window::show() {
    if (!alive_) return;
    X11ErrorTrap trap(system_.display());
    XMapRaised(system_.display(), window_);
    if (alwaysOnTop_) {
        // The property was set before mapping; window managers that reset it on
        // mapping honour this request instead.
        const auto& atoms = system_.atoms();
        XEvent message{};
        message.xclient.type = ClientMessage;
        message.xclient.window = window_;
        message.xclient.message_type = atoms.netWmState;
        message.xclient.format = 32;
        message.xclient.data.l[0] = 1;  // add
        message.xclient.data.l[1] = static_cast<long>(atoms.netWmStateAbove);
        message.xclient.data.l[3] = 1;  // from an application
        XSendEvent(system_.display(), DefaultRootWindow(system_.display()), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &message);
    }
    mapped_ = true;
    markInvalid(0, 0, width_, height_);
}

void X11Window::hide() {
    if (!alive_) return;
    X11ErrorTrap trap(system_.display());
    XUnmapWindow(system_.display(), window_);
    mapped_ = false;
}

void X11Window::invalidate(int left, int top, int right, int bottom) { markInvalid(left, top, right, bottom); }

void X11Window::presentNow() {
    if (!alive_ || !mapped_ || invalidLeft_ >= invalidRight_) return;
    X11ErrorTrap trap(system_.display());
    paintIfInvalid();
    XFlush(system_.display());
}

void X11Window::markInvalid(int left, int top, int right, int bottom) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    if (left >= right || top >= bottom) return;
    if (invalidLeft_ >= invalidRight_) {
        invalidLeft_ = left;
        invalidTop_ = top;
        invalidRight_ = right;
        invalidBottom_ = bottom;
        return;
    }
    invalidLeft_ = std::min(invalidLeft_, left);
    invalidTop_ = std::min(invalidTop_, top);
    invalidRight_ = std::max(invalidRight_, right);
    invalidBottom_ = std::max(invalidBottom_, bottom);
}

void X11Window::resize(int width, int height) {
    if (!alive_ || width <= 0 || height <= 0) return;
    X11ErrorTrap trap(system_.display());
    if (topLevel_) {
        XSizeHints* hints = XAllocSizeHints();
        if (hints != nullptr) {
            hints->flags = PMinSize | PMaxSize;
            hints->min_width = hints->max_width = width;
            hints->min_height = hints->max_height = height;
            XSetWMNormalHints(system_.display(), window_, hints);
            XFree(hints);
        }
    }
    XResizeWindow(system_.display(), window_, static_cast<unsigned>(width), static_cast<unsigned>(height));
    width_ = width;
    height_ = height;
    markInvalid(0, 0, width_, height_);
}

void X11Window::captureMouse(bool captured) {
    if (!alive_) return;
    X11ErrorTrap trap(system_.display());
    if (captured && !grabbed_) {
        // A pressed button already grabs the pointer implicitly; this keeps it across releases too.
        grabbed_ = XGrabPointer(system_.display(), window_, False,
                                ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                                GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
    } else if (!captured && grabbed_) {
        XUngrabPointer(system_.display(), CurrentTime);
        grabbed_ = false;
    }
}

bool X11Window::isStillWindow() const {
    if (!alive_ || system_.display() == nullptr) return false;
    X11ErrorTrap trap(system_.display());
    XWindowAttributes attributes;
    const Status status = XGetWindowAttributes(system_.display(), window_, &attributes);
    return !trap.syncFailed() && status != 0;
}

void* X11Window::nativeHandle() const { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window_)); }

void X11Window::handleEvent(XEvent& event) {
    switch (event.type) {
        case Expose:
            markInvalid(event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                        event.xexpose.y + event.xexpose.height);
            return;
        case MapNotify:
            mapped_ = true;
            return;
        case UnmapNotify:
            mapped_ = false;
            return;
        case DestroyNotify:
            if (event.xdestroywindow.window == window_) {
                alive_ = false;
                grabbed_ = false;
            }
            return;
        case ButtonPress: {
            if (event.xbutton.button == Button4 || event.xbutton.button == Button5) {
                MouseEvent wheel = buttonEvent(event.xbutton, MouseEvent::Type::wheel, MouseButton::none);
                wheel.wheelSteps = event.xbutton.button == Button4 ? 1 : -1;
                client_.mouseEvent(wheel);
                return;
            }
            const MouseButton button = buttonOf(event.xbutton.button);
            if (button == MouseButton::none) return;
            // Keys go to the window that was clicked last, as with Windows controls.
            XSetInputFocus(system_.display(), window_, RevertToParent, event.xbutton.time);
            const bool second = doubleClick_.press(static_cast<int>(event.xbutton.button), event.xbutton.x,
                                                   event.xbutton.y, static_cast<std::uint32_t>(event.xbutton.time));
            client_.mouseEvent(
                buttonEvent(event.xbutton, second ? MouseEvent::Type::doubleClick : MouseEvent::Type::press, button));
            return;
        }
        case ButtonRelease: {
            const MouseButton button = buttonOf(event.xbutton.button);
            if (button == MouseButton::none) return;
            client_.mouseEvent(buttonEvent(event.xbutton, MouseEvent::Type::release, button));
            return;
        }
        case MotionNotify: {
            // Only the newest of a run of moves matters to the controls.
            Display* display = system_.display();
            while (XEventsQueued(display, QueuedAlready) > 0) {
                XEvent next;
                XPeekEvent(display, &next);
                if (next.type != MotionNotify || next.xmotion.window != window_) break;
                XNextEvent(display, &event);
            }
            MouseEvent mouse;
            mouse.type = MouseEvent::Type::move;
            mouse.x = event.xmotion.x;
            mouse.y = event.xmotion.y;
            const unsigned state = event.xmotion.state;
            mouse.button = (state & Button1Mask) != 0   ? MouseButton::left
                           : (state & Button3Mask) != 0 ? MouseButton::right
                           : (state & Button2Mask) != 0 ? MouseButton::middle
                                                        : MouseButton::none;
            mouse.control = (state & ControlMask) != 0;
            mouse.shift = (state & ShiftMask) != 0;
            client_.mouseEvent(mouse);
            return;
        }
        case KeyPress: {
            KeyEvent key;
            key.key = keyOf(XLookupKeysym(&event.xkey, 0));
            key.control = (event.xkey.state & ControlMask) != 0;
            key.shift = (event.xkey.state & ShiftMask) != 0;
            client_.keyEvent(key);
            return;
        }
        case ClientMessage:
            if (event.xclient.message_type == system_.atoms().wmProtocols && event.xclient.format == 32 &&
                static_cast<Atom>(event.xclient.data.l[0]) == system_.atoms().wmDeleteWindow) {
                client_.closeRequested();
            }
            return;
        default:
            return;
    }
}

void X11Window::paintIfInvalid() {
    if (!alive_ || !mapped_ || invalidLeft_ >= invalidRight_) return;
    const int left = invalidLeft_, top = invalidTop_, right = invalidRight_, bottom = invalidBottom_;
    invalidLeft_ = invalidTop_ = invalidRight_ = invalidBottom_ = 0;
    const Image& image = client_.paint();
    system_.blitter().put(window_, gc_, image, left, top, right, bottom);
}

}  // namespace platform::x11
