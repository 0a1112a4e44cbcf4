// ToneFixture.h — an effect on a manual clock, and synthetic tones fed through it.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Clock.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "platform/Services.h"
#include "tests/support/FakeHost.h"
#include "tests/support/StereoBlock.h"
#include "tuner/uDoubler.h"

namespace tonemark::testing {

struct Partial {
    double frequency;
    double amplitude;
};

// Sums of sines, generated block by block with a running sample counter.
class ToneSource {
public:
    ToneSource(std::vector<Partial> partials, double rate) : partials(std::move(partials)), rate(rate) {}
    void fill(float* out, std::int32_t frames) {
        const double pi = 3.14159265358979323846;
        for (std::int32_t i = 0; i < frames; ++i, ++sample) {
            double value = 0.0;
            for (const Partial& p : partials) value += p.amplitude * std::sin(2.0 * pi * p.frequency * sample / rate);
            out[i] = static_cast<float>(value);
        }
    }

private:
    std::vector<Partial> partials;
    double rate;
    std::int64_t sample = 0;
};

class EffectHarness {
public:
    explicit EffectHarness(float rate = 44100.0f) {
        services.clock = &clock;
        services.windows = &windows;
        effect = std::make_unique<ADoubler>(test_support::FakeHost::callback, services);
        if (rate != 44100.0f) effect->setSampleRate(rate);
        this->rate = rate;
    }
    ADoubler& fx() { return *effect; }
    ADoublerEditor& editor() { return *effect->getDoublerEditor(); }

    // Runs `seconds` of the tone through processReplacing in blocks; second channel silent.
    void feed(const std::vector<Partial>& partials, double seconds, std::int32_t block = 512) {
        ToneSource source(partials, rate);
        feedFrom(source, static_cast<std::int64_t>(seconds * rate), block);
    }
    void feedFrom(ToneSource& source, std::int64_t frames, std::int32_t block = 512) {
        test_support::StereoBlock input(static_cast<std::size_t>(block)), output(static_cast<std::size_t>(block));
        while (frames > 0) {
            const std::int32_t n = static_cast<std::int32_t>(frames < block ? frames : block);
            source.fill(input.left.data(), n);
            effect->processReplacing(input.channels(), output.channels(), n);
            frames -= n;
        }
    }
    PitchReading measureTone(const std::vector<Partial>& partials, std::int32_t accuracy, double seconds = 1.0) {
        effect->setParameter(ADoubler::kAccuracy, static_cast<float>(accuracy));
        feed(partials, seconds);
        return effect->measure();
    }

    platform::ManualClock clock;
    platform::HeadlessWindowSystem windows{clock};
    platform::Services services;
    std::unique_ptr<ADoubler> effect;
    float rate;
};

}  // namespace tonemark::testing
