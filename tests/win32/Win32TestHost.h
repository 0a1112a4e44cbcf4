// Win32TestHost.h — what the plain Win32 test programs share (the cross builds
// carry no test framework).
//
//   check / report   one "ok" or "FAIL" line a check; the summary and exit code
//   pump / pumpFor   run the message loop (and an idle call) until a condition
//                    holds or the time is up
//   makeHostWindow   a shown top-level window playing the host's parent window
//   clickAt          real left clicks through the input queue, as fast as it takes them
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>

namespace win32_test {

inline int failures = 0;

inline void check(bool condition, const char* what) {
    std::printf("%s %s\n", condition ? "ok  " : "FAIL", what);
    if (!condition) ++failures;
}

// Prints the summary; the program's exit code.
inline int report() {
    std::printf("%s: %d failure(s)\n", failures == 0 ? "PASSED" : "FAILED", failures);
    return failures == 0 ? 0 : 1;
}

inline void pump(const std::function<void()>& idle, const std::function<bool()>& done, DWORD milliseconds = 20000) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (idle) idle();
        if (done() || GetTickCount() - start >= milliseconds) return;
        Sleep(5);
    }
}

inline void pump(const std::function<bool()>& done, DWORD milliseconds = 20000) { pump(nullptr, done, milliseconds); }

inline void pumpFor(DWORD milliseconds) {
    pump([] { return false; }, milliseconds);
}

inline LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// The window class stays registered, for further host windows of the same class.
inline HWND makeHostWindow(const wchar_t* className, int width, int height) {
    WNDCLASSW hostClass{};
    hostClass.lpfnWndProc = hostProcedure;
    hostClass.hInstance = GetModuleHandleW(nullptr);
    hostClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    hostClass.lpszClassName = className;
    RegisterClassW(&hostClass);
    HWND host = CreateWindowExW(0, className, L"Host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20, width, height,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(host, SW_SHOW);
    UpdateWindow(host);
    SetForegroundWindow(host);
    return host;
}

// `clicks` (one or two) press-release pairs at one point of a window's client
// area. The events carry their own times, 40 ms apart: the system's double-click
// test compares those, so a slow process (an emulated CPU) still sends a quick
// pair.
inline void clickAt(HWND window, int x, int y, int clicks = 1) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    // A slow process may get here before the window system has the window in
    // place under the point; the input would go to whatever lies there.
    pump([&] { return WindowFromPoint(point) == window; }, 10000);
    SetCursorPos(point.x, point.y);
    INPUT inputs[4]{};
    const int count = clicks < 1 ? 0 : clicks > 2 ? 4 : clicks * 2;
    const DWORD start = GetTickCount();
    for (int i = 0; i < count; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
        inputs[i].mi.time = start + static_cast<DWORD>(i) * 40;
    }
    SendInput(static_cast<UINT>(count), inputs, sizeof inputs[0]);
}

}  // namespace win32_test
