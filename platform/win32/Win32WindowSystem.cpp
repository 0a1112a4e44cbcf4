// Win32WindowSystem.cpp — window creation, timers and nativeWindowSystem for Windows.
#include "platform/win32/Win32WindowSystem.h"

#include <string>
#include <utility>

#include "platform/win32/Win32Window.h"

namespace platform::win32 {

namespace {
std::wstring wide(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &result[0], length);
    return result;
}

class Win32Timer final : public Timer {
public:
    Win32Timer(Win32WindowSystem& system, UINT_PTR id) : system_(system), id_(id) {}
    ~Win32Timer() override { system_.stopTimer(id_); }

private:
    Win32WindowSystem& system_;
    UINT_PTR id_;
};
}  // namespace

Win32WindowSystem::~Win32WindowSystem() {
    timers_.clear();
    destroyTimerWindow();
}

std::unique_ptr<NativeWindow> Win32WindowSystem::createChild(void* parent, int width, int height,
                                                             WindowClient& client) {
    return Win32Window::create(Win32Window::Kind::child, static_cast<HWND>(parent), L"", width, height, client);
}

std::unique_ptr<NativeWindow> Win32WindowSystem::createTopLevel(const std::string& title, int width, int height,
                                                                bool alwaysOnTop, WindowClient& client) {
    const std::wstring wideTitle = wide(title);
    return Win32Window::create(alwaysOnTop ? Win32Window::Kind::topLevelAbove : Win32Window::Kind::topLevel, nullptr,
                               wideTitle.c_str(), width, height, client);
}

bool Win32WindowSystem::ensureTimerWindow() {
    if (timerWindow_ != nullptr) return true;
    if (acquireWindowClass() == nullptr) return false;
    timerWindow_ = createTargetWindow(0, 0, 0, 0, 0, 0, HWND_MESSAGE, L"", *this);
    if (timerWindow_ == nullptr) {
        releaseWindowClass();
        return false;
    }
    return true;
}

void Win32WindowSystem::destroyTimerWindow() {
    if (timerWindow_ == nullptr) return;
    const HWND window = timerWindow_;
    timerWindow_ = nullptr;
    detachTarget(window);
    DestroyWindow(window);
    releaseWindowClass();
}

std::unique_ptr<Timer> Win32WindowSystem::startTimer(std::uint32_t intervalMilliseconds, std::function<void()> tick) {
    if (!ensureTimerWindow()) return nullptr;
    const UINT_PTR id = nextTimerId_++;
    if (SetTimer(timerWindow_, id, intervalMilliseconds, nullptr) == 0) {
        if (timers_.empty()) destroyTimerWindow();
        return nullptr;
    }
    timers_[id] = std::make_shared<std::function<void()>>(std::move(tick));
    return std::make_unique<Win32Timer>(*this, id);
}

void Win32WindowSystem::stopTimer(UINT_PTR id) {
    auto found = timers_.find(id);
    if (found == timers_.end()) return;
    if (timerWindow_ != nullptr) KillTimer(timerWindow_, id);
    timers_.erase(found);
    if (timers_.empty()) destroyTimerWindow();  // the last timer takes the hidden window with it
}

LRESULT Win32WindowSystem::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        auto found = timers_.find(static_cast<UINT_PTR>(wParam));
        if (found != timers_.end()) {
            const std::shared_ptr<std::function<void()>> tick = found->second;
            if (*tick) (*tick)();
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool Win32WindowSystem::controlKeyDown() const {
    // During a mouse message its own key state (what GetKeyState gives for real
    // input then, and also right for posted messages); otherwise GetKeyState.
    const int ofMessage = controlKeyOfMouseMessage();
    if (ofMessage >= 0) return ofMessage != 0;
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

}  // namespace platform::win32

namespace platform {

WindowSystem& nativeWindowSystem() {
    static win32::Win32WindowSystem system;
    return system;
}

}  // namespace platform
