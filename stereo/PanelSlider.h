// PanelSlider.h — the panel's slider: a track bar that tells its owner when a
// gesture (a press of the left mouse button and its release) begins and ends.
//
// onGestureBegin runs before the press moves the thumb (a click on the track
// moves it at once), onGestureEnd after the release has set the last position,
// so that a host recording touch automation sees every change inside the pair.
#pragma once

#include <functional>

#include "toolkit/TrackBar.h"

namespace widefield {

class PanelSlider : public toolkit::TrackBar {
public:
    using toolkit::TrackBar::TrackBar;

    std::function<void()> onGestureBegin;
    std::function<void()> onGestureEnd;

    bool inGesture() const { return inGesture_; }
    // Whether the host was told of the present gesture's beginning (the owner's note).
    bool gestureReported = false;

    void mouseDown(toolkit::MouseButton button, const toolkit::ShiftState& shift, int x, int y) override {
        if (button == toolkit::MouseButton::left && !inGesture_) {
            inGesture_ = true;
            if (onGestureBegin) onGestureBegin();
        }
        toolkit::TrackBar::mouseDown(button, shift, x, y);
    }

    void mouseUp(toolkit::MouseButton button, const toolkit::ShiftState& shift, int x, int y) override {
        toolkit::TrackBar::mouseUp(button, shift, x, y);
        if (button == toolkit::MouseButton::left && inGesture_) {
            inGesture_ = false;
            if (onGestureEnd) onGestureEnd();
        }
    }

private:
    bool inGesture_ = false;
};

}  // namespace widefield
