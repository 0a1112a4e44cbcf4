// Win32Window.h — one Win32 window: a child of the host's HWND or a top-level dialog.
//
//   Win32Window  WM_PAINT blits the client's image with SetDIBitsToDevice;
//                mouse messages (with capture from press to release), keys and
//                the close box go to the client
#pragma once

#include <windows.h>

#include "platform/NativeWindow.h"
#include "platform/win32/Win32WindowClass.h"

namespace platform::win32 {

// While a mouse message is being handed to a client: whether it says Control
// was down (MK_CONTROL); -1 at any other time.
int controlKeyOfMouseMessage();

class Win32Window final : public NativeWindow, private MessageTarget {
public:
    enum class Kind { child, topLevel, topLevelAbove };
    // Null when the window could not be made (no class, or parent is not a window).
    static std::unique_ptr<Win32Window> create(Kind kind, HWND parent, const wchar_t* title, int width, int height,
                                               WindowClient& client);
    ~Win32Window() override;

    void show() override;
    void hide() override;
    void invalidate(int left, int top, int right, int bottom) override;
    void presentNow() override;
    void resize(int width, int height) override;
    void captureMouse(bool captured) override;
    bool isStillWindow() const override;
    void* nativeHandle() const override { return window_; }

private:
    Win32Window(Kind kind, WindowClient& client) : kind_(kind), client_(client) {}
    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void blit(HDC dc);
    // The client may destroy this window inside these; they touch nothing after the call.
    LRESULT mouse(MouseEvent::Type type, MouseButton button, WPARAM wParam, LPARAM lParam);
    void outerSize(int width, int height, int& outerWidth, int& outerHeight) const;

    Kind kind_;
    WindowClient& client_;
    HWND window_ = nullptr;
    bool classAcquired_ = false;
    int wheelRemainder_ = 0;  // a turn of less than a notch, kept for the next
};

}  // namespace platform::win32
