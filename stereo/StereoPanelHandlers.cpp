// StereoPanelHandlers.cpp — TuStereoform's sliders and switches: the change
// handlers with their value labels, the double-click resets, the switch clicks,
// and the one road every setting takes to the effect (send), with the gesture
// calls that let a host record touch automation while "Send" is lit.
#include <cstdint>

#include "stereo/uDoubler.h"
#include "stereo/uStereoMeter.h"

namespace widefield {

namespace {
float over(int position, double divisor) { return static_cast<float>(position / divisor); }
float fromTop(int position) { return static_cast<float>(1.0 - position / 100.0); }
}  // namespace

// ---- The road to the effect --------------------------------------------------------

void TuStereoform::send(std::int32_t index, float value, bool automatable) {
    // A control that follows the effect has nothing to tell it.
    if (effect == nullptr || followingEffect) return;
    if (automatable && Automation.LEDon())
        effect->setParameterAutomated(index, value);
    else
        effect->setParameter(index, value);
}

bool TuStereoform::beginEdit(std::int32_t index) {
    if (effect == nullptr || !Automation.LEDon()) return false;
    if (audioMasterCallback host = effect->getAudioMaster())
        host(effect->getAeffect(), kAudioMasterBeginEdit, index, 0, nullptr, 0.0f);
    return true;
}

void TuStereoform::endEdit(std::int32_t index) {
    if (effect == nullptr) return;
    if (audioMasterCallback host = effect->getAudioMaster())
        host(effect->getAeffect(), kAudioMasterEndEdit, index, 0, nullptr, 0.0f);
}

void TuStereoform::bracketGestures(PanelSlider& slider, std::int32_t index, std::int32_t partner) {
    // The lamp decides at the press; an edit begun is always ended, and one not
    // begun never is, whatever happens to the lamp meanwhile.
    slider.onGestureBegin = [this, &slider, index, partner] {
        slider.gestureReported = beginEdit(index);
        if (slider.gestureReported && partner >= 0) beginEdit(partner);
    };
    slider.onGestureEnd = [this, &slider, index, partner] {
        if (!slider.gestureReported) return;
        slider.gestureReported = false;
        if (partner >= 0) endEdit(partner);
        endEdit(index);
    };
}

void TuStereoform::sendSwitch(std::int32_t index, bool on) {
    const float value = on ? 1.0f : 0.0f;
    const bool reported = beginEdit(index);
    send(index, value);
    if (reported) endEdit(index);
}

void TuStereoform::flip(controls::TNiceButton& button, std::int32_t index) {
    button.setLEDon(!button.LEDon());
    sendSwitch(index, button.LEDon());
}

// ---- Value labels -------------------------------------------------------------------

void TuStereoform::showInitWidth() { showValueLabel(InitWidthLbl, widthLabel(InitWidth.position())); }
void TuStereoform::showRotation() { showValueLabel(RotationLbl, rotationLabel(Rotation.position())); }
void TuStereoform::showAsymmetry() {
    showValueLabel(AymmetryLbl, reversePercentLabel(Aymmetry.position()));
    showValueLabel(RightAsymLbl, rightAsymmetryLabel(Aymmetry.position()));
}
void TuStereoform::showCentre() { showValueLabel(CentreLbl, reversePercentLabel(centrecut.position())); }
void TuStereoform::showBassFrequency() { showValueLabel(bassFreqLbl, bassFrequencyLabel(bassFreq.position())); }
void TuStereoform::showBassLevel() { showValueLabel(BassLevelLbl, bassBoostLabel(BassLevel.position())); }
void TuStereoform::showBassWidth() { showValueLabel(BassWidthLbl, reversePercentLabel(BassWidth.position())); }
void TuStereoform::showDelay() {
    const DelayLabels labels = delayLabels(Delay.position());
    showValueLabel(leftDelay, labels.left);
    showValueLabel(RightDelay, labels.right);
}
void TuStereoform::showBalance() { showValueLabel(BalanceLbl, rotationLabel(Balance.position())); }
void TuStereoform::showStereoWidth() { showValueLabel(StrWidthLbl, widthLabel(StereoWidth.position())); }

// ---- Slider changes -----------------------------------------------------------------

void TuStereoform::InitWidthChange() {
    showInitWidth();
    send(ADoubler::kInputWidth, over(InitWidth.position(), 100.0));
}

void TuStereoform::RotationChange() {
    showRotation();
    send(ADoubler::kInputRotation, over(Rotation.position(), 100.0));
}

void TuStereoform::AymmetryChange() {
    showAsymmetry();
    // The pair always adds up to 100; the partner's own handler finds this
    // slider already in place, which ends the exchange.
    rightAsym.setPosition(100 - Aymmetry.position());
    send(ADoubler::kAsymmetry, over(Aymmetry.position(), 100.0));
}

void TuStereoform::rightAsymChange() { Aymmetry.setPosition(100 - rightAsym.position()); }

void TuStereoform::centrecutChange() {
    showCentre();
    send(ADoubler::kCentreCut, over(centrecut.position(), 100.0));
}

void TuStereoform::bassFreqChange() {
    showBassFrequency();
    send(ADoubler::kBassFrequency, fromTop(bassFreq.position()));
}

void TuStereoform::BassLevelChange() {
    showBassLevel();
    send(ADoubler::kBassBoost, fromTop(BassLevel.position()));
}

void TuStereoform::BassWidthChange() {
    showBassWidth();
    send(ADoubler::kBassWidth, fromTop(BassWidth.position()));
}

void TuStereoform::DelayChange() {
    showDelay();
    send(ADoubler::kDelay, over(Delay.position(), 240.0));
}

void TuStereoform::BalanceChange() {
    showBalance();
    send(ADoubler::kOutputRotation, over(Balance.position(), 100.0));
}

void TuStereoform::StereoWidthChange() {
    showStereoWidth();
    send(ADoubler::kOutputWidth, over(StereoWidth.position(), 100.0));
}

void TuStereoform::LatencyTBChange() {
    // The effect answers through showLatency, which writes the label.
    if (effect == nullptr || followingLatency) return;
    effect->setParameter(ADoubler::kSetLatency, static_cast<float>(LatencyTB.position()));
}

// ---- Double-click resets --------------------------------------------------------------
// Those that send 0.5 first reach the effect even when the slider already
// stands at its neutral position; the others send only by moving it.

void TuStereoform::InitWidthReset() { InitWidth.setPosition(50); }

void TuStereoform::RotationReset() {
    send(ADoubler::kInputRotation, 0.5f);
    Rotation.setPosition(50);
}

void TuStereoform::AsymmetryReset() { Aymmetry.setPosition(50); }
void TuStereoform::CentreReset() { centrecut.setPosition(50); }

void TuStereoform::ThreeWayReset() {
    Aymmetry.setPosition(50);
    centrecut.setPosition(50);
}

void TuStereoform::bassFreqReset() { bassFreq.setPosition(90); }
void TuStereoform::BassLevelReset() { BassLevel.setPosition(100); }
void TuStereoform::BassWidthReset() { BassWidth.setPosition(50); }

void TuStereoform::DelayReset() {
    send(ADoubler::kDelay, 0.5f);
    Delay.setPosition(120);
}

void TuStereoform::BalanceReset() {
    send(ADoubler::kOutputRotation, 0.5f);
    Balance.setPosition(50);
}

void TuStereoform::StereoWidthReset() {
    send(ADoubler::kOutputWidth, 0.5f);
    StereoWidth.setPosition(50);
}

// ---- Switches -------------------------------------------------------------------------

void TuStereoform::INVLClick() { flip(INVL, ADoubler::kInvertLeft); }
void TuStereoform::INVRClick() { flip(INVR, ADoubler::kInvertRight); }
void TuStereoform::MonoClick() { flip(Mono, ADoubler::kMonoOut); }
void TuStereoform::BypassClick() { flip(Bypass, ADoubler::kBypass); }
void TuStereoform::ChannelSwapClick() { flip(ChannelSwap, ADoubler::kSwapChannels); }
void TuStereoform::DCfilterClick() { flip(DCfilter, ADoubler::kDcFilter); }
void TuStereoform::BassBypassClick() { flip(BassBypass, ADoubler::kBassOn); }
void TuStereoform::PseudoClick() { flip(Pseudo, ADoubler::kPseudoStereo); }

void TuStereoform::MetersOffClick() {
    MetersOff.setLEDon(!MetersOff.LEDon());
    send(ADoubler::kMetersOff, MetersOff.LEDon() ? 1.0f : 0.0f, false);
}

void TuStereoform::FlureClick() {
    flure.setLEDon(!flure.LEDon());
    send(ADoubler::kSetFluorescence, flure.LEDon() ? 1.0f : 0.0f, false);
}

}  // namespace widefield
