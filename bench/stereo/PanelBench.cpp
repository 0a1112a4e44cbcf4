// PanelBench.cpp — Widefield's panel on the headless window system: opening,
// the first paint and closing; and the refresh that follows host automation of
// every setting, with the number of refresh passes each change takes.
#include <benchmark/benchmark.h>

#include <memory>

#include "framework/DAEffect.h"
#include "stereo/uDoubler.h"
#include "tests/support/EffectServices.h"

namespace {

using widefield::ADoubler;

VstIntPtr VSTCALLBACK fakeHost(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

struct Rig : test_support::WindowedEffectServices {
    Rig() : WindowedEffectServices(1000, "bench") { effect = std::make_unique<ADoubler>(fakeHost, services()); }
    std::unique_ptr<ADoubler> effect;
};

void PanelOpenPaintClose(benchmark::State& state) {
    Rig rig;
    int window = 0;
    std::int64_t paints = 0;
    for (auto _ : state) {
        rig.effect->dispatcher(effEditOpen, 0, 0, &window, 0.0f);
        rig.windows.paintInvalidated();
        for (const platform::HeadlessWindow* w : rig.windows.windows()) paints += w->paintCount();
        rig.effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    }
    // Each round paints the fresh panel once.
    state.counters["paints"] = static_cast<double>(paints) / static_cast<double>(state.iterations());
}

// Every host parameter and panel setting moves, switches flip; then one idle
// request runs the refresh. `paint` adds the repaint of what changed.
void RefreshAfterAutomation(benchmark::State& state) {
    const bool paint = state.range(0) != 0;
    Rig rig;
    int window = 0;
    rig.effect->dispatcher(effEditOpen, 0, 0, &window, 0.0f);
    rig.windows.paintInvalidated();
    widefield::ADoublerEditor& editor = *rig.effect->getDoublerEditor();
    bool high = false;
    std::uint32_t passes = 0;
    std::int64_t rounds = 0;
    for (auto _ : state) {
        high = !high;
        for (std::int32_t index = 0; index <= ADoubler::kPseudoStereo; ++index) {
            const bool isSwitch = index == ADoubler::kInvertLeft || index == ADoubler::kInvertRight ||
                                  index == ADoubler::kMonoOut || index == ADoubler::kBypass ||
                                  index == ADoubler::kMetersOff || index == ADoubler::kSwapChannels ||
                                  index == ADoubler::kDcFilter || index == ADoubler::kBassOn ||
                                  index == ADoubler::kPseudoStereo;
            const float value = isSwitch ? (high ? 1.0f : 0.0f) : (high ? 0.3f : 0.7f);
            rig.effect->setParameter(index, value);
        }
        const std::uint32_t before = editor.refreshCount();
        // Two idle requests: the first refreshes, the second must find nothing to do.
        rig.effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
        rig.effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
        passes += editor.refreshCount() - before;
        ++rounds;
        if (paint) rig.windows.paintInvalidated();
    }
    state.counters["passes"] = static_cast<double>(passes) / static_cast<double>(rounds);
    rig.effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
}

}  // namespace

BENCHMARK(PanelOpenPaintClose)->Unit(benchmark::kMillisecond);
BENCHMARK(RefreshAfterAutomation)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
