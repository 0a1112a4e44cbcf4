// EffectServices.h — the services an effect runs on in the tests and benchmarks.
//
//   EffectServices          a manual clock, an in-memory settings store and a
//                           fixed host program; services() hands them out, with
//                           no window system (an effect that opens no editor)
//   WindowedEffectServices  the same with headless windows on that clock
//
// Meant as a base of a fixture or rig, so that its code names the members as
// its own; the effect, a member of the fixture, goes before them.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/Clock.h"
#include "platform/HostProgram.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "platform/headless/HeadlessWindowSystem.h"

namespace test_support {

struct EffectServices {
    EffectServices(std::uint32_t start, std::string program) : clock(start), host(std::move(program)) {}
    EffectServices(const EffectServices&) = delete;
    EffectServices& operator=(const EffectServices&) = delete;

    platform::Services services() { return platform::Services{&clock, &store, &host, nullptr}; }

    platform::ManualClock clock;
    platform::MemorySettingsStore store;
    platform::FixedHostProgram host;
};

struct WindowedEffectServices : EffectServices {
    using EffectServices::EffectServices;

    platform::Services services() {
        platform::Services all = EffectServices::services();
        all.windows = &windows;
        return all;
    }

    platform::HeadlessWindowSystem windows{clock};
};

}  // namespace test_support
