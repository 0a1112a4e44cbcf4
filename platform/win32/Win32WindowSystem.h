// Win32WindowSystem.h — the window system of the Windows builds.
//
//   Win32WindowSystem  child and dialog windows (Win32Window), SetTimer timers on
//                      a hidden message-only window that exists only while a
//                      timer runs, the Control key, and an idle() with nothing
//                      to do: the host's message loop drives everything
//
// All of it belongs to the thread that opened the editor; Windows delivers the
// windows' and timers' messages to that thread's loop.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "platform/NativeWindow.h"
#include "platform/win32/Win32WindowClass.h"

namespace platform::win32 {

class Win32WindowSystem final : public WindowSystem, private MessageTarget {
public:
    Win32WindowSystem() = default;
    ~Win32WindowSystem() override;

    std::unique_ptr<NativeWindow> createChild(void* parent, int width, int height, WindowClient& client) override;
    std::unique_ptr<NativeWindow> createTopLevel(const std::string& title, int width, int height, bool alwaysOnTop,
                                                 WindowClient& client) override;
    std::unique_ptr<Timer> startTimer(std::uint32_t intervalMilliseconds, std::function<void()> tick) override;
    bool controlKeyDown() const override;
    void idle() override {}

    void stopTimer(UINT_PTR id);
    HWND timerWindow() const { return timerWindow_; }

private:
    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool ensureTimerWindow();
    void destroyTimerWindow();

    HWND timerWindow_ = nullptr;
    // Shared, so that a callback that stops its own timer does not destroy itself mid-call.
    std::map<UINT_PTR, std::shared_ptr<std::function<void()>>> timers_;
    UINT_PTR nextTimerId_ = 1;
};

}  // namespace platform::win32
