// PanelFixture.h — Widefield's effect with its panel open on the headless
// backend, a host that records what the effect tells it, and input helpers
// that act on controls as a user would (through the window's events).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/DAEffect.h"
#include "platform/Clock.h"
#include "platform/HostProgram.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "stereo/uDoubler.h"
#include "stereo/uStereoMeter.h"

namespace widefield::testing {

// The value labels' two colours: grey where a value sits at its neutral point, silver elsewhere.
constexpr toolkit::Pixel kGrey = toolkit::rgb(128, 128, 128);
constexpr toolkit::Pixel kSilver = toolkit::rgb(192, 192, 192);

// One call the effect made to its host.
struct HostCall {
    std::int32_t opcode;
    std::int32_t index;
    float value;
    bool operator==(const HostCall& o) const { return opcode == o.opcode && index == o.index && value == o.value; }
};

inline std::ostream& operator<<(std::ostream& out, const HostCall& call) {
    return out << "{" << call.opcode << ", " << call.index << ", " << call.value << "}";
}

// The host side: one recorder at a time (the callback carries no user pointer).
class RecordingHost {
public:
    RecordingHost() { current() = this; }
    ~RecordingHost() { current() = nullptr; }

    static VstIntPtr VSTCALLBACK callback(AEffect*, std::int32_t opcode, std::int32_t index, VstIntPtr, void*,
                                          float opt) {
        RecordingHost* host = current();
        if (host == nullptr) return 0;
        if (opcode == audioMasterVersion) return 2400;
        host->calls.push_back(HostCall{opcode, index, opt});
        return host->answer;
    }

    std::vector<HostCall> calls;
    VstIntPtr answer = 1;  // what a gesture call returns (0: a host that does not know it)

private:
    static RecordingHost*& current() {
        static RecordingHost* host = nullptr;
        return host;
    }
};

// The effect, keeping a log of every setting and command it was sent, and
// telling when its settings are read.
class RecordingEffect : public ADoubler {
public:
    using ADoubler::ADoubler;
    void setParameter(std::int32_t index, float value) override {
        sent.push_back(HostCall{-1, index, value});
        if (onSet) onSet();
        ADoubler::setParameter(index, value);
    }
    float getParameter(std::int32_t index) override {
        if (onGet) onGet();
        return ADoubler::getParameter(index);
    }
    std::function<void()> onSet;
    std::function<void()> onGet;
    std::size_t count(std::int32_t index) const {
        std::size_t n = 0;
        for (const HostCall& call : sent) n += call.index == index ? 1 : 0;
        return n;
    }
    std::vector<HostCall> sent;
};

class PanelTest : public ::testing::Test {
protected:
    PanelTest() : hostProgram("host.exe") {}

    void SetUp() override {
        platform::Services services;
        services.clock = &clock;
        services.settings = &store;
        services.hostProgram = &hostProgram;
        services.windows = &windows;
        auto recording = std::make_unique<RecordingEffect>(&RecordingHost::callback, services);
        received = recording.get();
        effect = std::move(recording);
        openPanel();
    }

    void TearDown() override { effect.reset(); }

    void openPanel() {
        ASSERT_EQ(effect->dispatcher(effEditOpen, 0, 0, &hostWindow, 0.0f), 1);
        form = editor().getForm();
        ASSERT_NE(form, nullptr);
    }

    ADoublerEditor& editor() { return *effect->getDoublerEditor(); }
    platform::HeadlessWindow& window() { return *windows.windowOf(form->window()->nativeHandle()); }
    void idle() { effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.0f); }

    // Input at a control's centre (or offset from it), through the window.
    static toolkit::Point centreOf(const toolkit::Control& control) {
        const toolkit::Rect r = control.formBounds();
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void click(const toolkit::Control& control) {
        const toolkit::Point p = centreOf(control);
        window().click(p.x, p.y);
    }
    void doubleClick(const toolkit::Control& control) {
        const toolkit::Point p = centreOf(control);
        window().doubleClick(p.x, p.y);
    }
    // The form point where a slider's thumb centre stands at `position`.
    static toolkit::Point thumbAt(const PanelSlider& slider) {
        const toolkit::Rect thumb = slider.thumbRect();
        const toolkit::Rect at = slider.formBounds();
        return {at.left + (thumb.left + thumb.right) / 2, at.top + (thumb.top + thumb.bottom) / 2};
    }
    // Drags a slider's thumb by the mouse until it stands at `position`.
    void drag(PanelSlider& slider, int position) {
        const toolkit::Point from = thumbAt(slider);
        window().press(from.x, from.y);
        const toolkit::Rect at = slider.formBounds();
        const bool horizontal = slider.orientation() == toolkit::TrackBar::Orientation::horizontal;
        // positionAt takes coordinates along the track, relative to the slider.
        int along = horizontal ? from.x - at.left : from.y - at.top;
        const int step = slider.positionAt(along) < position ? 1 : -1;
        toolkit::Point to = from;
        for (int guard = 0; guard < 2000 && slider.position() != position; ++guard) {
            along += step;
            to = horizontal ? toolkit::Point{at.left + along, from.y} : toolkit::Point{from.x, at.top + along};
            window().mouseMove(to.x, to.y);
        }
        window().release(to.x, to.y);
    }

    // Gives a slider the keyboard (a press and release on its thumb, which
    // moves nothing) and steps it with the arrow keys to `position`.
    void keyTo(PanelSlider& slider, int position) {
        const toolkit::Point thumb = thumbAt(slider);
        window().click(thumb.x, thumb.y);
        for (int guard = 0; guard < 2000 && slider.position() != position; ++guard)
            window().key(slider.position() < position ? platform::Key::right : platform::Key::left);
    }

    std::vector<HostCall> automation() const {
        std::vector<HostCall> result;
        for (const HostCall& call : host.calls)
            if (call.opcode == audioMasterAutomate) result.push_back(call);
        return result;
    }

    RecordingHost host;
    platform::ManualClock clock{1000};
    platform::MemorySettingsStore store;
    platform::FixedHostProgram hostProgram;
    platform::HeadlessWindowSystem windows{clock};
    std::unique_ptr<ADoubler> effect;
    RecordingEffect* received = nullptr;
    int hostWindow = 0;
    TuStereoform* form = nullptr;
};

}  // namespace widefield::testing
