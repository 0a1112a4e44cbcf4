// ChainBench.cpp — time per stereo frame of Widefield's full chain.
//
// 512-frame blocks at 44.1 kHz through the record's processReplacing entry (as a
// host calls it, denormal guard included): at defaults with the meters on, and
// with every stage on; then silence after signal with every stage on, whose
// cost should stay close to that of signal (no denormal slowdown).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "stereo/uDoubler.h"
#include "tests/support/EffectServices.h"

namespace {

constexpr int kFrames = 512;

struct Rig : test_support::EffectServices {
    std::unique_ptr<widefield::ADoubler> effect;
    std::vector<float> inL, inR, outL, outR;

    explicit Rig(bool everything)
        : EffectServices(0, "bench"), inL(kFrames), inR(kFrames), outL(kFrames), outR(kFrames) {
        effect = std::make_unique<widefield::ADoubler>(nullptr, services());
        effect->setSampleRate(44100.0f);
        if (everything) {
            using D = widefield::ADoubler;
            for (auto [index, value] : {std::pair{D::kDcFilter, 1.0f}, {D::kBassOn, 1.0f}, {D::kPseudoStereo, 1.0f},
                                        {D::kDelay, 0.4f}, {D::kInvertLeft, 1.0f}, {D::kSwapChannels, 1.0f},
                                        {D::kInputWidth, 0.6f}, {D::kInputRotation, 0.55f}, {D::kCentreCut, 0.6f},
                                        {D::kAsymmetry, 0.45f}, {D::kBassBoost, 0.3f}, {D::kBassWidth, 0.7f},
                                        {D::kOutputRotation, 0.45f}, {D::kOutputWidth, 0.6f},
                                        {D::kGainLeft, 0.45f}, {D::kGainRight, 0.4f}})
                effect->setParameter(index, value);
        }
        fillSignal(0);
    }

    void fillSignal(long block) {
        for (int i = 0; i < kFrames; ++i) {
            const double t = static_cast<double>(block * kFrames + i) / 44100.0;
            inL[i] = static_cast<float>(0.5 * std::sin(2.0 * 3.14159265358979 * 220.0 * t));
            inR[i] = static_cast<float>(0.4 * std::sin(2.0 * 3.14159265358979 * 330.0 * t + 0.3));
        }
    }
    void fillSilence() {
        std::fill(inL.begin(), inL.end(), 0.0f);
        std::fill(inR.begin(), inR.end(), 0.0f);
    }
    void block() {
        float* ins[2] = {inL.data(), inR.data()};
        float* outs[2] = {outL.data(), outR.data()};
        AEffect* record = effect->getAeffect();
        record->processReplacing(record, ins, outs, kFrames);
        benchmark::DoNotOptimize(outL.data());
        benchmark::ClobberMemory();
    }
};

void report(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kFrames);
    state.counters["ns_per_frame"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrames,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ProcessReplacingDefaults(benchmark::State& state) {
    Rig rig(false);
    for (auto _ : state) rig.block();
    report(state);
}


void BM_ProcessReplacingEverythingOnSignal(benchmark::State& state) {
    Rig rig(true);
    for (int i = 0; i < 200; ++i) rig.block();
    for (auto _ : state) rig.block();
    report(state);
}

void BM_ProcessReplacingEverythingOnSilenceAfterSignal(benchmark::State& state) {
    Rig rig(true);
    for (int i = 0; i < 200; ++i) rig.block();
    rig.fillSilence();
    // Let the filters decay into the range where denormals would appear.
    for (int i = 0; i < 20000; ++i) rig.block();
    for (auto _ : state) rig.block();
    report(state);
}

}  // namespace

BENCHMARK(BM_ProcessReplacingDefaults);
BENCHMARK(BM_ProcessReplacingEverythingOnSignal);
BENCHMARK(BM_ProcessReplacingEverythingOnSilenceAfterSignal);
BENCHMARK_MAIN();
