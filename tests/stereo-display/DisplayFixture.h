// DisplayFixture.h — a Widefield effect with its editor open, on test services
// (manual clock, memory settings, headless windows), played in 10 ms blocks with
// the clock moving with the audio, and the displays that drain it.
//
//   DisplayAudio  the effect, its open editor and the audio played into it
//   DisplayPanel  the same with the panel's form and its headless window at hand
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "stereo/StereoDisplays.h"
#include "stereo/uDoubler.h"
#include "stereo/uStereoMeter.h"
#include "tests/support/EffectServices.h"

namespace widefield::testing {

constexpr double kPi = 3.14159265358979323846;

class DisplayAudio : public ::testing::Test, protected test_support::WindowedEffectServices {
protected:
    DisplayAudio() : WindowedEffectServices(1000, "host.exe") {
        effect = std::make_unique<ADoubler>(nullptr, services());
        effect->setParameter(ADoubler::kSetLatency, 0.0f);
        editor().open(&hostWindow);
    }
    ~DisplayAudio() override { editor().close(); }

    ADoublerEditor& editor() { return *effect->getDoublerEditor(); }

    // Plays `ms` milliseconds in 10 ms blocks, the clock moving with the audio;
    // signal(n) gives the pair of sample n, counted from the first block played.
    using Signal = std::function<std::pair<float, float>(long)>;
    void play(int ms, const Signal& signal, const std::function<void()>& afterBlock = {}) {
        const int frames = static_cast<int>(effect->getSampleRate() / 100.0);
        std::vector<float> l(static_cast<std::size_t>(frames)), r(l.size()), outL(l.size()), outR(l.size());
        for (int block = 0; block < ms / 10; ++block) {
            for (int i = 0; i < frames; ++i) std::tie(l[i], r[i]) = signal(sampleCount++);
            float* ins[2] = {l.data(), r.data()};
            float* outs[2] = {outL.data(), outR.data()};
            effect->processReplacing(ins, outs, frames);
            clock.advance(10);
            if (afterBlock) afterBlock();
        }
    }
    // Plays `ms` milliseconds in blocks of `frames`, the millisecond clock
    // following the audio (it stands still between blocks shorter than a
    // millisecond, as the system's does).
    void playInBlocks(int frames, int ms, const Signal& signal, const std::function<void()>& afterBlock = {}) {
        const double rate = effect->getSampleRate();
        std::vector<float> l(static_cast<std::size_t>(frames)), r(l.size()), outL(l.size()), outR(l.size());
        const long long end = blockSamples + std::llround(ms * rate / 1000.0);
        while (blockSamples < end) {
            for (int i = 0; i < frames; ++i) std::tie(l[i], r[i]) = signal(sampleCount++);
            float* ins[2] = {l.data(), r.data()};
            float* outs[2] = {outL.data(), outR.data()};
            effect->processReplacing(ins, outs, frames);
            blockSamples += frames;
            const auto due = static_cast<std::uint32_t>(static_cast<double>(blockSamples) * 1000.0 / rate);
            clock.advance(due - blockMs);
            blockMs = due;
            if (afterBlock) afterBlock();
        }
    }
    static Signal sine(float left, float right, double hz, double rate, double phase = 0.0) {
        return [=](long n) {
            const double t = 2.0 * kPi * hz * n / rate;
            return std::pair<float, float>(static_cast<float>(left * std::sin(t)),
                                           static_cast<float>(right * std::sin(t + phase)));
        };
    }
    static Signal constant(float left, float right) {
        return [=](long) { return std::pair<float, float>(left, right); };
    }

    std::unique_ptr<ADoubler> effect;
    int hostWindow = 0;
    long sampleCount = 0;
    long long blockSamples = 0;  // played by playInBlocks, and the clock's share of them
    std::uint32_t blockMs = 0;
    StereoDisplays displays;
};

class DisplayPanel : public DisplayAudio {
protected:
    DisplayPanel() : form(*editor().getForm()) {}

    platform::HeadlessWindow& window() { return *windows.windowOf(form.window()->nativeHandle()); }

    // A click at a control's centre, through the window.
    void click(const toolkit::Control& control) {
        const toolkit::Rect r = control.formBounds();
        window().click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    // Time passes without audio; the window system fires what is due.
    void wait(std::uint32_t ms) {
        for (std::uint32_t t = 0; t < ms; t += 10) {
            clock.advance(10);
            windows.fireDueTimers();
        }
    }
    // Audio plays while the timers run (no idle from the host).
    void playWithTimers(int ms, const Signal& signal) { play(ms, signal, [this] { windows.fireDueTimers(); }); }
    const StereoDisplays& displays() { return form.displays.displays(); }

    TuStereoform& form;
};

}  // namespace widefield::testing
