// StereoDisplays.h — Widefield's X-Y scope, level meters and phase strip.
//
//   MeterTexts      what the phase labels and the peak readouts show, and which
//                   readout has the red background of a hold above 0 dB
//   StereoDisplays  the off-screen images (scopeImage, meterImage, phaseImage),
//                   what each display window shows (its surface), tracePoints and
//                   maxPeak; the drawings; the peak and phase resets and the gain
//                   normalisation; and drain, which runs on the user-interface
//                   thread and draws what the audio thread handed over
//
// The images are drawn exactly as a per-notification drawing would leave them;
// drain only leaves out the work that a later record of the same drain hides:
// the window is copied once, and with fluorescence at most 16 traces are drawn
// (AfterglowTraces.h: the newest, or spread so that every sample since the
// last drain reaches the afterglow), so a host that idles late does not pay
// for every block.
//
// A peak reset also sets the number of hold resets that a meter record must
// include to count: records the audio thread made before the reset, still
// queued when it happens, are passed over rather than drawn or accounted.
//
// Everything here belongs to the user-interface thread. The windows are the
// panel's controls: a copy lands on the surface and invalidates the control,
// whose paint handler presents the surface (paintScope and friends); a paint
// that no copy asked for repaints the scope from its image and tracePoints.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "stereo/MeterReadings.h"
#include "stereo/StereoCapture.h"
#include "toolkit/Canvas.h"
#include "toolkit/Control.h"
#include "toolkit/Image.h"

namespace widefield {

class ADoubler;
class ADoublerEditor;

namespace displayColors {
constexpr toolkit::Pixel background = toolkit::rgb(0, 0, 0);
constexpr toolkit::Pixel axes = toolkit::rgb(192, 192, 192);
constexpr toolkit::Pixel diamond = toolkit::rgb(96, 96, 96);
constexpr toolkit::Pixel trace = toolkit::rgb(0, 238, 0);
constexpr toolkit::Pixel afterglow = toolkit::rgb(0, 128, 0);
constexpr toolkit::Pixel clearedAfterglow = toolkit::rgb(0, 144, 0);
constexpr toolkit::Pixel level = toolkit::rgb(0, 255, 0);
constexpr toolkit::Pixel overload = toolkit::rgb(255, 0, 0);
constexpr toolkit::Pixel phaseRange = toolkit::rgb(0, 128, 0);
}  // namespace displayColors

struct MeterTexts {
    std::string phase = "0\xBA", phaseMin = "0\xBA", phaseMax = "0\xBA";
    std::string peakLeft = "-inf", peakRight = "-inf";
    bool peakLeftRed = false, peakRightRed = false;
};

class StereoDisplays {
public:
    static constexpr int kScopeSize = 256;
    static constexpr float kResetPeak = 0.000001f;

    StereoDisplays();

    // The windows that show the surfaces (any may be null).
    void attach(toolkit::Control* scopeWindow, toolkit::Control* meterWindow, toolkit::Control* phaseWindow);

    // The drawings, each as one notification or click draws it.
    void drawGraticule();
    void drawScope(std::int32_t index, const ScopePoint* ring, std::int32_t ringSize, bool fluorescence);
    void clearScope(bool fluorescence);
    // A paint request of the scope window: the image, with the trace drawn
    // straight onto the window.
    void repaintScope();
    void drawMeters(const MeterReadings& readings);

    // User-interface thread: everything the hand-over holds, drawn in order.
    struct Drained {
        std::size_t scopes = 0;
        std::size_t meters = 0;
    };
    Drained drain(ADoublerEditor& editor, bool fluorescence);

    // The clicks and commands (they send with setParameter, never automated).
    void resetPeaks(ADoubler* effect);
    void resetPhaseRange(ADoubler* effect);
    // Sends ScaleGains 0.999 / maxPeak and returns true, or nothing and false
    // while maxPeak is below 0.00001.
    bool normaliseGains(ADoubler* effect);

    // Paint handlers of the three windows: their surfaces at the canvas origin.
    // A paint of the scope that no copy asked for is the window's own request
    // (uncovered, shown again): the image with the trace drawn over it.
    void paintScope(toolkit::Canvas& canvas);
    void paintMeter(toolkit::Canvas& canvas) const { canvas.draw(meterWindow, 0, 0); }
    void paintPhase(toolkit::Canvas& canvas) const { canvas.draw(phaseWindow, 0, 0); }

    const toolkit::Image& scopeImage() const { return scope; }
    const toolkit::Image& meterImage() const { return meter; }
    const toolkit::Image& phaseImage() const { return phase; }
    const toolkit::Image& scopeSurface() const { return scopeWindow; }
    const toolkit::Image& meterSurface() const { return meterWindow; }
    const toolkit::Image& phaseSurface() const { return phaseWindow; }
    const std::array<toolkit::Point, kTraceLength>& tracePoints() const { return trace; }
    float maxPeak() const { return maximumPeak; }
    const MeterTexts& texts() const { return meterTexts; }

private:
    void copyTrace(std::int32_t index, const ScopePoint* ring, std::int32_t ringSize);
    void drawTrace(toolkit::Pixel color);
    void copyScope();
    // The scope window as a paint request draws it: the image, then the trace.
    void composeScopeWindow();
    // Steps 4 and 5 of a meter drawing: red backgrounds and maxPeak.
    void accountPeaks(const MeterReadings& readings);
    // A record made before the panel's last peak reset.
    bool madeBeforeReset(const MeterReadings& readings) const;

    toolkit::Image scope, meter, phase;
    toolkit::Image scopeWindow, meterWindow, phaseWindow;
    toolkit::Control* scopeControl = nullptr;
    toolkit::Control* meterControl = nullptr;
    toolkit::Control* phaseControl = nullptr;
    bool scopeCopied = false;         // the next paint of the scope presents a copy
    std::int32_t previousNewest = -1;  // the newest position the last drain drew
    std::array<toolkit::Point, kTraceLength> trace{};
    float maximumPeak = kResetPeak;
    std::uint32_t peakHoldResetsCounted = 0;  // what a record must include to count
    MeterTexts meterTexts;
};

}  // namespace widefield
