// ZoomBench.cpp — what the panel's zoom costs, at 100, 150 and 200 %.
//
//   OpenAndFirstPaint  Widefield's editor opened, its whole picture painted,
//                      closed again
//   DisplayDrain       one user-interface turn after 30 ms of a 90 degree pair
//                      at 44.1 kHz: the idle call's drain (scope, meters, phase)
//                      and the paint of what it changed
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "stereo/uDoubler.h"
#include "stereo/uStereoMeter.h"
#include "tests/support/EffectServices.h"

namespace {

using widefield::ADoubler;

struct ZoomRig : test_support::WindowedEffectServices {
    std::unique_ptr<ADoubler> effect;
    explicit ZoomRig(int percent) : WindowedEffectServices(1000, "bench") {
        store.values["software\\Brisora\\Widefield\\Zoom"] = std::to_string(percent);
        effect = std::make_unique<ADoubler>(nullptr, services());
        effect->setSampleRate(44100.0f);
        effect->setParameter(ADoubler::kSetLatency, 0.0f);
    }
    widefield::ADoublerEditor& editor() { return *effect->getDoublerEditor(); }
};

void OpenAndFirstPaint(benchmark::State& state) {
    ZoomRig rig(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        rig.editor().open(nullptr);
        benchmark::DoNotOptimize(rig.editor().getForm()->paint().pixels.data());
        rig.editor().close();
    }
}
BENCHMARK(OpenAndFirstPaint)->Arg(100)->Arg(150)->Arg(200)->Unit(benchmark::kMillisecond);

void DisplayDrain(benchmark::State& state) {
    ZoomRig rig(static_cast<int>(state.range(0)));
    rig.editor().open(nullptr);
    rig.editor().getForm()->paint();
    constexpr int kFrames = 441;  // 10 ms a block, three blocks a turn
    std::vector<float> inL(kFrames), inR(kFrames), outL(kFrames), outR(kFrames);
    long sample = 0;
    double ms = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int b = 0; b < 3; ++b) {
            for (int i = 0; i < kFrames; ++i, ++sample) {
                const double t = 2.0 * 3.14159265358979323846 * 441.0 * static_cast<double>(sample) / 44100.0;
                inL[i] = static_cast<float>(0.6 * std::sin(t));
                inR[i] = static_cast<float>(0.6 * std::cos(t));
            }
            float* ins[2] = {inL.data(), inR.data()};
            float* outs[2] = {outL.data(), outR.data()};
            rig.effect->processReplacing(ins, outs, kFrames);
            ms += 10.0;
            rig.clock.set(1000 + static_cast<std::uint32_t>(ms));
        }
        state.ResumeTiming();
        rig.editor().idle();
        benchmark::DoNotOptimize(rig.editor().getForm()->paint().pixels.data());
    }
    rig.editor().close();
}
BENCHMARK(DisplayDrain)->Arg(100)->Arg(150)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
