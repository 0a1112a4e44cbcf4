// win32_backend_test.cpp — the Win32 window system in a real (Wine or Windows) session.
//
// One part of win32_window_tests (the cross builds carry no test framework);
// each check prints "ok" or "FAIL". Checked:
//   1. a child of a host window: parent, style, place and size
//   2. it paints the client's image (read back with BitBlt and with PrintWindow)
//   3. clicks, double clicks, capture from press to release, keys
//   4. timers fire from the message loop and stop when destroyed
//   5. a top-level always-on-top dialog: style, title, close box
//   6. the host destroying its window first, and a parent that is no window
//   7. afterwards no window, no window class and no GDI/USER object is left
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/NativeWindow.h"
#include "platform/win32/Win32WindowSystem.h"
#include "tests/win32/Win32Checks.h"
#include "tests/win32/Win32TestHost.h"

namespace {

using win32_test::check;
using win32_test::clickAt;
using win32_test::pump;
using win32_test::pumpFor;

platform::Pixel patternPixel(int x, int y, int seed) {
    return platform::rgb(static_cast<std::uint8_t>(x * 2 + seed), static_cast<std::uint8_t>(y * 3),
                        static_cast<std::uint8_t>((x ^ y) * 5 + seed));
}

class PatternClient final : public platform::WindowClient {
public:
    PatternClient(int width, int height) : image(width, height) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) image.at(x, y) = patternPixel(x, y, width);
    }
    const platform::Image& paint() override {
        ++paints;
        return image;
    }
    void mouseEvent(const platform::MouseEvent& event) override {
        mouse.push_back(event);
        capturedDuring.push_back(GetCapture() == static_cast<HWND>(window));
    }
    void keyEvent(const platform::KeyEvent& event) override { keys.push_back(event); }
    void closeRequested() override {
        ++closes;
        if (onClose) onClose();
    }

    platform::Image image;
    void* window = nullptr;
    int paints = 0;
    int closes = 0;
    std::vector<platform::MouseEvent> mouse;
    std::vector<bool> capturedDuring;
    std::vector<platform::KeyEvent> keys;
    std::function<void()> onClose;
};

// Pixels of a window's client area as 0x00RRGGBB, by copying from its DC or by PrintWindow.
std::vector<std::uint32_t> capture(HWND window, int width, int height, bool printWindow) {
    std::vector<std::uint32_t> pixels;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (bitmap == nullptr || memory == nullptr) return pixels;
    HGDIOBJ old = SelectObject(memory, bitmap);
    if (printWindow) {
        PrintWindow(window, memory, PW_CLIENTONLY);
    } else {
        HDC source = GetDC(window);
        BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
        ReleaseDC(window, source);
    }
    GdiFlush();
    const auto* data = static_cast<const std::uint32_t*>(bits);
    pixels.assign(data, data + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return pixels;
}

int mismatches(const std::vector<std::uint32_t>& pixels, const platform::Image& image) {
    if (pixels.size() != image.pixels.size()) return -1;
    int count = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if ((pixels[i] & 0xFFFFFF) != (image.pixels[i] & 0xFFFFFF)) ++count;
    }
    return count;
}

// Wine reports no GDI/USER counts (always 0); the thread's own windows are counted
// as well, so that a leaked window shows there too.
struct Resources {
    DWORD gdi = 0;
    DWORD user = 0;
    int windows = 0;
};
BOOL CALLBACK countWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}
Resources resources() {
    Resources counts{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                     GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), 0};
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&counts.windows));
    return counts;
}

void childChecks(platform::win32::Win32WindowSystem& system, HWND host, std::wstring& className) {
    PatternClient client(160, 100);
    auto window = system.createChild(host, 160, 100, client);
    check(window != nullptr, "child window created");
    if (window == nullptr) return;
    const HWND child = static_cast<HWND>(window->nativeHandle());
    client.window = child;
    check(!IsWindowVisible(child), "child hidden until shown");
    window->show();
    wchar_t name[128] = L"";
    GetClassNameW(child, name, 128);
    className = name;

    // 1. Parent, borderless style, top-left place, size.
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    check(GetParent(child) == host, "child's parent is the host window");
    check((style & WS_CHILD) != 0 && (style & WS_VISIBLE) != 0 && (style & WS_CLIPCHILDREN) != 0,
          "child style WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN");
    check((style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_SYSMENU)) == 0, "child has no caption or frame");
    RECT area{};
    GetClientRect(child, &area);
    check(area.right == 160 && area.bottom == 100, "child client area 160 x 100");
    RECT outer{};
    GetWindowRect(child, &outer);
    POINT corner{0, 0};
    ClientToScreen(host, &corner);
    check(outer.left == corner.x && outer.top == corner.y, "child at the host's top-left corner");
    WNDCLASSEXW classInfo{};
    classInfo.cbSize = sizeof classInfo;
    check(GetClassInfoExW(GetModuleHandleW(nullptr), name, &classInfo) != 0 && (classInfo.style & CS_DBLCLKS) != 0,
          "window class registered with our module and CS_DBLCLKS");

    // 2. Painting.
    pump([&] { return client.paints > 0; });
    check(client.paints > 0, "WM_PAINT asked the client for its image");
    const int onScreen = mismatches(capture(child, 160, 100, false), client.image);
    std::printf("     %d pixels differ on screen\n", onScreen);
    check(onScreen == 0, "child shows the client's image (BitBlt from its DC)");
    check(mismatches(capture(child, 160, 100, true), client.image) == 0, "PrintWindow gives the client's image");
    const int paints = client.paints;
    window->invalidate(10, 10, 20, 20);
    pump([&] { return client.paints > paints; });
    check(client.paints == paints + 1, "invalidate leads to one more paint");
    window->invalidate(0, 0, 160, 100);
    window->presentNow();
    check(client.paints == paints + 2, "presentNow paints what is marked without the message loop");

    // 3. Input.
    PostMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(12, 34));
    PostMessageW(child, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-5), 40));
    PostMessageW(child, WM_LBUTTONUP, 0, MAKELPARAM(13, 35));
    pump([&] { return client.mouse.size() >= 3; });
    bool clicked = client.mouse.size() == 3 && client.mouse[0].type == platform::MouseEvent::Type::press &&
                   client.mouse[0].x == 12 && client.mouse[0].y == 34 &&
                   client.mouse[0].button == platform::MouseButton::left && client.mouse[0].control &&
                   client.mouse[1].type == platform::MouseEvent::Type::move && client.mouse[1].x == -5 &&
                   client.mouse[1].button == platform::MouseButton::left &&
                   client.mouse[2].type == platform::MouseEvent::Type::release && client.mouse[2].x == 13;
    check(clicked, "press, move (outside, negative x) and release arrive");
    check(client.capturedDuring.size() == 3 && client.capturedDuring[0] && client.capturedDuring[1],
          "mouse captured from press on");
    check(GetCapture() != child, "capture released after the release");

    client.mouse.clear();
    clickAt(child, 50, 50);
    clickAt(child, 51, 50);
    pump([&] { return client.mouse.size() >= 4; }, 1500);
    bool doubleClicked = false;
    for (const auto& event : client.mouse) doubleClicked = doubleClicked || event.type == platform::MouseEvent::Type::doubleClick;
    std::printf("     %zu mouse events from two real clicks\n", client.mouse.size());
    check(doubleClicked, "two quick real clicks give a double click");

    PostMessageW(child, WM_KEYDOWN, VK_PRIOR, 0);
    PostMessageW(child, WM_KEYDOWN, 'A', 0);
    pump([&] { return client.keys.size() >= 2; });
    check(client.keys.size() == 2 && client.keys[0].key == platform::Key::pageUp &&
              client.keys[1].key == platform::Key::other,
          "keys arrive as platform keys");
    check(!system.controlKeyDown(), "Control is up");
    check(window->isStillWindow(), "child is still a window");
}

void timerChecks(platform::win32::Win32WindowSystem& system) {
    int ticks = 0;
    auto timer = system.startTimer(20, [&] { ++ticks; });
    check(timer != nullptr && system.timerWindow() != nullptr, "timer started on a hidden window");
    pump([&] { return ticks >= 3; });
    check(ticks >= 3, "timer fires from the message loop");
    timer.reset();
    const int stopped = ticks;
    pumpFor(100);
    check(ticks == stopped, "a destroyed timer stops");
    check(system.timerWindow() == nullptr, "hidden timer window gone with the last timer");

    int selfTicks = 0;
    std::unique_ptr<platform::Timer> self;
    self = system.startTimer(10, [&] {
        ++selfTicks;
        self.reset();
    });
    pumpFor(100);
    check(selfTicks == 1 && self == nullptr, "a timer may stop itself inside its callback");
}

void dialogChecks(platform::win32::Win32WindowSystem& system) {
    PatternClient client(200, 120);
    auto dialog = system.createTopLevel("About Tonemark", 200, 120, true, client);
    check(dialog != nullptr, "top-level dialog created");
    if (dialog == nullptr) return;
    const HWND window = static_cast<HWND>(dialog->nativeHandle());
    client.window = window;
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    check((style & WS_POPUP) != 0 && (style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU) != 0,
          "dialog style WS_POPUP | WS_CAPTION | WS_SYSMENU");
    check((exStyle & WS_EX_TOPMOST) != 0, "always-on-top dialog is WS_EX_TOPMOST");
    check(GetParent(window) == nullptr, "dialog has no parent");
    check(!IsWindowVisible(window), "dialog hidden until shown");
    wchar_t title[64] = L"";
    GetWindowTextW(window, title, 64);
    check(std::wstring(title) == L"About Tonemark", "dialog title");
    RECT area{};
    GetClientRect(window, &area);
    check(area.right == 200 && area.bottom == 120, "dialog client area 200 x 120");

    dialog->show();
    pump([&] { return client.paints > 0; });
    check(IsWindowVisible(window) && client.paints > 0, "shown dialog paints");
    check(mismatches(capture(window, 200, 120, true), client.image) == 0, "dialog shows the client's image");

    client.onClose = [&] { dialog.reset(); };
    PostMessageW(window, WM_CLOSE, 0, 0);
    pump([&] { return client.closes > 0; });
    check(client.closes == 1 && dialog == nullptr && !IsWindow(window),
          "close box asks the client, which destroys the dialog inside the call");

    PatternClient plain(50, 50);
    auto normal = system.createTopLevel("Plain", 50, 50, false, plain);
    check(normal != nullptr && (GetWindowLongW(static_cast<HWND>(normal->nativeHandle()), GWL_EXSTYLE) & WS_EX_TOPMOST) == 0,
          "dialog without always-on-top is not topmost");
}

void robustnessChecks(platform::win32::Win32WindowSystem& system) {
    PatternClient client(40, 40);
    check(system.createChild(reinterpret_cast<void*>(std::uintptr_t{0x1234}), 40, 40, client) == nullptr,
          "a parent that is no window gives no child");
    check(system.createChild(nullptr, 40, 40, client) == nullptr, "a null parent gives no child");

    HWND host = CreateWindowExW(0, L"TestHost", L"Second host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ShowWindow(host, SW_SHOW);
    auto window = system.createChild(host, 40, 40, client);
    check(window != nullptr, "child of a second host");
    if (window != nullptr) window->show();
    pumpFor(50);
    DestroyWindow(host);
    check(window != nullptr && !window->isStillWindow(), "child is no window once the host destroyed its own");
    if (window != nullptr) {
        window->invalidate(0, 0, 10, 10);
        window->resize(50, 50);
        window->show();
    }
    window.reset();
    pumpFor(20);
    check(true, "destroying a child whose host went first");
}

}  // namespace

void win32_test::backendChecks() {
    platform::win32::Win32WindowSystem system;
    HWND host = win32_test::makeHostWindow(L"TestHost", 420, 320);
    pumpFor(200);
    const Resources before = resources();
    std::printf("     baseline: %lu GDI, %lu USER objects, %d windows\n", static_cast<unsigned long>(before.gdi),
                static_cast<unsigned long>(before.user), before.windows);

    std::wstring className;
    childChecks(system, host, className);
    pumpFor(50);
    WNDCLASSEXW classInfo{};
    classInfo.cbSize = sizeof classInfo;
    check(GetClassInfoExW(GetModuleHandleW(nullptr), className.c_str(), &classInfo) == 0,
          "window class unregistered with the last window");
    timerChecks(system);
    dialogChecks(system);
    robustnessChecks(system);
    pumpFor(50);

    HWND child = FindWindowExW(host, nullptr, nullptr, nullptr);
    check(child == nullptr, "no window left in the host");
    check(GetClassInfoExW(GetModuleHandleW(nullptr), className.c_str(), &classInfo) == 0,
          "window class unregistered at the end");
    const Resources after = resources();
    std::printf("     after: %lu GDI, %lu USER objects, %d windows\n", static_cast<unsigned long>(after.gdi),
                static_cast<unsigned long>(after.user), after.windows);
    check(after.gdi == before.gdi && after.user == before.user, "GDI and USER objects back at the baseline");
    check(after.windows == before.windows, "the thread's windows back at the baseline");

    DestroyWindow(host);
}
