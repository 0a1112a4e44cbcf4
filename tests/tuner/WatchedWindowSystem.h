// WatchedWindowSystem.h — headless windows whose showing and destruction a test
// can watch, to check what a panel looks like at that moment.
//
//   WatchedWindowSystem  makes its windows on a HeadlessWindowSystem and calls
//                        onShow after a window is shown and onDestroy as one is
//                        destroyed; timers and idle are the headless system's
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/headless/HeadlessWindowSystem.h"

namespace tonemark::testing {

class WatchedWindowSystem final : public platform::WindowSystem {
public:
    explicit WatchedWindowSystem(platform::HeadlessWindowSystem& inner) : inner(inner) {}

    std::unique_ptr<platform::NativeWindow> createChild(void* parent, int width, int height,
                                                        platform::WindowClient& client) override {
        return watch(inner.createChild(parent, width, height, client));
    }
    std::unique_ptr<platform::NativeWindow> createTopLevel(const std::string& title, int width, int height,
                                                           bool alwaysOnTop, platform::WindowClient& client) override {
        return watch(inner.createTopLevel(title, width, height, alwaysOnTop, client));
    }
    std::unique_ptr<platform::Timer> startTimer(std::uint32_t interval, std::function<void()> tick) override {
        return inner.startTimer(interval, std::move(tick));
    }
    bool controlKeyDown() const override { return inner.controlKeyDown(); }
    void idle() override { inner.idle(); }

    std::function<void()> onShow;
    std::function<void()> onDestroy;

private:
    class Window final : public platform::NativeWindow {
    public:
        Window(WatchedWindowSystem& system, std::unique_ptr<platform::NativeWindow> inner)
            : system(system), inner(std::move(inner)) {}
        ~Window() override {
            if (system.onDestroy) system.onDestroy();
        }
        void show() override {
            inner->show();
            if (system.onShow) system.onShow();
        }
        void hide() override { inner->hide(); }
        void invalidate(int left, int top, int right, int bottom) override {
            inner->invalidate(left, top, right, bottom);
        }
        void presentNow() override { inner->presentNow(); }
        void resize(int width, int height) override { inner->resize(width, height); }
        void captureMouse(bool captured) override { inner->captureMouse(captured); }
        bool isStillWindow() const override { return inner->isStillWindow(); }
        void* nativeHandle() const override { return inner->nativeHandle(); }

    private:
        WatchedWindowSystem& system;
        std::unique_ptr<platform::NativeWindow> inner;
    };

    std::unique_ptr<platform::NativeWindow> watch(std::unique_ptr<platform::NativeWindow> window) {
        if (!window) return nullptr;
        return std::make_unique<Window>(*this, std::move(window));
    }

    platform::HeadlessWindowSystem& inner;
};

}  // namespace tonemark::testing
