// X11WindowSystem.cpp — connection, window creation, timers and the idle pump.
//
//   X11WindowSystem::createChild / createTopLevel   windows on our own Display
//   X11WindowSystem::idle                           1. drain X events, 2. fire due
//                                                   timers, 3. repaint invalid areas
//   nativeWindowSystem                              the Linux builds' window system
#include "platform/x11/X11WindowSystem.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <utility>

#include "platform/x11/X11Blitter.h"
#include "platform/x11/X11ErrorTrap.h"
#include "platform/x11/X11Window.h"

namespace platform::x11 {

namespace {
constexpr long eventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                           StructureNotifyMask;

std::uint64_t nowMilliseconds() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// A connection made right after another one closed is now and then turned away
// (the server has not yet accepted the queued ones; connect fails with EAGAIN),
// which happens whenever a host closes and reopens the editor. A few short
// retries make the editor open every time; without a server they cost ~10 ms.
Display* openWithRetries() {
    constexpr int attempts = 5;
    for (int attempt = 0;; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr)) return display;
        if (attempt + 1 == attempts) return nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(attempt + 1));
    }
}

class X11Timer final : public Timer {
public:
    X11Timer(X11WindowSystem& system, TimerQueue::Id id) : system_(system), id_(id) {}
    ~X11Timer() override { system_.removeTimer(id_); }

private:
    X11WindowSystem& system_;
    TimerQueue::Id id_;
};
}  // namespace

X11WindowSystem::X11WindowSystem() = default;

X11WindowSystem::~X11WindowSystem() {
    // Windows still open at unload belong to clients that outlive us; drop our side quietly.
    windows_.clear();
    blitter_.reset();
    if (display_ != nullptr) XCloseDisplay(display_);
}

bool X11WindowSystem::openDisplay() {
    if (display_ != nullptr) return true;
    display_ = openWithRetries();
    if (display_ == nullptr) return false;
    screen_ = DefaultScreen(display_);
    visual_ = DefaultVisual(display_, screen_);
    depth_ = DefaultDepth(display_, screen_);
    colormap_ = DefaultColormap(display_, screen_);
    blitter_ = std::make_unique<X11Blitter>(display_, visual_, depth_);
    if (!blitter_->usable()) {
        // Palette visuals: nothing we could show would look right.
        blitter_.reset();
        XCloseDisplay(display_);
        display_ = nullptr;
        return false;
    }
    atoms_.wmProtocols = XInternAtom(display_, "WM_PROTOCOLS", False);
    atoms_.wmDeleteWindow = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    atoms_.netWmState = XInternAtom(display_, "_NET_WM_STATE", False);
    atoms_.netWmStateAbove = XInternAtom(display_, "_NET_WM_STATE_ABOVE", False);
    atoms_.netWmName = XInternAtom(display_, "_NET_WM_NAME", False);
    atoms_.netWmWindowType = XInternAtom(display_, "_NET_WM_WINDOW_TYPE", False);
    atoms_.netWmWindowTypeDialog = XInternAtom(display_, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    atoms_.utf8String = XInternAtom(display_, "UTF8_STRING", False);
    return true;
}

void X11WindowSystem::closeDisplayIfUnused() {
    if (inIdle_ || display_ == nullptr || !windows_.empty()) return;
    blitter_.reset();
    XCloseDisplay(display_);
    display_ = nullptr;
}

Window X11WindowSystem::createWindow(Window parent, int width, int height, bool topLevel) {
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None;  // we paint every pixel; no flash of background
    attributes.border_pixel = 0;
    attributes.colormap = colormap_;
    attributes.event_mask = eventMask;
    int x = 0, y = 0;
    if (topLevel) {
        x = (DisplayWidth(display_, screen_) - width) / 2;
        y = (DisplayHeight(display_, screen_) - height) / 2;
    }
    // Our own visual and colormap, so a host window of another depth is no obstacle.
    return XCreateWindow(display_, parent, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                         depth_, InputOutput, visual_, CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask,
                         &attributes);
}

std::unique_ptr<NativeWindow> X11WindowSystem::createChild(void* parent, int width, int height,
                                                           WindowClient& client) {
    if (parent == nullptr || width <= 0 || height <= 0 || !openDisplay()) return nullptr;
    const Window parentId = static_cast<Window>(reinterpret_cast<std::uintptr_t>(parent));
    Window window = None;
    {
        X11ErrorTrap trap(display_);
        window = createWindow(parentId, width, height, false);  // mapped by show()
        if (trap.syncFailed()) {
            // Not a window of this display (or already gone): show nothing.
            XDestroyWindow(display_, window);
            window = None;
        }
    }
    if (window == None) {
        closeDisplayIfUnused();
        return nullptr;
    }
    auto created = std::make_unique<X11Window>(*this, window, width, height, X11Window::Kind::child, client);
    windows_[window] = created.get();
    return created;
}

std::unique_ptr<NativeWindow> X11WindowSystem::createTopLevel(const std::string& title, int width, int height,
                                                              bool alwaysOnTop, WindowClient& client) {
    if (width <= 0 || height <= 0 || !openDisplay()) return nullptr;
    Window window = None;
    {
        X11ErrorTrap trap(display_);
        window = createWindow(RootWindow(display_, screen_), width, height, true);

        // 1. Title, in both the old Latin-1 property and the UTF-8 one.
        XStoreName(display_, window, title.c_str());
        XChangeProperty(display_, window, atoms_.netWmName, atoms_.utf8String, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
        // 2. A fixed-size dialog placed in the middle of the screen.
        if (XSizeHints* hints = XAllocSizeHints()) {
            hints->flags = PPosition | PMinSize | PMaxSize;
            hints->x = (DisplayWidth(display_, screen_) - width) / 2;
            hints->y = (DisplayHeight(display_, screen_) - height) / 2;
            hints->min_width = hints->max_width = width;
            hints->min_height = hints->max_height = height;
            XSetWMNormalHints(display_, window, hints);
            XFree(hints);
        }
        if (XClassHint* hint = XAllocClassHint()) {
            char name[] = "brisora";
            char className[] = "Brisora";
            hint->res_name = name;
            hint->res_class = className;
            XSetClassHint(display_, window, hint);
            XFree(hint);
        }
        Atom dialog = atoms_.netWmWindowTypeDialog;
        XChangeProperty(display_, window, atoms_.netWmWindowType, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&dialog), 1);
        // 3. The close box asks the client instead of killing the connection.
        Atom protocols = atoms_.wmDeleteWindow;
        XSetWMProtocols(display_, window, &protocols, 1);
        // 4. Above other windows, read by the window manager when the window is mapped.
        if (alwaysOnTop) {
            Atom above = atoms_.netWmStateAbove;
            XChangeProperty(display_, window, atoms_.netWmState, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&above), 1);
        }
        if (trap.syncFailed()) {
            XDestroyWindow(display_, window);
            window = None;
        }
    }
    if (window == None) {
        closeDisplayIfUnused();
        return nullptr;
    }
    auto created = std::make_unique<X11Window>(
        *this, window, width, height, alwaysOnTop ? X11Window::Kind::topLevelAbove : X11Window::Kind::topLevel, client);
    windows_[window] = created.get();
    return created;
}

void X11WindowSystem::forget(X11Window& window) {
    auto found = windows_.find(window.id());
    if (found != windows_.end() && found->second == &window) windows_.erase(found);
    closeDisplayIfUnused();
}

X11Window* X11WindowSystem::find(Window id) const {
    auto found = windows_.find(id);
    return found == windows_.end() ? nullptr : found->second;
}

std::unique_ptr<Timer> X11WindowSystem::startTimer(std::uint32_t intervalMilliseconds, std::function<void()> tick) {
    const TimerQueue::Id id = timers_.add(intervalMilliseconds, std::move(tick), nowMilliseconds());
    return std::make_unique<X11Timer>(*this, id);
}

bool X11WindowSystem::controlKeyDown() const {
    // The state that came with the input being handled: a gesture is judged by
    // the keys of its own events, not by the keyboard when the panel gets round
    // to it (the events may be handled well after they happened).
    if (sawInput_) return controlDown_;
    if (display_ == nullptr) return false;
    char keys[32];
    XQueryKeymap(display_, keys);
    for (KeySym symbol : {XK_Control_L, XK_Control_R}) {
        const KeyCode code = XKeysymToKeycode(display_, symbol);
        if (code != 0 && (keys[code / 8] & (1 << (code % 8))) != 0) return true;
    }
    return false;
}

void X11WindowSystem::noteModifiers(const XEvent& event) {
    switch (event.type) {
        case ButtonPress:
        case ButtonRelease: controlDown_ = (event.xbutton.state & ControlMask) != 0; break;
        case MotionNotify: controlDown_ = (event.xmotion.state & ControlMask) != 0; break;
        case KeyPress:
        case KeyRelease: {
            // An event's state is the one before it: Control's own press and release say it all.
            const KeySym symbol = XLookupKeysym(const_cast<XKeyEvent*>(&event.xkey), 0);
            if (symbol == XK_Control_L || symbol == XK_Control_R)
                controlDown_ = event.type == KeyPress;
            else
                controlDown_ = (event.xkey.state & ControlMask) != 0;
            break;
        }
        default: return;
    }
    sawInput_ = true;
}

void X11WindowSystem::dispatchPendingEvents() {
    while (display_ != nullptr && XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (X11Window* window = find(event.xany.window)) {
            noteModifiers(event);
            window->handleEvent(event);
        }
    }
}

void X11WindowSystem::paintInvalidWindows() {
    paintOrder_.clear();
    for (const auto& entry : windows_) paintOrder_.push_back(entry.first);
    for (Window id : paintOrder_) {
        if (X11Window* window = find(id)) window->paintIfInvalid();
    }
}

void X11WindowSystem::idle() {
    if (inIdle_) return;  // a client that calls idle from inside a callback
    inIdle_ = true;
    if (display_ != nullptr) {
        X11ErrorTrap trap(display_);
        dispatchPendingEvents();
    }
    timers_.fireDue(nowMilliseconds());
    if (display_ != nullptr) {
        X11ErrorTrap trap(display_);
        paintInvalidWindows();
    }
    inIdle_ = false;
    closeDisplayIfUnused();  // when the last window went during this call
}

}  // namespace platform::x11

namespace platform {

WindowSystem& nativeWindowSystem() {
    static x11::X11WindowSystem system;
    return system;
}

}  // namespace platform
