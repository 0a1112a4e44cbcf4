// UserSettingsStore.cpp — placeholder until the registry / XDG store lands.
#include "platform/SettingsStore.h"

namespace platform {

SettingsStore& userSettingsStore() {
    static MemorySettingsStore store;
    return store;
}

}  // namespace platform
