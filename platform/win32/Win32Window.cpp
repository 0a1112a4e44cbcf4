// Win32Window.cpp — creation, painting and input of one window.
#include "platform/win32/Win32Window.h"

#include <memory>

namespace platform::win32 {

namespace {
// Children too are created hidden: the owner shows them once their content is ready.
constexpr DWORD childStyle = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD dialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD dialogExStyle = WS_EX_DLGMODALFRAME;

Key keyOf(WPARAM virtualKey) {
    switch (virtualKey) {
        case VK_LEFT: return Key::left;
        case VK_RIGHT: return Key::right;
        case VK_UP: return Key::up;
        case VK_DOWN: return Key::down;
        case VK_PRIOR: return Key::pageUp;
        case VK_NEXT: return Key::pageDown;
        case VK_HOME: return Key::home;
        case VK_END: return Key::end;
        case VK_RETURN: return Key::enter;
        case VK_ESCAPE: return Key::escape;
        case VK_SPACE: return Key::space;
        case VK_TAB: return Key::tab;
        default: return Key::other;
    }
}

bool keyDown(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }
}  // namespace

std::unique_ptr<Win32Window> Win32Window::create(Kind kind, HWND parent, const wchar_t* title, int width, int height,
                                                 WindowClient& client) {
    if (width <= 0 || height <= 0) return nullptr;
    if (kind == Kind::child && (parent == nullptr || !IsWindow(parent))) return nullptr;
    std::unique_ptr<Win32Window> created(new Win32Window(kind, client));
    if (acquireWindowClass() == nullptr) return nullptr;
    created->classAcquired_ = true;
    if (kind == Kind::child) {
        created->window_ = createTargetWindow(0, childStyle, 0, 0, width, height, parent, L"", *created);
    } else {
        // Client size as asked, the frame around it, the whole in the middle of the work area.
        int outerWidth = width, outerHeight = height;
        created->outerSize(width, height, outerWidth, outerHeight);
        RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        const int x = area.left + (area.right - area.left - outerWidth) / 2;
        const int y = area.top + (area.bottom - area.top - outerHeight) / 2;
        const DWORD exStyle = dialogExStyle | (kind == Kind::topLevelAbove ? WS_EX_TOPMOST : 0);
        created->window_ =
            createTargetWindow(exStyle, dialogStyle, x, y, outerWidth, outerHeight, nullptr, title, *created);
    }
    if (created->window_ == nullptr) return nullptr;  // the destructor releases the class
    return created;
}

Win32Window::~Win32Window() {
    if (window_ != nullptr) {
        // No messages to a half-destroyed object; then the handle goes.
        detachTarget(window_);
        if (IsWindow(window_)) DestroyWindow(window_);
        window_ = nullptr;
    }
    if (classAcquired_) releaseWindowClass();
}

void Win32Window::outerSize(int width, int height, int& outerWidth, int& outerHeight) const {
    RECT frame{0, 0, width, height};
    if (kind_ != Kind::child) {
        const DWORD exStyle = dialogExStyle | (kind_ == Kind::topLevelAbove ? WS_EX_TOPMOST : 0);
        AdjustWindowRectEx(&frame, dialogStyle, FALSE, exStyle);
    }
    outerWidth = frame.right - frame.left;
    outerHeight = frame.bottom - frame.top;
}

void Win32Window::show() {
    // A child shows without taking the activation from the host's window.
    if (window_ != nullptr) ShowWindow(window_, kind_ == Kind::child ? SW_SHOWNA : SW_SHOW);
}

void Win32Window::hide() {
    if (window_ != nullptr) ShowWindow(window_, SW_HIDE);
}

void Win32Window::invalidate(int left, int top, int right, int bottom) {
    if (window_ == nullptr || left >= right || top >= bottom) return;
    const RECT area{left, top, right, bottom};
    InvalidateRect(window_, &area, FALSE);
}

void Win32Window::presentNow() {
    // WM_PAINT at once, for a non-empty update region only.
    if (window_ != nullptr) UpdateWindow(window_);
}

void Win32Window::resize(int width, int height) {
    if (window_ == nullptr || width <= 0 || height <= 0) return;
    int outerWidth = width, outerHeight = height;
    outerSize(width, height, outerWidth, outerHeight);
    SetWindowPos(window_, nullptr, 0, 0, outerWidth, outerHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, FALSE);
}

void Win32Window::captureMouse(bool captured) {
    if (window_ == nullptr) return;
    if (captured) {
        SetCapture(window_);
    } else if (GetCapture() == window_) {
        ReleaseCapture();
    }
}

bool Win32Window::isStillWindow() const { return window_ != nullptr && IsWindow(window_) != FALSE; }

void Win32Window::blit(HDC dc) {
    const Image& image = client_.paint();
    if (image.width <= 0 || image.height <= 0) return;
    // A top-down 32-bit DIB: the image's B, G, R, A bytes as they are. The update
    // region clips the whole-image copy to what needs painting.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(image.width), static_cast<DWORD>(image.height), 0, 0, 0,
                      static_cast<UINT>(image.height), image.pixels.data(), &info, DIB_RGB_COLORS);
}

namespace {
thread_local int mouseMessageControl = -1;
}  // namespace

int controlKeyOfMouseMessage() { return mouseMessageControl; }

LRESULT Win32Window::mouse(MouseEvent::Type type, MouseButton button, WPARAM wParam, LPARAM lParam) {
    MouseEvent event;
    event.type = type;
    event.x = static_cast<short>(LOWORD(lParam));  // signed: negative while captured outside
    event.y = static_cast<short>(HIWORD(lParam));
    event.button = button;
    event.control = (wParam & MK_CONTROL) != 0;
    event.shift = (wParam & MK_SHIFT) != 0;
    if (type == MouseEvent::Type::move) {
        event.button = (wParam & MK_LBUTTON) != 0   ? MouseButton::left
                       : (wParam & MK_RBUTTON) != 0 ? MouseButton::right
                       : (wParam & MK_MBUTTON) != 0 ? MouseButton::middle
                                                    : MouseButton::none;
    } else if (type == MouseEvent::Type::release) {
        if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == window_) ReleaseCapture();
    } else {
        // Keys go to the control clicked last; drags keep the mouse until release.
        if (GetFocus() != window_) SetFocus(window_);
        SetCapture(window_);
    }
    // The client may destroy this window inside the call; only the thread's own
    // variable is touched after it.
    const int outer = mouseMessageControl;
    mouseMessageControl = event.control ? 1 : 0;
    client_.mouseEvent(event);
    mouseMessageControl = outer;
    return 0;
}

LRESULT Win32Window::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            if (dc != nullptr) blit(dc);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_PRINTCLIENT:
            blit(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_LBUTTONDOWN: return mouse(MouseEvent::Type::press, MouseButton::left, wParam, lParam);
        case WM_RBUTTONDOWN: return mouse(MouseEvent::Type::press, MouseButton::right, wParam, lParam);
        case WM_MBUTTONDOWN: return mouse(MouseEvent::Type::press, MouseButton::middle, wParam, lParam);
        case WM_LBUTTONDBLCLK: return mouse(MouseEvent::Type::doubleClick, MouseButton::left, wParam, lParam);
        case WM_RBUTTONDBLCLK: return mouse(MouseEvent::Type::doubleClick, MouseButton::right, wParam, lParam);
        case WM_MBUTTONDBLCLK: return mouse(MouseEvent::Type::doubleClick, MouseButton::middle, wParam, lParam);
        case WM_LBUTTONUP: return mouse(MouseEvent::Type::release, MouseButton::left, wParam, lParam);
        case WM_RBUTTONUP: return mouse(MouseEvent::Type::release, MouseButton::right, wParam, lParam);
        case WM_MBUTTONUP: return mouse(MouseEvent::Type::release, MouseButton::middle, wParam, lParam);
        case WM_MOUSEMOVE: return mouse(MouseEvent::Type::move, MouseButton::none, wParam, lParam);
        case WM_MOUSEWHEEL: {
            // Screen coordinates, and the turn in 120ths of a notch.
            POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ScreenToClient(window, &at);
            wheelRemainder_ += static_cast<short>(HIWORD(wParam));
            const int steps = wheelRemainder_ / WHEEL_DELTA;
            if (steps == 0) return 0;
            wheelRemainder_ -= steps * WHEEL_DELTA;
            MouseEvent event;
            event.type = MouseEvent::Type::wheel;
            event.x = at.x;
            event.y = at.y;
            event.wheelSteps = steps;
            event.control = (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) != 0;
            event.shift = (GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT) != 0;
            client_.mouseEvent(event);
            return 0;
        }
        case WM_GETDLGCODE:
            // Inside a host's dialog, arrows and Tab still reach our controls.
            return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB;
        case WM_KEYDOWN: {
            KeyEvent event;
            event.key = keyOf(wParam);
            event.control = keyDown(VK_CONTROL);
            event.shift = keyDown(VK_SHIFT);
            client_.keyEvent(event);
            return 0;
        }
        case WM_CLOSE:
            if (kind_ != Kind::child) {
                client_.closeRequested();  // the client decides; it may destroy us here
                return 0;
            }
            break;
        case WM_NCDESTROY:
            // Destroyed from outside (the host's window went first): forget the handle.
            window_ = nullptr;
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace platform::win32
