// DisplayDriver.cpp — drains, clicks, the normalisation and ResetTimer.
#include "stereo/DisplayDriver.h"

#include "stereo/uDoubler.h"
#include "toolkit/Colors.h"

namespace widefield {

DisplayDriver::DisplayDriver(toolkit::Form& panel, const DisplayWidgets& panelWidgets,
                             std::function<ADoubler*()> panelEffect, std::function<bool()> flure,
                             std::function<int()> latencyTrackBar)
    : widgets(panelWidgets),
      effect(std::move(panelEffect)),
      fluorescence(std::move(flure)),
      latencyPosition(std::move(latencyTrackBar)),
      displayTimer(panel, kDisplayInterval, [this] { drain(); }),
      ResetTimer(panel, kFirstPeakReset, [this] { ResetTimerTimer(); }) {
    stereoDisplays.attach(widgets.scopeWindow, widgets.meterWindow, widgets.phaseWindow);
    // The graticule, and the scope window painted once.
    stereoDisplays.drawGraticule();
    stereoDisplays.repaintScope();
}

void DisplayDriver::drain() {
    ADoubler* doubler = effect ? effect() : nullptr;
    ADoublerEditor* editor = doubler ? doubler->getDoublerEditor() : nullptr;
    if (editor == nullptr) return;
    const StereoDisplays::Drained drained = stereoDisplays.drain(*editor, fluorescence && fluorescence());
    if (drained.meters > 0) showTexts();
}

void DisplayDriver::showTexts() {
    const MeterTexts& texts = stereoDisplays.texts();
    if (widgets.phase) widgets.phase->setText(texts.phase);
    if (widgets.phaseMin) widgets.phaseMin->setText(texts.phaseMin);
    if (widgets.phaseMax) widgets.phaseMax->setText(texts.phaseMax);
    const auto readout = [](toolkit::Label* label, const std::string& text, bool red) {
        if (label == nullptr) return;
        label->setText(text);
        label->setTransparent(false);
        label->setColor(red ? displayColors::overload : toolkit::colors::black);
    };
    readout(widgets.peakLeft, texts.peakLeft, texts.peakLeftRed);
    readout(widgets.peakRight, texts.peakRight, texts.peakRightRed);
}

void DisplayDriver::PaintBox1DblClick() { stereoDisplays.clearScope(fluorescence && fluorescence()); }

void DisplayDriver::PHaseMeterHelperClick() { stereoDisplays.resetPhaseRange(effect ? effect() : nullptr); }

void DisplayDriver::PkLClick() {
    stereoDisplays.resetPeaks(effect ? effect() : nullptr);
    // The backgrounds turn black at once; the texts follow at the next drain.
    for (toolkit::Label* label : {widgets.peakLeft, widgets.peakRight})
        if (label) label->setColor(toolkit::colors::black);
}

void DisplayDriver::SetMaxAsPeeksClick() {
    if (!stereoDisplays.normaliseGains(effect ? effect() : nullptr)) return;
    // The peaks are reset once the scaled audio has reached the display.
    const int latency = latencyPosition ? latencyPosition() : 0;
    ResetTimer.setEnabled(false);
    ResetTimer.setInterval(static_cast<std::uint32_t>(latency > 0 ? latency : 0) + 50u);
    ResetTimer.setEnabled(true);
    if (widgets.setMaxAsPeaks) widgets.setMaxAsPeaks->setEnabled(false);
}

void DisplayDriver::ResetTimerTimer() {
    ResetTimer.setEnabled(false);
    PkLClick();
    if (widgets.setMaxAsPeaks) widgets.setMaxAsPeaks->setEnabled(true);
}

}  // namespace widefield
