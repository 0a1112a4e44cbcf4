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
    return createInstance<tonemark::ADoubler>(FakeHost::callback, services);
}
inline AEffect* createWidefield(const platform::Services& services) {
    return createInstance<widefield::ADoubler>(FakeHost::callback, services);
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
