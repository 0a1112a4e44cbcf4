// TonemarkBench.cpp — speed of Tonemark's audio path and of one analysis.
//
//   ProcessReplacing/Signal/<rate>  stereo 512-frame blocks through the host
//                             entry (with its denormal guard): time per frame;
//                             96 kHz runs the filter as three sections
//   ProcessReplacing/SilenceAfterSignal  the same, silent input after a loud
//                             tone, the filter decaying towards zero
//   Analyze/<accuracy>        one measurement of a full ring
//   AnalyzeMixture/<accuracy>  the same for an organ mixture whose octave the
//                             peak search chooses and the look below the
//                             chosen peak turns back into the fundamental
//   SubharmonicCheck/<accuracy>  that look alone, on the mixture's spectrum
//   LiteralSpectrum/<accuracy>  the plain spectrum loop, for comparison
//   EditorOpenPaintClose      the panel made, painted whole and destroyed, as
//                             a host's editor window opening and closing costs it
//   ShowReading               one reading on the open panel and its repaint
//   ZoomedOpenAndFirstPaint/<percent>  the panel opened at 100, 150 and 200 %
//                             (the stored zoom), painted whole, closed again
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "tests/support/FakeHost.h"
#include "tests/tuner/LiteralSpectrum.h"
#include "tuner/SubharmonicCheck.h"
#include "tuner/uDoubler.h"
#include "tuner/uFFT.h"

namespace {

using tonemark::ADoubler;

struct Rig {
    explicit Rig(float rate = 44100.0f) : rate(rate) {
        services.clock = &clock;
        services.windows = &windows;
        effect = std::make_unique<ADoubler>(test_support::FakeHost::callback, services);
        effect->setSampleRate(rate);
        left.resize(kBlock);
        right.resize(kBlock);
        outLeft.resize(kBlock);
        outRight.resize(kBlock);
    }
    void fillTone(double amplitude) {
        for (int i = 0; i < kBlock; ++i, ++sample) {
            left[i] = static_cast<float>(amplitude * std::sin(2.0 * 3.14159265358979 * 440.0 * sample / rate));
            right[i] = left[i];
        }
    }
    void run() {
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        AEffect* e = effect->getAeffect();
        e->processReplacing(e, inputs, outputs, kBlock);
    }
    static constexpr int kBlock = 512;
    double rate;
    platform::ManualClock clock;
    platform::HeadlessWindowSystem windows{clock};
    platform::Services services;
    std::unique_ptr<ADoubler> effect;
    std::vector<float> left, right, outLeft, outRight;
    long long sample = 0;
};

// Frames per second and, as the figure to read, nanoseconds per frame.
void reportPerFrame(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * Rig::kBlock);
    state.counters["ns_per_frame"] = benchmark::Counter(static_cast<double>(state.iterations() * Rig::kBlock),
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void ProcessReplacingSignal(benchmark::State& state) {
    Rig rig(static_cast<float>(state.range(0)));
    rig.fillTone(0.5);
    for (auto _ : state) {
        rig.run();
        benchmark::ClobberMemory();
    }
    reportPerFrame(state);
}

void ProcessReplacingSilenceAfterSignal(benchmark::State& state) {
    Rig rig;
    rig.fillTone(1.0);
    for (int i = 0; i < 100; ++i) rig.run();
    rig.fillTone(0.0);
    for (auto _ : state) {
        rig.run();
        benchmark::ClobberMemory();
    }
    reportPerFrame(state);
}

void Analyze(benchmark::State& state) {
    Rig rig;
    rig.fillTone(0.5);
    for (int i = 0; i < 400; ++i) {
        rig.fillTone(0.5);
        rig.run();
    }
    rig.effect->setParameter(ADoubler::kAccuracy, static_cast<float>(state.range(0)));
    rig.effect->getDoublerEditor()->open(nullptr);
    for (auto _ : state) {
        rig.effect->analyze();
        benchmark::DoNotOptimize(rig.effect->getDetectedFrequency());
    }
}

// A ring full of 261.6 Hz with a louder fifth and a louder octave above it.
void fillMixture(Rig& rig) {
    const double pi = 3.14159265358979, f = 261.63;
    for (int block = 0; block < 400; ++block) {
        for (int i = 0; i < Rig::kBlock; ++i, ++rig.sample) {
            const double t = rig.sample / rig.rate;
            rig.left[i] = static_cast<float>(0.04 * std::sin(2.0 * pi * f * t) + 0.08 * std::sin(3.0 * pi * f * t) +
                                             0.12 * std::sin(4.0 * pi * f * t));
        }
        rig.run();
    }
}

void AnalyzeMixture(benchmark::State& state) {
    Rig rig;
    fillMixture(rig);
    rig.effect->setParameter(1, static_cast<float>(state.range(0)));
    rig.effect->getDoublerEditor()->open(nullptr);
    for (auto _ : state) {
        rig.effect->analyze();
        benchmark::DoNotOptimize(rig.effect->getDetectedFrequency());
    }
}

void SubharmonicCheck(benchmark::State& state) {
    Rig rig;
    fillMixture(rig);
    rig.effect->setParameter(1, static_cast<float>(state.range(0)));
    rig.effect->measure();
    const tonemark::PitchDetector& detector = rig.effect->getDetector();
    // The octave's bin, where the peak search stops for this mixture.
    const std::int32_t n = detector.fftSize();
    const std::int32_t start = static_cast<std::int32_t>(std::nearbyint(32.0 * n / rig.rate));
    const std::int32_t octave = static_cast<std::int32_t>(std::nearbyint(2.0 * 261.63 * 4.0 * n / rig.rate));
    std::int32_t chosen = octave;
    for (std::int32_t b = octave - 3; b <= octave + 3; ++b)
        if (detector.magnitudes()[b] > detector.magnitudes()[chosen]) chosen = b;
    if (tonemark::fundamentalBelow(detector.magnitudes(), start, chosen) == chosen)
        state.SkipWithError("the mixture's octave did not lead to its fundamental");
    for (auto _ : state) benchmark::DoNotOptimize(tonemark::fundamentalBelow(detector.magnitudes(), start, chosen));
}

void LiteralSpectrum(benchmark::State& state) {
    Rig rig;
    for (int i = 0; i < 400; ++i) {
        rig.fillTone(0.5);
        rig.run();
    }
    rig.effect->setParameter(ADoubler::kAccuracy, static_cast<float>(state.range(0)));
    rig.effect->measure();  // takes the new setting's configuration
    const tonemark::PitchDetector& detector = rig.effect->getDetector();
    std::vector<float> re(detector.fftSize()), im(detector.fftSize());
    for (auto _ : state) {
        tonemark::testing::literalSpectrum(rig.effect->getRing(), rig.effect->getRing().newestIndex(),
                                           detector.fftSize(), detector.window(), re.data(), im.data());
        benchmark::DoNotOptimize(re.data());
    }
}

void EditorOpenPaintClose(benchmark::State& state) {
    Rig rig;
    for (auto _ : state) {
        rig.effect->dispatcher(effEditOpen, 0, 0, nullptr, 0.0f);
        rig.windows.paintInvalidated();
        rig.effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    }
}

void ZoomedOpenAndFirstPaint(benchmark::State& state) {
    platform::MemorySettingsStore store;
    store.values["software\\Brisora\\Tonemark\\Zoom"] = std::to_string(state.range(0));
    Rig rig;
    rig.services.settings = &store;
    rig.effect = std::make_unique<ADoubler>(test_support::FakeHost::callback, rig.services);
    rig.effect->setSampleRate(static_cast<float>(rig.rate));
    for (auto _ : state) {
        rig.effect->dispatcher(effEditOpen, 0, 0, nullptr, 0.0f);
        rig.windows.paintInvalidated();
        rig.effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    }
}

void ShowReading(benchmark::State& state) {
    Rig rig;
    rig.effect->dispatcher(effEditOpen, 0, 0, nullptr, 0.0f);
    tonemark::TuFFTForm& form = *rig.effect->getDoublerEditor()->getForm();
    rig.windows.paintInvalidated();
    float frequency = 440.0f;
    for (auto _ : state) {
        // Alternate readings, so that every label, the pointer and the lamp change.
        frequency = frequency == 440.0f ? 466.5f : 440.0f;
        form.ShowReading(frequency, 0.0f);
        rig.windows.paintInvalidated();
    }
}

}  // namespace

BENCHMARK(EditorOpenPaintClose)->Unit(benchmark::kMillisecond);
BENCHMARK(ZoomedOpenAndFirstPaint)->Arg(100)->Arg(150)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(ShowReading)->Unit(benchmark::kMicrosecond);
BENCHMARK(ProcessReplacingSignal)->Name("ProcessReplacing/Signal")->Arg(44100)->Arg(96000);
BENCHMARK(ProcessReplacingSilenceAfterSignal)->Name("ProcessReplacing/SilenceAfterSignal");
BENCHMARK(Analyze)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(AnalyzeMixture)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(SubharmonicCheck)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kNanosecond);
BENCHMARK(LiteralSpectrum)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
