// DefaultServices.cpp — the real services of the build's target.
#include "platform/Clock.h"
#include "platform/HostProgram.h"
#include "platform/NativeWindow.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"

namespace platform {

const Services& defaultServices() {
    static const Services services{&systemClock(), &userSettingsStore(), &systemHostProgram(), &nativeWindowSystem()};
    return services;
}

}  // namespace platform
