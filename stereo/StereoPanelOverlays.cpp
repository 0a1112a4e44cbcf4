// StereoPanelOverlays.cpp — TuStereoform's options panel, the save and reset
// questions, the About dialog, the latency readout and the two timers.
#include <string>

#include "stereo/AboutContent.h"
#include "stereo/uDoubler.h"
#include "stereo/uStereoMeter.h"

namespace widefield {

// ---- Options panel ----------------------------------------------------------------

void TuStereoform::infobtnClick() { peekpanel.setVisible(!peekpanel.visible()); }
void TuStereoform::OKAClick() { peekpanel.setVisible(false); }
void TuStereoform::peekpanelDblClick() { peekpanel.setVisible(false); }

void TuStereoform::HelpBtnClick() {
    if (effect == nullptr) return;
    // A dialog of this panel's that is still open goes, and the panel is asked
    // to catch up; otherwise (none, or closed meanwhile) a new one opens.
    if (about.toggle(windowSystem(), aboutContent(), zoom())) effect->setParameter(ADoubler::kRefreshPanel, 0.0f);
}

void TuStereoform::showLatency(std::int32_t ms) {
    LatencyLB.setText(std::to_string(ms) + "ms");
    // The slider follows without sending the value back: the effect holds it already.
    followingLatency = true;
    LatencyTB.setPosition(ms);
    followingLatency = false;
}

// ---- Save question ------------------------------------------------------------------

void TuStereoform::SpeedButton1Click() {
    const std::string host = effect ? effect->hostProgramName() : std::string();
    Titlelabel.setText("Save " + std::to_string(LatencyTB.position()) + "ms as the default latency for " + host + "?");
    SavePanel.setVisible(true);
}

void TuStereoform::setBtnClick() {
    SavePanel.setVisible(false);
    if (effect) effect->setParameter(ADoubler::kSaveLatency, 1.0f);
}

void TuStereoform::BitBtn3Click() { SavePanel.setVisible(false); }

// ---- Reset question -----------------------------------------------------------------

void TuStereoform::NiceButton2Click() { ResetOKpanel.setVisible(true); }
void TuStereoform::BitBtn4Click() { ResetOKpanel.setVisible(false); }

void TuStereoform::ResetAllBtnClick() {
    ResetOKpanel.setVisible(false);
    if (effect) effect->setParameter(ADoubler::kResetAll, 1.0f);
    // The refresh that follows therefore sends no automation to the host.
    Automation.setLEDon(false);
    PaintBox1DblClick();
    if (effect) effect->setParameter(ADoubler::kResetPhaseRange, 1.0f);
    PkLClick();
}

// ---- Displays ---------------------------------------------------------------------------

void TuStereoform::PaintBox1DblClick() { displays.PaintBox1DblClick(); }
void TuStereoform::PkLClick() { displays.PkLClick(); }
void TuStereoform::PHaseMeterHelperClick() { displays.PHaseMeterHelperClick(); }
void TuStereoform::SetMaxAsPeeksClick() { displays.SetMaxAsPeeksClick(); }
void TuStereoform::drainDisplays() { displays.drain(); }

// ---- Timers -------------------------------------------------------------------------

void TuStereoform::Timer1Timer() {
    if (effect) effect->setParameter(ADoubler::kResync, 0.0f);
}

void TuStereoform::Timer2Timer() {
    if (effect) effect->setParameter(ADoubler::kAudioWatchdog, 0.0f);
}

}  // namespace widefield
