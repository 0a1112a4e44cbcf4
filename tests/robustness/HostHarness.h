// HostHarness.h — a minimal host for the hardening tests and the fuzzer.
//
//   HarnessServices   injected services: manual clock, memory store, fixed host
//                     name and the headless window system
//   PluginKind        how to create one plug-in and what its parameters are
//   plugins()         Tonemark and Widefield, in that order
//   Instance          one created effect driven only through its AEffect record
//
// The host callback is the tests' FakeHost; blocks are the tests' StereoBlock.
// Everything goes through the record's entry functions, exactly as a host would,
// so the checks see the denormal guard and the dispatcher as the host sees them.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/DAudioE.h"
#include "platform/Clock.h"
#include "platform/HostProgram.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "stereo/uDoubler.h"
#include "tests/support/FakeHost.h"
#include "tests/support/StereoBlock.h"
#include "tuner/uDoubler.h"

namespace hardening {

using test_support::FakeHost;
using test_support::StereoBlock;

class HarnessServices {
public:
    explicit HarnessServices(const char* hostName = "hardening.exe") : hostProgram(hostName) {
        services.clock = &clock;
        services.settings = &settings;
        services.hostProgram = &hostProgram;
        services.windows = &windows;
    }
    HarnessServices(const HarnessServices&) = delete;
    HarnessServices& operator=(const HarnessServices&) = delete;

    const platform::Services& get() const { return services; }
    void idleWindows() { services.windows->idle(); }
    // Windows and timers alive now on the headless backend.
    std::size_t liveWindows() const { return windows.windows().size(); }
    std::size_t liveTimers() const { return windows.timerCount(); }

    platform::ManualClock clock{1000};
    platform::MemorySettingsStore settings;
    platform::FixedHostProgram hostProgram;
    platform::HeadlessWindowSystem windows{clock};

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

using Tuner = tonemark::ADoubler;
using Stereo = widefield::ADoubler;

inline ParameterKind tonemarkKind(std::int32_t index) {
    if (index == Tuner::kReferencePitch || index == Tuner::kAccuracy) return ParameterKind::ownUnits;
    if (index == Tuner::kRequestUpdate || index == Tuner::kAudioWatchdog) return ParameterKind::command;
    return ParameterKind::none;
}

inline ParameterKind widefieldKind(std::int32_t index) {
    switch (index) {
        case Stereo::kInvertLeft: case Stereo::kInvertRight: case Stereo::kMonoOut: case Stereo::kBypass:
        case Stereo::kMetersOff: case Stereo::kSwapChannels: case Stereo::kDcFilter: case Stereo::kBassOn:
        case Stereo::kPseudoStereo: case Stereo::kSetFluorescence:  // the fluorescence switch reads back too
            return ParameterKind::switchValue;
        case Stereo::kOutputWidth: case Stereo::kInputRotation: case Stereo::kOutputRotation: case Stereo::kCentreCut:
        case Stereo::kAsymmetry: case Stereo::kInputWidth: case Stereo::kBassFrequency: case Stereo::kBassBoost:
        case Stereo::kBassWidth:
            return ParameterKind::unitRange;
        case Stereo::kDelay: case Stereo::kGainLeft: case Stereo::kGainRight:
            return ParameterKind::unitDerived;
        case Stereo::kSetScopeBlockDivider: case Stereo::kSetLatency: case Stereo::kResetPhaseRange:
        case Stereo::kResetPeakHolds: case Stereo::kScaleGains: case Stereo::kRefreshPanel: case Stereo::kResync: case Stereo::kAudioWatchdog: case Stereo::kSaveLatency:
        case Stereo::kLoadLatency: case Stereo::kResetAll:
            return ParameterKind::command;
        default:
            return ParameterKind::none;
    }
}

// Every stored setting from the first to the last (the unused slot included), then the commands.
inline std::vector<std::int32_t> widefieldSettingIndices() {
    std::vector<std::int32_t> indices;
    for (std::int32_t index = Stereo::kInvertLeft; index <= Stereo::kPseudoStereo; ++index) indices.push_back(index);
    for (std::int32_t command :
         {Stereo::kSetScopeBlockDivider, Stereo::kSetFluorescence, Stereo::kSetLatency, Stereo::kResetPhaseRange,
          Stereo::kResetPeakHolds, Stereo::kScaleGains, Stereo::kRefreshPanel, Stereo::kResync,
          Stereo::kAudioWatchdog, Stereo::kSaveLatency, Stereo::kLoadLatency, Stereo::kResetAll})
        indices.push_back(command);
    return indices;
}

inline AEffect* createTonemark(const platform::Services& services) {
    return createInstance<tonemark::ADoubler>(FakeHost::callback, services);
}
inline AEffect* createWidefield(const platform::Services& services) {
    return createInstance<widefield::ADoubler>(FakeHost::callback, services);
}

inline const std::vector<PluginKind>& plugins() {
    static const std::vector<PluginKind> list{
        {"Tonemark", createTonemark, fourCharCode('u', 'F', 'F', 'T'), 2,
         {Tuner::kReferencePitch, Tuner::kAccuracy, Tuner::kRequestUpdate, Tuner::kAudioWatchdog}, tonemarkKind},
        {"Widefield", createWidefield, fourCharCode('W', 'd', 'F', 'd'), Stereo::kNumParams, widefieldSettingIndices(),
         widefieldKind},
    };
    return list;
}

// Something to hand effEditOpen as the host's window: the headless backend takes
// any value.
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

}  // namespace hardening
