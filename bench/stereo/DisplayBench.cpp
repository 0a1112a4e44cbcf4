// DisplayBench.cpp — what Widefield's displays cost, and whom.
//
//   ScopeDrawing      one trace of 1024 points into the image and the window copy,
//                     fluorescence on, a 90 degree pair on the scope (aim: 100 us)
//   MeterDrawing      one meter drawing: texts, phase strip, bars (aim: 30 us)
//   UiPerAudioSecond  the user-interface thread's drains, every 30 ms of audio,
//                     fluorescence on, per second of audio: 44.1 kHz in 512-frame
//                     blocks and 192 kHz in 64-frame blocks (aim: 30 ms)
//   AudioPanelClosed / AudioPanelOpen  processReplacing with every stage on at
//                     44.1 kHz in 512-frame blocks, without and with an open
//                     editor whose displays another thread drains every 30 ms
//                     (aim: open at most 5% slower)
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

#include "stereo/StereoDisplays.h"
#include "stereo/uDoubler.h"
#include "tests/support/EffectServices.h"

namespace {

using widefield::ADoubler;
constexpr double kTwoPi = 2.0 * 3.14159265358979323846;

struct Rig : test_support::WindowedEffectServices {
    std::unique_ptr<ADoubler> effect;
    std::vector<float> inL, inR, outL, outR;
    int frames;
    double rate;
    long sample = 0;
    double msPlayed = 0.0;

    Rig(double sampleRate, int blockFrames, bool everything)
        : WindowedEffectServices(1000, "bench"), inL(blockFrames), inR(blockFrames), outL(blockFrames),
          outR(blockFrames), frames(blockFrames), rate(sampleRate) {
        effect = std::make_unique<ADoubler>(nullptr, services());
        effect->setSampleRate(static_cast<float>(rate));
        effect->setParameter(ADoubler::kSetLatency, 0.0f);
        makeTable();
        if (everything) {
            for (auto [index, value] :
                 {std::pair{ADoubler::kDcFilter, 1.0f}, {ADoubler::kBassOn, 1.0f}, {ADoubler::kPseudoStereo, 1.0f},
                  {ADoubler::kDelay, 0.4f}, {ADoubler::kInputWidth, 0.6f}, {ADoubler::kInputRotation, 0.55f},
                  {ADoubler::kCentreCut, 0.6f}, {ADoubler::kAsymmetry, 0.45f}, {ADoubler::kBassBoost, 0.3f},
                  {ADoubler::kOutputRotation, 0.45f}, {ADoubler::kOutputWidth, 0.6f}})
                effect->setParameter(index, value);
        }
    }
    // A 90 degree pair at 0.6 of full scale, 441 Hz: a circle. One second of it
    // is made beforehand, so that the timings are the plug-in's.
    std::vector<float> tableL, tableR;
    void makeTable() {
        const std::size_t length = static_cast<std::size_t>(rate);
        tableL.resize(length);
        tableR.resize(length);
        for (std::size_t n = 0; n < length; ++n) {
            const double t = kTwoPi * 441.0 * static_cast<double>(n) / rate;
            tableL[n] = static_cast<float>(0.6 * std::sin(t));
            tableR[n] = static_cast<float>(0.6 * std::cos(t));
        }
    }
    void block() {
        for (int i = 0; i < frames; ++i, ++sample) {
            const std::size_t n = static_cast<std::size_t>(sample) % tableL.size();
            inL[i] = tableL[n];
            inR[i] = tableR[n];
        }
        float* ins[2] = {inL.data(), inR.data()};
        float* outs[2] = {outL.data(), outR.data()};
        AEffect* record = effect->getAeffect();
        record->processReplacing(record, ins, outs, frames);
        msPlayed += 1000.0 * frames / rate;
        clock.set(1000 + static_cast<std::uint32_t>(msPlayed));
        benchmark::DoNotOptimize(outL.data());
    }
};

void BM_ScopeDrawing(benchmark::State& state) {
    Rig rig(44100.0, 512, false);
    for (int i = 0; i < 20; ++i) rig.block();
    widefield::StereoDisplays displays;
    const std::int32_t index = rig.effect->scopeReadPosition();
    for (auto _ : state) {
        displays.drawScope(index, rig.effect->scopePoints(), widefield::StereoCapture::kScopeSize, true);
        benchmark::DoNotOptimize(displays.scopeSurface().pixels.data());
    }
}
BENCHMARK(BM_ScopeDrawing)->Unit(benchmark::kMicrosecond);

void BM_MeterDrawing(benchmark::State& state) {
    widefield::StereoDisplays displays;
    float level = 0.0f;
    for (auto _ : state) {
        level = level > 1.9f ? 0.01f : level + 0.013f;
        displays.drawMeters(widefield::MeterReadings{level / 2, 0.9f, 0.1f, level, level * 0.8f, level, level});
        benchmark::DoNotOptimize(displays.meterSurface().pixels.data());
    }
}
BENCHMARK(BM_MeterDrawing)->Unit(benchmark::kMicrosecond);

// This thread's CPU time in seconds (wall time where there is no such clock).
double threadSeconds() {
#if defined(CLOCK_THREAD_CPUTIME_ID)
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
#else
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
#endif
}

// CPU time of the drains alone, per second of audio.
void BM_UiPerAudioSecond(benchmark::State& state) {
    const double rate = static_cast<double>(state.range(0));
    const int frames = static_cast<int>(state.range(1));
    Rig rig(rate, frames, false);
    rig.effect->getDoublerEditor()->open(nullptr);
    widefield::StereoDisplays displays;
    double uiSeconds = 0.0, audioSeconds = 0.0;
    for (auto _ : state) {
        const double start = rig.msPlayed;
        double nextDrain = start + 30.0;
        while (rig.msPlayed - start < 1000.0) {
            rig.block();
            if (rig.msPlayed >= nextDrain) {
                nextDrain += 30.0;
                const double t0 = threadSeconds();
                displays.drain(*rig.effect->getDoublerEditor(), true);
                uiSeconds += threadSeconds() - t0;
            }
        }
        audioSeconds += (rig.msPlayed - start) / 1000.0;
    }
    state.counters["ui_ms_per_audio_s"] = 1000.0 * uiSeconds / audioSeconds;
}
BENCHMARK(BM_UiPerAudioSecond)->Args({44100, 512})->Args({192000, 64})->Unit(benchmark::kMillisecond);

void audio(benchmark::State& state, bool panelOpen) {
    Rig rig(44100.0, 512, true);
    std::atomic<bool> running{true};
    std::thread ui;
    if (panelOpen) {
        rig.effect->getDoublerEditor()->open(nullptr);
        ui = std::thread([&] {
            widefield::StereoDisplays displays;
            while (running.load(std::memory_order_relaxed)) {
                displays.drain(*rig.effect->getDoublerEditor(), true);
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
            }
        });
    }
    for (auto _ : state) rig.block();
    running.store(false);
    if (ui.joinable()) ui.join();
    state.counters["ns_per_frame"] = benchmark::Counter(static_cast<double>(state.iterations()) * 512,
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
void BM_AudioPanelClosed(benchmark::State& state) { audio(state, false); }
void BM_AudioPanelOpen(benchmark::State& state) { audio(state, true); }
BENCHMARK(BM_AudioPanelClosed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AudioPanelOpen)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
