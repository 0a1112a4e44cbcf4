// EditorShared.h — what the VST 2 and the CLAP editor commands both use.
//
//   perform               one --drag, --control-drag, --double-click or --wheel
//                         gesture in the host window, whole
//   PanelZoomEnvironment  BRISORA_ZOOM for one editor command
//   audioFrameLimit       --audio-seconds in whole blocks, or -1 for none
#pragma once

#include <cmath>
#include <cstdlib>
#include <string>

#include "tools/plughost/HostWindow.h"
#include "tools/plughost/Options.h"

namespace plughost {

void perform(HostWindow& window, const Options::Gesture& gesture, std::string& method);

// Whole blocks: every block the plug-in sees has the size it was told.
inline long long audioFrameLimit(const Options& options) {
    if (options.audioSeconds < 0) return -1;
    return static_cast<long long>(std::ceil(options.audioSeconds * options.rate / options.block)) * options.block;
}

// The plug-ins read their panel's zoom from the environment at their first
// open. Set for one editor command and put back after it: `plughost batch` runs
// many commands in one process, and the next one must not inherit the zoom.
class PanelZoomEnvironment {
public:
    explicit PanelZoomEnvironment(const std::string& percent) : active_(!percent.empty()) {
        if (!active_) return;
        if (const char* previous = std::getenv(kName)) {
            hadPrevious_ = true;
            previous_ = previous;
        }
        set(percent.c_str());
    }
    ~PanelZoomEnvironment() {
        if (!active_) return;
        if (hadPrevious_) {
            set(previous_.c_str());
        } else {
#if defined(_WIN32)
            _putenv_s(kName, "");  // an empty value removes the variable
#else
            unsetenv(kName);
#endif
        }
    }
    PanelZoomEnvironment(const PanelZoomEnvironment&) = delete;
    PanelZoomEnvironment& operator=(const PanelZoomEnvironment&) = delete;

private:
    static void set(const char* value) {
#if defined(_WIN32)
        _putenv_s(kName, value);
#else
        setenv(kName, value, 1);
#endif
    }
    static constexpr const char* kName = "BRISORA_ZOOM";
    bool active_;
    bool hadPrevious_ = false;
    std::string previous_;
};

}  // namespace plughost
