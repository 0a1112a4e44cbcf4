// uStereoMeter.h — TuStereoform, Widefield's panel.
//
//   TuStereoform  the 723 x 386 borderless panel: the Input, three-way balance,
//                 Bass adjust, Delay and Output sections with their sliders,
//                 value labels and switches; the top bar (Send, i, reset,
//                 meters bypass); the scope, phase strip and meter column with
//                 the two linked faders; the options panel and the save and
//                 reset questions; Timer1 (display clock resync) and Timer2
//                 (audio watchdog); the About dialog
//
// The places are StereoPanelLayout.h's, the controls are built in
// uStereoMeter.cpp, the handlers of the sliders and
// switches in StereoPanelHandlers.cpp, the faders and their link in
// FaderLink.cpp, the overlays and timers in StereoPanelOverlays.cpp. Controls
// keep the names of the panel's layout, handlers the names of the events they
// serve. Everything here belongs to the user-interface thread.
#pragma once

#include <cstdint>
#include <string>

#include "controls/NiceButton.h"
#include "controls/uAbout.h"
#include "framework/DAEffect.h"
#include "stereo/DisplayDriver.h"
#include "stereo/PanelSlider.h"
#include "stereo/ValueLabels.h"
#include "toolkit/Bevel.h"
#include "toolkit/Form.h"
#include "toolkit/ImageList.h"
#include "toolkit/Label.h"
#include "toolkit/PaintBox.h"
#include "toolkit/Panel.h"
#include "toolkit/PictureButton.h"
#include "toolkit/Shape.h"
#include "toolkit/Timer.h"

namespace widefield {

class ADoubler;

class TuStereoform : public toolkit::Form {
public:
    static constexpr int kWidth = 723;
    static constexpr int kHeight = 386;
    static constexpr std::uint32_t kResyncInterval = 1000;   // milliseconds
    static constexpr std::uint32_t kWatchdogInterval = 200;  // milliseconds
    // The host calls that bracket a gesture, so that touch automation records it.
    static constexpr std::int32_t kAudioMasterBeginEdit = audioMasterBeginEdit;
    static constexpr std::int32_t kAudioMasterEndEdit = audioMasterEndEdit;

    explicit TuStereoform(platform::WindowSystem& windows);
    ~TuStereoform() override;

    // The effect the panel belongs to (set by the editor's open); may be none.
    ADoubler* effect = nullptr;
    // Offset of the right fader against the left one, right minus left, in dB.
    float faderLinkDb = 0.0f;

    // Slider change handlers.
    void InitWidthChange();
    void RotationChange();
    void AymmetryChange();
    void rightAsymChange();
    void centrecutChange();
    void bassFreqChange();
    void BassLevelChange();
    void BassWidthChange();
    void DelayChange();
    void BalanceChange();
    void StereoWidthChange();
    void LatencyTBChange();
    // Double-click resets.
    void InitWidthReset();
    void RotationReset();
    void AsymmetryReset();
    void CentreReset();
    void ThreeWayReset();
    void bassFreqReset();
    void BassLevelReset();
    void BassWidthReset();
    void DelayReset();
    void BalanceReset();
    void StereoWidthReset();

    // Switch clicks.
    void INVLClick();
    void INVRClick();
    void MonoClick();
    void BypassClick();
    void ChannelSwapClick();
    void DCfilterClick();
    void BassBypassClick();
    void PseudoClick();
    void MetersOffClick();
    void FlureClick();

    // While a guard lives, the panel follows the effect: positions set from
    // code move the controls and rewrite their labels but send nothing, so the
    // effect keeps exactly what the host set (the refresh, setFaders).
    class FollowingEffect {
    public:
        explicit FollowingEffect(TuStereoform& panel) : panel(panel), before(panel.followingEffect) {
            panel.followingEffect = true;
        }
        ~FollowingEffect() { panel.followingEffect = before; }
        FollowingEffect(const FollowingEffect&) = delete;
        FollowingEffect& operator=(const FollowingEffect&) = delete;

    private:
        TuStereoform& panel;
        bool before;
    };

    // Faders and their link.
    void FaderLChange();
    void FaderRChange();
    void setFaders(float gainLeft, float gainRight);
    void LFdrLVLClick();

    // Overlays, About and timers.
    void infobtnClick();
    void OKAClick();
    void peekpanelDblClick();
    void HelpBtnClick();
    void SpeedButton1Click();
    void setBtnClick();
    void BitBtn3Click();
    void NiceButton2Click();
    void BitBtn4Click();
    void ResetAllBtnClick();
    void Timer1Timer();
    void Timer2Timer();
    // The displays' resets (the scope's clearing and the peak readouts'), which
    // the reset question also runs.
    void PaintBox1DblClick();
    void PkLClick();
    // The phase strip's reset, SetMaxAsPeeks, and the displays drawn from what
    // the effect handed over (the editor's idle; the displays' own timer).
    void PHaseMeterHelperClick();
    void SetMaxAsPeeksClick();
    void drainDisplays();

    // The latency the effect holds: the label, and the slider when it stands elsewhere.
    void showLatency(std::int32_t ms);

    // The native window of the About dialog opened from this panel, or null.
    void* aboutWindow() const { return about.aboutWindow(); }
    const controls::AboutToggle& aboutToggle() const { return about; }

    // Controls, parents before children (their creation order; their places
    // are panelLayout's, which lies over which is stack()'s).
    toolkit::Bevel InputFrame;
    toolkit::Bevel BalanceFrame;
    toolkit::Bevel BassFrame;
    toolkit::Bevel DelayFrame;
    toolkit::Bevel OutputFrame;
    toolkit::Shape DecorationBar1;
    toolkit::Shape DecorationBar2;
    toolkit::Shape DecorationBar3;
    toolkit::Shape DecorationBar4;
    // Input.
    toolkit::Label InputTitle;
    controls::TNiceButton INVL;
    controls::TNiceButton ChannelSwap;
    controls::TNiceButton INVR;
    toolkit::Label InitWidthCaption;
    PanelSlider InitWidth;
    toolkit::Label InitWidthLbl;
    toolkit::Label RotationCaption;
    PanelSlider Rotation;
    toolkit::Label RotationLbl;
    controls::TNiceButton DCfilter;
    // Three-way balance.
    toolkit::Label Label49;
    toolkit::Label LeftCaption;
    toolkit::Label CentreCaption;
    toolkit::Label RightCaption;
    PanelSlider Aymmetry;
    PanelSlider centrecut;
    PanelSlider rightAsym;
    toolkit::Label AymmetryLbl;
    toolkit::Label CentreLbl;
    toolkit::Label RightAsymLbl;
    // Bass adjust.
    toolkit::Label BassTitle;
    controls::TNiceButton BassBypass;
    toolkit::Label FreqCaption;
    toolkit::Label BoostCaption;
    toolkit::Label BassWidthCaption;
    PanelSlider bassFreq;
    PanelSlider BassLevel;
    PanelSlider BassWidth;
    toolkit::Label bassFreqLbl;
    toolkit::Label BassLevelLbl;
    toolkit::Label BassWidthLbl;
    // Delay.
    toolkit::Label DelayLeftCaption;
    toolkit::Label leftDelay;
    toolkit::Label delayLbl;
    toolkit::Label RightDelay;
    toolkit::Label DelayRightCaption;
    PanelSlider Delay;
    controls::TNiceButton Pseudo;
    // Output.
    toolkit::Label OutputTitle;
    toolkit::Label BalanceCaption;
    PanelSlider Balance;
    toolkit::Label BalanceLbl;
    toolkit::Label StrWidthCaption;
    PanelSlider StereoWidth;
    toolkit::Label StrWidthLbl;
    controls::TNiceButton Mono;
    controls::TNiceButton Bypass;
    // Top bar.
    toolkit::Label AutomationCaption;
    controls::TNiceButton Automation;
    controls::TNiceButton NiceButton1;
    controls::TNiceButton NiceButton2;
    toolkit::Label MetersCaption;
    controls::TNiceButton MetersOff;
    // Scope.
    toolkit::Panel ScopeFrame;
    toolkit::Panel DrawPanel;
    toolkit::PaintBox PaintBox1;
    // Phase.
    toolkit::Label PhaseCaption;
    toolkit::Label Phaselbl;
    toolkit::Label PhaseMinCaption;
    toolkit::Label PhaseMinLbl;
    toolkit::Label PhaseMaxCaption;
    toolkit::Label PhaseMaxLbl;
    toolkit::Shape PhaseFrame;
    toolkit::Panel PhaseMeter;
    toolkit::PaintBox PHaseMeterHelper;
    toolkit::PaintBox PhaseScale;
    // Meter column.
    toolkit::PaintBox LevelMarks;
    toolkit::Panel PeakFrame;
    toolkit::Label PkL;
    toolkit::Label PkR;
    PanelSlider FaderL;
    toolkit::Panel meter;
    toolkit::PaintBox MeterHelper;
    PanelSlider FaderR;
    controls::TNiceButton SetMaxAsPeeks;
    toolkit::Panel FaderReadoutFrame;
    toolkit::Label LFdrLVL;
    toolkit::Label RFdrLvl;
    // Options panel.
    toolkit::Panel peekpanel;
    toolkit::Label LatencyCaption;
    PanelSlider LatencyTB;
    toolkit::Label LatencyLB;
    toolkit::Label SaveCaption;
    controls::TNiceButton NiceButton4;
    toolkit::Label HelpCaption;
    controls::TNiceButton NiceButton3;
    toolkit::Label FluorescenceCaption;
    controls::TNiceButton flure;
    toolkit::Label OKCaption;
    controls::TNiceButton OKA;
    // Save question.
    toolkit::Panel SavePanel;
    toolkit::Label Titlelabel;
    toolkit::PictureButton setBtn;
    toolkit::PictureButton BitBtn3;
    // Reset question.
    toolkit::Panel ResetOKpanel;
    toolkit::Label ResetMessage;
    toolkit::PictureButton ResetAllBtn;
    toolkit::PictureButton BitBtn4;
    // Timers.
    toolkit::Timer Timer1;
    toolkit::Timer Timer2;
    // The scope, meters and phase strip with their timers (ResetTimer); made
    // after the controls they draw into.
    DisplayDriver displays;

private:
    // Which control lies over which, whatever their order above: frames,
    // bars and scale marks under everything; the bass frequency slider over
    // the bass switch's last column, the peak button over the meter strip's
    // top rows, the options panel and the two questions over it all.
    void stack();
    void setUpButtons();
    void setUpSliders();
    void wireEvents();
    void wireResets();
    void showDesignPositions();
    void drawLevelMarks(toolkit::Canvas& canvas) const;
    void drawPhaseScale(toolkit::Canvas& canvas) const;

    // A setting the user changed: through setParameterAutomated while "Send"
    // is lit and the control is automatable, through setParameter otherwise.
    void send(std::int32_t index, float value, bool automatable = true);
    // A switch click while "Send" is lit is a whole gesture: begin, value, end.
    void sendSwitch(std::int32_t index, bool on);
    // True when the host was told (Send lit and an effect to speak for).
    bool beginEdit(std::int32_t index);
    void endEdit(std::int32_t index);
    // Wires a slider's press and release to the gesture of `index` (and of
    // `partner`, which a linked drag moves too; -1 for none).
    void bracketGestures(PanelSlider& slider, std::int32_t index, std::int32_t partner = -1);
    void flip(controls::TNiceButton& button, std::int32_t index);

    // The value labels of the sliders' present positions.
    void showInitWidth();
    void showRotation();
    void showAsymmetry();
    void showCentre();
    void showBassFrequency();
    void showBassLevel();
    void showBassWidth();
    void showDelay();
    void showBalance();
    void showStereoWidth();
    void showFaderReadout(toolkit::Label& readout, const PanelSlider& fader);
    void moveByLink(PanelSlider& partner, std::int32_t row);

    // The buttons' faces, drawn once per process and only read afterwards.
    const toolkit::ImageList& ImageList1;
    const toolkit::ImageList& ImageList2;
    controls::AboutToggle about;
    // The latency slider follows the effect without sending back (showLatency).
    bool followingLatency = false;
    // Set by FollowingEffect: send drops what the handlers would send.
    bool followingEffect = false;
    // A fader moves because of its partner or of setFaders, not by itself.
    bool linkMoving = false;
};

// Writes a value label: its text, grey at the neutral position and silver elsewhere.
void showValueLabel(toolkit::Label& label, const ValueLabel& value);

}  // namespace widefield
