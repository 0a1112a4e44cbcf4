// EditorShared.h — what the VST 2 and the CLAP editor commands both use.
//
//   perform               one --drag, --control-drag, --double-click or --wheel
//                         gesture in the host window, whole
//   PanelZoomEnvironment  BRISORA_ZOOM for one editor command
#pragma once

#include <cstdlib>
#include <string>

#include "tools/plughost/HostWindow.h"
#include "tools/plughost/Options.h"

namespace plughost {

void perform(HostWindow& window, const Options::Gesture& gesture, std::string& method);

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
