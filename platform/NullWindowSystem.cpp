// NullWindowSystem.cpp — a window system that makes no windows, for targets
// with neither Win32 nor X11 (platform/win32 and platform/x11 hold the real ones).
#include "platform/NativeWindow.h"

#if !defined(_WIN32) && !defined(__linux__)

namespace platform {

namespace {
class NullWindowSystem final : public WindowSystem {
public:
    std::unique_ptr<NativeWindow> createChild(void*, int, int, WindowClient&) override { return nullptr; }
    std::unique_ptr<NativeWindow> createTopLevel(const std::string&, int, int, bool, WindowClient&) override {
        return nullptr;
    }
    std::unique_ptr<Timer> startTimer(std::uint32_t, std::function<void()>) override { return nullptr; }
    bool controlKeyDown() const override { return false; }
    void idle() override {}
};
}  // namespace

WindowSystem& nativeWindowSystem() {
    static NullWindowSystem system;
    return system;
}

}  // namespace platform

#endif
