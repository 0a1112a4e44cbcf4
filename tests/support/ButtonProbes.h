// ButtonProbes.h — what the real-window panel tests watch on a button (on X11
// and under Win32 alike; no test framework needed).
//
//   countClicks      counts the clicks a control's handler receives, passes them on
//   countDoubleClicks  the same for its double-click handler
//   LampButtonProbe  an AutoToggle LED button on a form, recording the lamp as
//                    each click saw it, the double clicks and the releases
#pragma once

#include <functional>
#include <vector>

#include "controls/NiceButton.h"
#include "controls/NiceButtonImages.h"
#include "toolkit/Form.h"

namespace test_support {

inline void countClicks(toolkit::Control& control, int& count, const std::function<void()>& after = {}) {
    std::function<void()> handler = control.onClick;
    control.onClick = [handler, &count, after] {
        ++count;
        if (handler) handler();
        if (after) after();
    };
}

inline void countDoubleClicks(toolkit::Control& control, int& count) {
    std::function<void()> handler = control.onDoubleClick;
    control.onDoubleClick = [handler, &count] {
        ++count;
        if (handler) handler();
    };
}

struct LampButtonProbe {
    explicit LampButtonProbe(toolkit::Form& form) : button(&form, toolkit::Rect::ofSize(10, 10, 10, 10)) {
        button.setImagelist(&lamp);
        button.setShowLED(true);
        button.setAutoToggle(true);
        button.onClick = [this] { clicks.push_back(button.LEDon()); };
        button.onDoubleClick = [this] { ++doubles; };
        button.onMouseUp = [this](toolkit::MouseButton, const toolkit::ShiftState&, int, int) { ++releases; };
    }
    LampButtonProbe(const LampButtonProbe&) = delete;
    LampButtonProbe& operator=(const LampButtonProbe&) = delete;

    const toolkit::ImageList lamp = controls::makeLampButtonImages();
    controls::TNiceButton button;
    std::vector<bool> clicks;  // the lamp as each click handler saw it
    int doubles = 0, releases = 0;
};

}  // namespace test_support
