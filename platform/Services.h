// Services.h — what an effect gets from the platform, injected at construction.
//
// The plug-in's main passes defaultServices(), the real clock, registry/config
// store, host name and window system of the build's target; tests and offline
// tools pass their own (manual clock, memory store, headless windows).
#pragma once

namespace platform {

class Clock;
class SettingsStore;
class HostProgram;
class WindowSystem;

struct Services {
    Clock* clock = nullptr;
    SettingsStore* settings = nullptr;
    HostProgram* hostProgram = nullptr;
    WindowSystem* windows = nullptr;
};

const Services& defaultServices();

}  // namespace platform
