// PanelZoomControl.h — the zoom as an editor runs it: open size, menu, changes.
//
//   PanelZoomControl   one per editor: the zoom choice (PanelZoom), the size
//                      getRect reports, and for an open panel its zoom and the
//                      right-click menu. A level picked in the menu is stored
//                      and, when the host takes the new size (requestHostSize),
//                      applied at once; otherwise the menu says it applies at
//                      the next open.
//
// User-interface thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "controls/PanelZoom.h"
#include "controls/ZoomMenu.h"
#include "framework/DAudioE.h"

namespace controls {

// Asks the effect's host to resize the editor window (audioMasterSizeWindow);
// true when the host answered that it did.
bool requestEditorSize(AudioEffect* effect, int width, int height);

class PanelZoomControl {
public:
    explicit PanelZoomControl(std::string pluginName) : choice_(std::move(pluginName)) {}
    ~PanelZoomControl() { detach(); }

    PanelZoom& choice() { return choice_; }
    // The zoom an open panel has, or the one the next open will have.
    toolkit::Zoom zoom();
    // A logical size at that zoom (getRect).
    int zoomed(int logical) { return zoom().toDevice(logical); }

    // Once the form exists and its controls are made: sets its zoom, lays the
    // menu over the controls and wires the right click.
    void attach(toolkit::Form& form);
    // Before the form goes.
    void detach();

    ZoomMenu* menu() const { return menu_.get(); }
    // Applies `percent` as the menu's pick does.
    void choose(int percent);

    // Asks the host to make its editor window width x height (device pixels);
    // true when it did. Unset: the host cannot.
    std::function<bool(int width, int height)> requestHostSize;

private:
    PanelZoom choice_;
    toolkit::Form* form_ = nullptr;
    std::unique_ptr<ZoomMenu> menu_;
    bool reopenNote_ = false;
};

}  // namespace controls
