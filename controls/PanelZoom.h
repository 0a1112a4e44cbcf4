// PanelZoom.h — which zoom a plug-in's panel opens with, and the user's choice.
//
//   resolveZoom   the rule: BRISORA_ZOOM when it is a number, else the stored
//                 choice when it is one, else 100 %; numbers go to the nearest level
//   PanelZoom     one plug-in's zoom: read once from the environment and the
//                 settings store ("Zoom" under software\Brisora\<plug-in>),
//                 changed and stored when the user picks a level, and the
//                 host's own scale, when a host tells one, kept beside it
//
// User-interface thread only.
#pragma once

#include <optional>
#include <string>

#include "platform/SettingsStore.h"
#include "toolkit/Zoom.h"

namespace controls {

// `environment` and `stored` may be null (not set, not stored).
int resolveZoom(const char* environment, const std::string* stored);

class PanelZoom {
public:
    explicit PanelZoom(std::string pluginName) : pluginName_(std::move(pluginName)) {}

    // Where the choice is kept; null keeps it for this instance only.
    void attach(platform::SettingsStore* store) { store_ = store; }
    // The zoom to open with (resolved at the first call).
    toolkit::Zoom current();
    // The user picked `percent`: it becomes current and is stored.
    void choose(int percent);

    // A host's scale factor (1.5 for 150 %); a factor that is not a sensible
    // scale (not finite, not positive) is ignored.
    void setHostScale(double factor);
    // The host's scale as a level, when a host told one.
    std::optional<int> hostLevel() const { return hostLevel_; }

    static platform::KeyPath keyPathOf(const std::string& pluginName) { return {"software", "Brisora", pluginName}; }

private:
    std::string pluginName_;
    platform::SettingsStore* store_ = nullptr;
    std::optional<int> percent_;
    std::optional<int> hostLevel_;
};

}  // namespace controls
