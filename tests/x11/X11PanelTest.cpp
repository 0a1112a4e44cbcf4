// X11PanelTest.cpp — the panels' buttons in real X11 windows, clicked at
// double-click speed (the second press 110 ms after the first, at the same spot).
//
//   X11Panel      Tonemark's panel in a host window: a quick second click on "i"
//                 closes the strip again (on the hide button the strip puts over
//                 it) and one on "?" closes the About dialog
//                 it opened; a double click on a strip label still hides the strip
//   X11LedButton  the LED button keeps its own rule: one click, then the
//                 double-click event, and an AutoToggle lamp flips on both releases
// GoogleTest before Xlib, whose macros (None, Bool, Status) would break it.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
// clang-format on

#include <functional>
#include <memory>
#include <vector>

#include "platform/Clock.h"
#include "platform/Services.h"
#include "platform/x11/X11WindowSystem.h"
#include "tests/support/ButtonProbes.h"
#include "tests/support/FakeHost.h"
#include "tests/x11/X11TestHost.h"
#include "toolkit/Form.h"
#include "tuner/uDoubler.h"
#include "tuner/uFFT.h"

namespace {

using test_support::countClicks;

// The host window, with button events of the test's choosing: time stamps on
// the window system's clock.
class X11Host : public test_support::X11TestHost {
protected:
    X11Host() : X11TestHost(444, 141) {}

    void button(Window window, int type, int x, int y, Time time) {
        test_support::sendButton(host, window, type, Button1, x, y, time, type == ButtonRelease ? Button1Mask : 0);
    }
    // Press and release at (x, y), `time` ms on the window system's clock.
    void click(Window window, int x, int y, Time time) {
        button(window, ButtonPress, x, y, time);
        button(window, ButtonRelease, x, y, time + 40);
        XSync(host, False);
    }
    // Two clicks 110 ms apart: a double click by any window system's measure.
    void quickClicks(Window window, int x, int y) {
        click(window, x, y, clickTime);
        click(window, x, y, clickTime + 110);
        clickTime += 5000;
    }
    void pump(const std::function<void()>& idle, const std::function<bool()>& done, int milliseconds = 2000) {
        test_support::pumpUntil(idle, done, milliseconds);
    }

    Time clickTime = 100000;
};

class X11Panel : public X11Host {
protected:
    void SetUp() override {
        X11Host::SetUp();
        services.clock = &platform::systemClock();
        services.windows = &system;
        effect = std::make_unique<tonemark::ADoubler>(test_support::FakeHost::callback, services);
        ASSERT_EQ(effect->dispatcher(effEditOpen, 0, 0, parentHandle(), 0.0f), 1);
        form = effect->getDoublerEditor()->getForm();
        ASSERT_NE(form, nullptr);
        ASSERT_NE(form->window(), nullptr);
        panel = test_support::windowId(*form->window());
        idle();
    }
    void TearDown() override {
        effect.reset();
        X11Host::TearDown();
    }
    void idle() { effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.0f); }
    void quickClicksOn(const toolkit::Control& control) {
        const toolkit::Rect r = control.formBounds();
        quickClicks(panel, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    platform::x11::X11WindowSystem system;
    platform::Services services;
    std::unique_ptr<tonemark::ADoubler> effect;
    tonemark::TuFFTForm* form = nullptr;
    Window panel = 0;
};

TEST_F(X11Panel, AQuickSecondClickOnInfoClosesTheStripAgain) {
    // The strip opened by the first click lies over "i": the second press lands
    // on the strip's hide button there.
    int clicks = 0;
    std::vector<bool> strip;  // the strip's visibility after each click
    const auto note = [&] { strip.push_back(form->controlepanel.visible()); };
    countClicks(form->infobtn, clicks, note);
    countClicks(form->BitBtn1, clicks, note);
    quickClicksOn(form->infobtn);
    pump([&] { idle(); }, [&] { return clicks >= 2; });
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(strip, (std::vector<bool>{true, false}));

    // Labels of the strip still take the pair as a double click: it hides the strip.
    form->infobtnClick();
    int doubles = 0;
    test_support::countDoubleClicks(form->Label5, doubles);
    quickClicksOn(form->Label5);
    pump([&] { idle(); }, [&] { return doubles >= 1; });
    EXPECT_EQ(doubles, 1);
    EXPECT_FALSE(form->controlepanel.visible());
}

TEST_F(X11Panel, AQuickSecondClickOnHelpClosesTheAboutDialogItOpened) {
    form->infobtnClick();
    idle();
    int clicks = 0;
    std::vector<bool> open;  // whether a dialog was open after each click
    countClicks(form->HelpBtn, clicks, [&] { open.push_back(form->aboutWindow() != nullptr); });
    quickClicksOn(form->HelpBtn);
    pump([&] { idle(); }, [&] { return clicks >= 2; });
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(open, (std::vector<bool>{true, false}));
    EXPECT_EQ(form->aboutToggle().dialog(), nullptr);
}

class X11LedButton : public X11Host {
protected:
    void idle() { system.idle(); }

    platform::x11::X11WindowSystem system;
};

TEST_F(X11LedButton, TakesOneClickThenTheDoubleClickAndAnAutoToggleLampFlipsTwice) {
    toolkit::Form form(system, 120, 60);
    test_support::LampButtonProbe probe(form);
    controls::TNiceButton& button = probe.button;
    const std::vector<bool>& clicks = probe.clicks;
    const int &doubles = probe.doubles, &releases = probe.releases;
    form.openChild(parentHandle());
    ASSERT_NE(form.window(), nullptr);
    const Window window = test_support::windowId(*form.window());
    idle();

    quickClicks(window, 40, 22);
    pump([&] { idle(); }, [&] { return releases >= 2; });
    EXPECT_EQ(releases, 2);
    EXPECT_EQ(clicks, (std::vector<bool>{false}));
    EXPECT_EQ(doubles, 1);
    EXPECT_FALSE(button.LEDon());  // flipped on both releases

    click(window, 40, 22, clickTime);
    pump([&] { idle(); }, [&] { return releases >= 3; });
    EXPECT_EQ(clicks, (std::vector<bool>{false, false}));
    EXPECT_TRUE(button.LEDon());
    EXPECT_EQ(button.frameIndex(), 4);
}

}  // namespace
