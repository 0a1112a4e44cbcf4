// HostHarness.h — a minimal host for the hardening tests and the fuzzer.
//
//   quietHost         an audioMaster that answers the version query and nothing else
//   HarnessServices   injected services: manual clock, memory store, fixed host
//                     name and the headless window system (when the build has one)
//   PluginKind        how to create one plug-in and what its parameters are
//   plugins()         Tonemark and Widefield, in that order
//   Instance          one created effect driven only through its AEffect record
//   StereoBlock       two input and two output channels of a given capacity
//
// Everything goes through the record's entry functions, exactly as a host would,
// so the checks see the denormal guard and the dispatcher as the host sees them.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/DAudioE.h"
#include "platform/Clock.h"
#include "platform/HostProgram.h"
#include "platform/NativeWindow.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "stereo/uDoubler.h"
#include "tuner/uDoubler.h"

#if __has_include("platform/headless/HeadlessWindowSystem.h")
#include "platform/headless/HeadlessWindowSystem.h"
#define BRISORA_HARNESS_HEADLESS 1
#else
#define BRISORA_HARNESS_HEADLESS 0
#endif

namespace hardening {

inline VstIntPtr VSTCALLBACK quietHost(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// True when editors really build their panels in this build (headless backend present).
constexpr bool kHeadlessEditors = BRISORA_HARNESS_HEADLESS != 0;

class HarnessServices {
public:
    explicit HarnessServices(const char* hostName = "hardening.exe") : hostProgram(hostName) {
        services.clock = &clock;
        services.settings = &settings;
        services.hostProgram = &hostProgram;
#if BRISORA_HARNESS_HEADLESS
        services.windows = &windows;
#else
        services.windows = &platform::nativeWindowSystem();
#endif
    }
    HarnessServices(const HarnessServices&) = delete;
    HarnessServices& operator=(const HarnessServices&) = delete;

    const platform::Services& get() const { return services; }
    void idleWindows() { services.windows->idle(); }
    // Windows and timers alive now on the headless backend (0 without it).
    std::size_t liveWindows() const {
#if BRISORA_HARNESS_HEADLESS
        return windows.windows().size();
#else
        return 0;
#endif
    }
    std::size_t liveTimers() const {
#if BRISORA_HARNESS_HEADLESS
        return windows.timerCount();
#else
        return 0;
#endif
    }

    platform::ManualClock clock{1000};
    platform::MemorySettingsStore settings;
    platform::FixedHostProgram hostProgram;
#if BRISORA_HARNESS_HEADLESS
    platform::HeadlessWindowSystem windows{clock};
#endif

private:
    platform::Services services;
};

enum class ParameterKind { none, switchValue, unitRange, unitDerived, ownUnits, command };

struct PluginKind {
    const char* name;
    AEffect* (*create)(const platform::Services& services);
    std::int32_t uniqueID;
    std::int32_t numParams;
    // Every index setParameter acts on: host parameters, panel parameters, commands.
    std::vector<std::int32_t> settingIndices;
    ParameterKind (*kindOf)(std::int32_t index);
};

inline ParameterKind tonemarkKind(std::int32_t index) {
    if (index == 0 || index == 1) return ParameterKind::ownUnits;
    if (index == 100 || index == 101) return ParameterKind::command;
    return ParameterKind::none;
}

inline ParameterKind widefieldKind(std::int32_t index) {
    switch (index) {
        case 0: case 1: case 2: case 7: case 11: case 12: case 13: case 17: case 21:
            return ParameterKind::switchValue;
        case 3: case 4: case 5: case 6: case 14: case 15: case 18: case 19: case 20:
            return ParameterKind::unitRange;
        case 8: case 9: case 10:
            return ParameterKind::unitDerived;
        case 23: case 40: case 50: case 55: case 56: case 57: case 100: case 108: case 109: case 120: case 121:
        case 150:
            return ParameterKind::command;
        default:
            return ParameterKind::none;
    }
}

inline AEffect* createTonemark(const platform::Services& services) {
    return createInstance<tonemark::ADoubler>(quietHost, services);
}
inline AEffect* createWidefield(const platform::Services& services) {
    return createInstance<widefield::ADoubler>(quietHost, services);
}

inline const std::vector<PluginKind>& plugins() {
    static const std::vector<PluginKind> list{
        {"Tonemark", createTonemark, fourCharCode('u', 'F', 'F', 'T'), 2, {0, 1, 100, 101}, tonemarkKind},
        {"Widefield", createWidefield, fourCharCode('W', 'd', 'F', 'd'), 15,
         {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,  13,  14,  15,  16, 17,
          18, 19, 20, 21, 23, 40, 50, 55, 56, 57, 100, 108, 109, 120, 121, 150},
         widefieldKind},
    };
    return list;
}

// Something to hand effEditOpen as the host's window: the headless backend takes
// any value, and without it the editors open no window at all.
inline void* harnessParentWindow() {
    static int parent = 0;
    return &parent;
}

class Instance {
public:
    Instance(const PluginKind& kind, const platform::Services& services) : effect(kind.create(services)) {}
    ~Instance() { close(); }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    bool valid() const { return effect != nullptr; }
    AEffect* record() const { return effect; }
    VstIntPtr dispatch(std::int32_t opcode, std::int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f) {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    void set(std::int32_t index, float value) { effect->setParameter(effect, index, value); }
    float get(std::int32_t index) { return effect->getParameter(effect, index); }
    void processReplacing(float** in, float** out, std::int32_t frames) {
        effect->processReplacing(effect, in, out, frames);
    }
    void process(float** in, float** out, std::int32_t frames) { effect->process(effect, in, out, frames); }
    VstIntPtr openEditor() {
        ERect* rect = nullptr;
        dispatch(effEditGetRect, 0, 0, &rect);
        return dispatch(effEditOpen, 0, 0, harnessParentWindow());
    }
    void idleEditor() { dispatch(effEditIdle); }
    void closeEditor() { dispatch(effEditClose); }
    void close() {
        if (effect) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        effect = nullptr;
    }

private:
    AEffect* effect;
};

class StereoBlock {
public:
    explicit StereoBlock(std::size_t capacity)
        : storage(4, std::vector<float>(capacity, 0.0f)),
          inputs{storage[0].data(), storage[1].data()},
          outputs{storage[2].data(), storage[3].data()} {}

    float** in() { return inputs; }
    float** out() { return outputs; }
    std::vector<float>& channel(int index) { return storage[static_cast<std::size_t>(index)]; }

    // A deterministic test signal: two detuned sines with a little noise.
    void fillSignal(std::int32_t frames, std::uint32_t seed) {
        std::uint32_t state = seed * 2654435761u + 1u;
        for (std::int32_t i = 0; i < frames; ++i) {
            state = state * 1664525u + 1013904223u;
            const double noise = (static_cast<double>(state >> 8) / 16777216.0 - 0.5) * 0.01;
            const double t = static_cast<double>(seed % 1000u) * 977.0 + i;
            inputs[0][i] = static_cast<float>(0.5 * std::sin(t * 0.0627) + noise);
            inputs[1][i] = static_cast<float>(0.4 * std::sin(t * 0.0411 + 0.3) - noise);
        }
    }
    bool outputsFinite(std::int32_t frames) const {
        for (std::int32_t i = 0; i < frames; ++i)
            if (!std::isfinite(outputs[0][i]) || !std::isfinite(outputs[1][i])) return false;
        return true;
    }

private:
    std::vector<std::vector<float>> storage;
    float* inputs[2];
    float* outputs[2];
};

}  // namespace hardening
