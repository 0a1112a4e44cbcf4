// DisplayDriver.h — the displays' part of Widefield's panel: when they are
// drawn, what their clicks do, and the gain normalisation with ResetTimer.
//
//   DisplayWidgets  the panel's windows, labels and button the displays use
//   DisplayDriver   the StereoDisplays of one panel; drains on the panel's idle
//                   and on a 30 ms display timer of its own (hosts idle the
//                   editor at 20 to 50 ms, some rarely); the scope, phase strip
//                   and readout clicks; SetMaxAsPeeks and ResetTimer, which also
//                   runs once by itself a second after the panel opens
//
// User-interface thread only, like the panel that owns it.
#pragma once

#include <cstdint>
#include <functional>

#include "stereo/StereoDisplays.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/Timer.h"

namespace widefield {

struct DisplayWidgets {
    toolkit::Control* scopeWindow = nullptr;   // PaintBox1
    toolkit::Control* meterWindow = nullptr;   // the meter strip's paint box
    toolkit::Control* phaseWindow = nullptr;   // the phase strip's paint box
    toolkit::Label* phase = nullptr;           // Phaselbl
    toolkit::Label* phaseMin = nullptr;        // PhaseMinLbl
    toolkit::Label* phaseMax = nullptr;        // PhaseMaxLbl
    toolkit::Label* peakLeft = nullptr;        // PkL
    toolkit::Label* peakRight = nullptr;       // PkR
    toolkit::Control* setMaxAsPeaks = nullptr; // SetMaxAsPeeks
};

class DisplayDriver {
public:
    static constexpr std::uint32_t kDisplayInterval = 30;
    static constexpr std::uint32_t kFirstPeakReset = 1000;

    // effect: the panel's effect (null while not set); fluorescence: the flure
    // lamp; latencyPosition: the LatencyTB position.
    DisplayDriver(toolkit::Form& panel, const DisplayWidgets& widgets, std::function<ADoubler*()> effect,
                  std::function<bool()> fluorescence, std::function<int()> latencyPosition);

    // Draws what the effect handed over since the last call (idle, timer).
    void drain();

    // PaintBox1DblClick: a click or double-click on the scope, and reset all.
    void PaintBox1DblClick();
    // PHaseMeterHelperClick: a click or double-click on the phase strip.
    void PHaseMeterHelperClick();
    // PkLClick: a click on the readouts, ResetTimer, and reset all.
    void PkLClick();
    void SetMaxAsPeeksClick();
    void ResetTimerTimer();

    StereoDisplays& displays() { return stereoDisplays; }
    toolkit::Timer& resetTimer() { return ResetTimer; }

private:
    void showTexts();

    DisplayWidgets widgets;
    std::function<ADoubler*()> effect;
    std::function<bool()> fluorescence;
    std::function<int()> latencyPosition;
    StereoDisplays stereoDisplays;
    toolkit::Timer displayTimer;
    toolkit::Timer ResetTimer;
};

}  // namespace widefield
