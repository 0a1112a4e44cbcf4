// HostWindowWin32.cpp — the host window on Windows (and under Wine).
//
// A fixed-size captioned top-level window whose client area is the editor's
// size. It does not clip its children, so a BitBlt from its DC reads what the
// editor's child window painted. Clicks are posted to the deepest visible
// child under the point, in that child's coordinates.
#include <windows.h>

#include "tools/plughost/HostWindow.h"

namespace plughost {
namespace {

const wchar_t kClassName[] = L"PlughostEditorHost";

class Win32HostWindow : public HostWindow {
public:
    Win32HostWindow(HWND window, int width, int height) : window(window), width(width), height(height) {
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Win32HostWindow() override {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (IsWindow(window)) DestroyWindow(window);
        pump();
    }

    void* handle() const override { return window; }

    bool hasChildWindow() override { return GetWindow(window, GW_CHILD) != nullptr; }

    void pump() override {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    bool press(int x, int y, std::string& method) override {
        method = "PostMessage";
        POINT point{x, y};
        HWND target = deepestChild(point);
        PostMessageW(target, WM_MOUSEMOVE, keys(), MAKELPARAM(point.x, point.y));
        return PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON | keys(), MAKELPARAM(point.x, point.y)) != 0;
    }

    bool release(int x, int y) override {
        POINT point{x, y};
        HWND target = deepestChild(point);
        return PostMessageW(target, WM_LBUTTONUP, keys(), MAKELPARAM(point.x, point.y)) != 0;
    }

    bool move(int x, int y) override {
        POINT point{x, y};
        HWND target = deepestChild(point);
        return PostMessageW(target, WM_MOUSEMOVE, MK_LBUTTON | keys(), MAKELPARAM(point.x, point.y)) != 0;
    }

    // Posted messages carry the key in their MK_CONTROL flag.
    bool controlKey(bool down) override {
        controlHeld = down;
        return true;
    }

    bool wheel(int x, int y, int steps) override {
        // Posted to the panel's window under the point; WM_MOUSEWHEEL carries
        // the point in screen coordinates.
        POINT point{x, y};
        HWND target = deepestChild(point);
        POINT screen{x, y};
        ClientToScreen(window, &screen);
        const WPARAM turn = MAKEWPARAM(keys(), static_cast<WORD>(static_cast<short>(steps * WHEEL_DELTA)));
        return PostMessageW(target, WM_MOUSEWHEEL, turn, MAKELPARAM(screen.x, screen.y)) != 0;
    }

    bool doubleClick(int x, int y, std::string& method) override {
        method = "PostMessage";
        POINT point{x, y};
        HWND target = deepestChild(point);
        const LPARAM at = MAKELPARAM(point.x, point.y);
        PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON | keys(), at);
        PostMessageW(target, WM_LBUTTONUP, keys(), at);
        PostMessageW(target, WM_LBUTTONDBLCLK, MK_LBUTTON | keys(), at);
        return PostMessageW(target, WM_LBUTTONUP, keys(), at) != 0;
    }

    bool capture(Screenshot& shot, std::string& error) override {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        pump();
        HDC windowDc = GetDC(window);
        if (!windowDc) return error = "GetDC failed", false;
        HDC memoryDc = CreateCompatibleDC(windowDc);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bool ok = memoryDc && bitmap && bits;
        if (ok) {
            HGDIOBJ old = SelectObject(memoryDc, bitmap);
            ok = BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY) != 0;
            GdiFlush();
            if (ok) {
                const std::uint8_t* source = static_cast<const std::uint8_t*>(bits);
                shot.width = width;
                shot.height = height;
                shot.rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
                for (std::size_t i = 0; i < static_cast<std::size_t>(width) * static_cast<std::size_t>(height); ++i) {
                    shot.rgb[i * 3 + 0] = source[i * 4 + 2];  // DIB pixels are B, G, R, unused
                    shot.rgb[i * 3 + 1] = source[i * 4 + 1];
                    shot.rgb[i * 3 + 2] = source[i * 4 + 0];
                }
            }
            SelectObject(memoryDc, old);
        }
        if (bitmap) DeleteObject(bitmap);
        if (memoryDc) DeleteDC(memoryDc);
        ReleaseDC(window, windowDc);
        if (!ok) error = "BitBlt from the host window failed";
        return ok;
    }

    bool closeRequested() const override { return closing; }
    void requestClose() { closing = true; }

private:
    // The deepest visible child at `point` (client coordinates of our window);
    // `point` is converted into that child's client coordinates.
    HWND deepestChild(POINT& point) const {
        HWND target = window;
        while (true) {
            HWND under = ChildWindowFromPointEx(target, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
            if (under == nullptr || under == target) break;
            MapWindowPoints(target, under, &point, 1);
            target = under;
        }
        return target;
    }

    WPARAM keys() const { return controlHeld ? MK_CONTROL : 0; }

    HWND window;
    int width, height;
    bool closing = false;
    bool controlHeld = false;
};

LRESULT CALLBACK hostWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        auto* host = reinterpret_cast<Win32HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (host) host->requestClose();
        return 0;  // the editor is closed first; the window goes with the host object
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

std::unique_ptr<HostWindow> createHostWindow(int width, int height, const std::string& title, std::string& error) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = hostWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = CreateSolidBrush(RGB(0x50, 0x50, 0x50));
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        error = "RegisterClassEx failed";
        return nullptr;
    }
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    std::wstring wideTitle(title.begin(), title.end());
    HWND window = CreateWindowExW(0, kClassName, wideTitle.c_str(), style, 0, 0, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (!window) {
        error = "CreateWindowEx failed (error " + std::to_string(GetLastError()) + "; is there a display?)";
        return nullptr;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    auto host = std::make_unique<Win32HostWindow>(window, width, height);
    host->pump();
    return host;
}

}  // namespace plughost
