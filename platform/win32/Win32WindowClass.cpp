// Win32WindowClass.cpp — class registration count and the window procedure.
#include "platform/win32/Win32WindowClass.h"

#include <cstddef>
#include <cstdint>

namespace platform::win32 {

namespace {
// Everything runs on the editor thread; the count needs no lock.
int classUsers = 0;
wchar_t className[64] = L"";

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* target = reinterpret_cast<MessageTarget*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (target != nullptr) return target->handleMessage(window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

HINSTANCE libraryModule() {
    // The DLL's own handle (not the host's executable), found from an address inside it.
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&windowProcedure), &module);
    return module;
}

const wchar_t* acquireWindowClass() {
    if (classUsers > 0) {
        ++classUsers;
        return className;
    }
    const HINSTANCE module = libraryModule();
    // "BrisoraPanel" and the module address in hexadecimal: unique per loaded library.
    const wchar_t prefix[] = L"BrisoraPanel";
    std::size_t length = 0;
    for (; prefix[length] != 0; ++length) className[length] = prefix[length];
    auto address = reinterpret_cast<std::uintptr_t>(module);
    for (int shift = static_cast<int>(sizeof address * 8) - 4; shift >= 0; shift -= 4)
        className[length++] = L"0123456789abcdef"[(address >> shift) & 0xF];
    className[length] = 0;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;  // double clicks arrive as WM_xBUTTONDBLCLK
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));  // shared, never freed
    windowClass.hbrBackground = nullptr;  // every pixel is ours
    windowClass.lpszClassName = className;
    if (RegisterClassExW(&windowClass) == 0) return nullptr;
    classUsers = 1;
    return className;
}

void releaseWindowClass() {
    if (classUsers <= 0) return;
    if (--classUsers == 0) UnregisterClassW(className, libraryModule());
}

HWND createTargetWindow(DWORD exStyle, DWORD style, int x, int y, int width, int height, HWND parent,
                        const wchar_t* title, MessageTarget& target) {
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, nullptr, libraryModule(),
                           &target);
}

void detachTarget(HWND window) {
    if (window != nullptr && IsWindow(window)) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

}  // namespace platform::win32
