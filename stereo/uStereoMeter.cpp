// uStereoMeter.cpp — TuStereoform built: every control at its place of the
// layout table, which lies over which, the buttons' faces, the sliders' ranges
// and bands, the drawn scale marks, and the wiring of the events to their
// handlers.
#include "stereo/uStereoMeter.h"

#include <iterator>
#include <string>

#include "controls/NiceButtonImages.h"
#include "stereo/LevelScale.h"
#include "stereo/StereoPanelLayout.h"
#include "stereo/uDoubler.h"

namespace widefield {

namespace {

namespace L = panelLayout;
using toolkit::Alignment;
using toolkit::BevelStyle;
using toolkit::Font;
using toolkit::Rect;
using Orientation = toolkit::TrackBar::Orientation;
namespace colours = toolkit::colors;

// Arial is Liberation Sans (metric-compatible), the toolkit's face.
Font arial(int size, toolkit::Pixel colour = colours::silver, bool bold = false) { return Font{size, bold, colour}; }

const Font kTitle = arial(11, colours::silver, true);
const Font kCaption = arial(11);
const Font kValue = arial(11, colours::gray);
const Font kButton = arial(11, colours::silver, true);

// The meter strip's first row and the marks' canvas origin on the panel.
constexpr int kMeterTop = L::kMeterTop;
constexpr int kMarksLeft = L::kMarksLeft;
constexpr int kMarksTop = L::kMarksTop;

const toolkit::ImageList& lampButtonImages() {
    static const toolkit::ImageList list = controls::makeLampButtonImages();
    return list;
}

const toolkit::ImageList& peakButtonImages() {
    static const toolkit::ImageList list = controls::makePeakButtonImages();
    return list;
}

// The decorative bars and the overlays' frames are drawn, not filled by a widget.
const toolkit::Pixel kBarRed = colours::red;

}  // namespace

void showValueLabel(toolkit::Label& label, const ValueLabel& value) {
    label.setText(value.text);
    label.setFontColor(value.neutral ? colours::gray : colours::silver);
}

TuStereoform::TuStereoform(platform::WindowSystem& windows)
    : toolkit::Form(windows, kWidth, kHeight, colours::black),
      InputFrame(this, L::InputFrame),
      BalanceFrame(this, L::BalanceFrame),
      BassFrame(this, L::BassFrame),
      DelayFrame(this, L::DelayFrame),
      OutputFrame(this, L::OutputFrame),
      DecorationBar1(this, L::DecorationBar1, toolkit::Shape::Kind::rectangle, kBarRed, colours::white),
      DecorationBar2(this, L::DecorationBar2, toolkit::Shape::Kind::rectangle, kBarRed, colours::white),
      DecorationBar3(this, L::DecorationBar3, toolkit::Shape::Kind::rectangle, kBarRed, colours::white),
      DecorationBar4(this, L::DecorationBar4, toolkit::Shape::Kind::rectangle, kBarRed, colours::white),
      // Input.
      InputTitle(this, L::InputTitle.x, L::InputTitle.y, "Input", kTitle),
      INVL(this, L::INVL),
      ChannelSwap(this, L::ChannelSwap),
      INVR(this, L::INVR),
      InitWidthCaption(this, L::InitWidthCaption.x, L::InitWidthCaption.y, "Width", kCaption),
      InitWidth(this, L::InitWidth, Orientation::horizontal, 0, 100, 50),
      InitWidthLbl(this, L::InitWidthLbl, "", kValue, Alignment::centre),
      RotationCaption(this, L::RotationCaption.x, L::RotationCaption.y, "Rotation", kCaption),
      Rotation(this, L::Rotation, Orientation::horizontal, 0, 100, 50),
      RotationLbl(this, L::RotationLbl, "", kValue, Alignment::centre),
      DCfilter(this, L::DCfilter),
      // Three-way balance.
      Label49(this, L::Label49.x, L::Label49.y, "3 way balance", kTitle),
      LeftCaption(this, L::LeftCaption, "Left", kCaption, Alignment::centre),
      CentreCaption(this, L::CentreCaption, "Centre", kCaption, Alignment::centre),
      RightCaption(this, L::RightCaption, "Right", kCaption, Alignment::centre),
      Aymmetry(this, L::Aymmetry, Orientation::vertical, 0, 100, 10),
      centrecut(this, L::centrecut, Orientation::vertical, 0, 100, 10),
      rightAsym(this, L::rightAsym, Orientation::vertical, 0, 100, 50),
      AymmetryLbl(this, L::AymmetryLbl, "", kValue, Alignment::centre),
      CentreLbl(this, L::CentreLbl, "", kValue, Alignment::centre),
      RightAsymLbl(this, L::RightAsymLbl, "", kValue, Alignment::centre),
      // Bass adjust.
      BassTitle(this, L::BassTitle.x, L::BassTitle.y, "Bass adjust", kTitle),
      BassBypass(this, L::BassBypass),
      FreqCaption(this, L::FreqCaption, "Freq", kCaption, Alignment::centre),
      BoostCaption(this, L::BoostCaption, "Boost", kCaption, Alignment::centre),
      BassWidthCaption(this, L::BassWidthCaption, "Width", kCaption, Alignment::centre),
      bassFreq(this, L::bassFreq, Orientation::vertical, 0, 95, 10),
      BassLevel(this, L::BassLevel, Orientation::vertical, 0, 100, 10),
      BassWidth(this, L::BassWidth, Orientation::vertical, 0, 100, 10),
      bassFreqLbl(this, L::bassFreqLbl, "", kValue, Alignment::centre),
      BassLevelLbl(this, L::BassLevelLbl, "", kValue, Alignment::centre),
      BassWidthLbl(this, L::BassWidthLbl, "", kValue, Alignment::centre),
      // Delay.
      DelayLeftCaption(this, L::DelayLeftCaption.x, L::DelayLeftCaption.y, "L", kCaption),
      leftDelay(this, L::leftDelay, "", kValue, Alignment::left),
      delayLbl(this, L::delayLbl, "Delay (in samples)", kCaption, Alignment::centre),
      RightDelay(this, L::RightDelay, "", kValue, Alignment::right),
      DelayRightCaption(this, L::DelayRightCaption.x, L::DelayRightCaption.y, "R", kCaption),
      Delay(this, L::Delay, Orientation::horizontal, 0, 239, 50),
      Pseudo(this, L::Pseudo),
      // Output.
      OutputTitle(this, L::OutputTitle.x, L::OutputTitle.y, "Output", kTitle),
      BalanceCaption(this, L::BalanceCaption.x, L::BalanceCaption.y, "Rotation", kCaption),
      Balance(this, L::Balance, Orientation::horizontal, 0, 100, 75),
      BalanceLbl(this, L::BalanceLbl, "", kValue, Alignment::centre),
      StrWidthCaption(this, L::StrWidthCaption.x, L::StrWidthCaption.y, "Width", kCaption),
      StereoWidth(this, L::StereoWidth, Orientation::horizontal, 0, 100, 50),
      StrWidthLbl(this, L::StrWidthLbl, "", kValue, Alignment::centre),
      Mono(this, L::Mono),
      Bypass(this, L::Bypass),
      // Top bar.
      AutomationCaption(this, L::AutomationCaption, "Automation", kCaption, Alignment::centre),
      Automation(this, L::Automation),
      NiceButton1(this, L::NiceButton1),
      NiceButton2(this, L::NiceButton2),
      MetersCaption(this, L::MetersCaption, "Meters", kCaption, Alignment::centre),
      MetersOff(this, L::MetersOff),
      // Scope.
      ScopeFrame(this, L::ScopeFrame, colours::black, BevelStyle::lowered, BevelStyle::lowered),
      DrawPanel(&ScopeFrame, L::DrawPanel, colours::black, BevelStyle::none),
      PaintBox1(&DrawPanel, L::PaintBox1),
      // Phase.
      PhaseCaption(this, L::PhaseCaption.x, L::PhaseCaption.y, "Phase difference:", kCaption),
      Phaselbl(this, L::Phaselbl, "0\xBA", kCaption, Alignment::left),
      PhaseMinCaption(this, L::PhaseMinCaption.x, L::PhaseMinCaption.y, "Min:", kCaption),
      PhaseMinLbl(this, L::PhaseMinLbl, "0\xBA", kCaption, Alignment::left),
      PhaseMaxCaption(this, L::PhaseMaxCaption.x, L::PhaseMaxCaption.y, "Max:", kCaption),
      PhaseMaxLbl(this, L::PhaseMaxLbl, "0\xBA", kCaption, Alignment::left),
      PhaseFrame(this, L::PhaseFrame, toolkit::Shape::Kind::rectangle, colours::black, colours::white),
      PhaseMeter(this, L::PhaseMeter, colours::black, BevelStyle::none),
      PHaseMeterHelper(&PhaseMeter, L::PHaseMeterHelper),
      PhaseScale(this, L::PhaseScale),
      // Meter column.
      LevelMarks(this, L::LevelMarks),
      PeakFrame(this, L::PeakFrame, colours::black, BevelStyle::lowered),
      PkL(&PeakFrame, L::PkL, "-inf", kCaption, Alignment::centre),
      PkR(&PeakFrame, L::PkR, "-inf", kCaption, Alignment::centre),
      FaderL(this, L::FaderL, Orientation::vertical, 0, kSilenceRow, 69),
      meter(this, L::meter, colours::black, BevelStyle::none),
      MeterHelper(&meter, L::MeterHelper),
      FaderR(this, L::FaderR, Orientation::vertical, 0, kSilenceRow, 50),
      SetMaxAsPeeks(this, L::SetMaxAsPeeks),
      FaderReadoutFrame(this, L::FaderReadoutFrame, colours::black, BevelStyle::lowered),
      LFdrLVL(&FaderReadoutFrame, L::LFdrLVL, "", kCaption, Alignment::centre),
      RFdrLvl(&FaderReadoutFrame, L::RFdrLvl, "", kCaption, Alignment::centre),
      // Options panel.
      peekpanel(this, L::peekpanel, colours::black, BevelStyle::raised, BevelStyle::lowered),
      LatencyCaption(&peekpanel, L::LatencyCaption.x, L::LatencyCaption.y, "Latency", kCaption),
      LatencyTB(&peekpanel, L::LatencyTB, Orientation::horizontal, 5, 1000, 5),
      LatencyLB(&peekpanel, L::LatencyLB.x, L::LatencyLB.y, "750ms", arial(11, colours::silver, true)),
      SaveCaption(&peekpanel, L::SaveCaption, "SAVE", kCaption, Alignment::centre),
      NiceButton4(&peekpanel, L::NiceButton4),
      HelpCaption(&peekpanel, L::HelpCaption, "?", kCaption, Alignment::centre),
      NiceButton3(&peekpanel, L::NiceButton3),
      FluorescenceCaption(&peekpanel, L::FluorescenceCaption, "Scope flurescence", kCaption, Alignment::centre),
      flure(&peekpanel, L::flure),
      OKCaption(&peekpanel, L::OKCaption, "OK", kCaption, Alignment::centre),
      OKA(&peekpanel, L::OKA),
      // Save question.
      SavePanel(this, L::SavePanel, colours::black, BevelStyle::raised, BevelStyle::lowered),
      Titlelabel(&SavePanel, L::Titlelabel, "Save latency as default?", kCaption, Alignment::centre),
      setBtn(&SavePanel, L::setBtn, "OK", toolkit::PictureButton::Kind::ok),
      BitBtn3(&SavePanel, L::BitBtn3, "Cancel", toolkit::PictureButton::Kind::cancel),
      // Reset question.
      ResetOKpanel(this, L::ResetOKpanel, colours::black, BevelStyle::raised, BevelStyle::lowered),
      ResetMessage(&ResetOKpanel, L::ResetMessage, "Reset ALL controls to their defaults???", kCaption,
                   Alignment::centre),
      ResetAllBtn(&ResetOKpanel, L::ResetAllBtn, "OK", toolkit::PictureButton::Kind::ok),
      BitBtn4(&ResetOKpanel, L::BitBtn4, "Cancel", toolkit::PictureButton::Kind::cancel),
      Timer1(*this, kResyncInterval, [this] { Timer1Timer(); }),
      Timer2(*this, kWatchdogInterval, [this] { Timer2Timer(); }),
      displays(*this,
               DisplayWidgets{&PaintBox1, &MeterHelper, &PHaseMeterHelper, &Phaselbl, &PhaseMinLbl, &PhaseMaxLbl,
                              &PkL, &PkR, &SetMaxAsPeeks},
               [this] { return effect; }, [this] { return flure.LEDon(); }, [this] { return LatencyTB.position(); }),
      ImageList1(lampButtonImages()),
      ImageList2(peakButtonImages()) {
    stack();
    setUpButtons();
    setUpSliders();
    LevelMarks.onPaint = [this](toolkit::Canvas& canvas) { drawLevelMarks(canvas); };
    PhaseScale.onPaint = [this](toolkit::Canvas& canvas) { drawPhaseScale(canvas); };
    for (toolkit::Label* title : {&InputTitle, &Label49, &BassTitle, &OutputTitle}) {
        // Titles sit on their frame's edge and hide it behind their text.
        title->setTransparent(false);
        title->setColor(colours::black);
    }
    peekpanel.setVisible(false);
    SavePanel.setVisible(false);
    ResetOKpanel.setVisible(false);
    showDesignPositions();
    wireEvents();
    wireResets();
}

TuStereoform::~TuStereoform() = default;

void TuStereoform::stack() {
    // From the bottom up.
    toolkit::Control* const underneath[] = {&InputFrame,     &BalanceFrame,   &BassFrame,      &DelayFrame,
                                            &OutputFrame,    &DecorationBar1, &DecorationBar2, &DecorationBar3,
                                            &DecorationBar4, &ScopeFrame,     &PhaseFrame,     &LevelMarks};
    for (auto it = std::rbegin(underneath); it != std::rend(underneath); ++it) (*it)->sendToBack();
    for (toolkit::Control* over : {static_cast<toolkit::Control*>(&bassFreq),
                                   static_cast<toolkit::Control*>(&SetMaxAsPeeks),
                                   static_cast<toolkit::Control*>(&peekpanel),
                                   static_cast<toolkit::Control*>(&SavePanel),
                                   static_cast<toolkit::Control*>(&ResetOKpanel)})
        over->bringToFront();
}

void TuStereoform::setUpButtons() {
    struct Face {
        controls::TNiceButton& button;
        const char* caption;
        bool lamp;
    };
    const Face faces[] = {
        {INVL, "L +/-", true},      {ChannelSwap, "R<->L", true}, {INVR, "R +/-", true},
        {DCfilter, "DC filter", true}, {BassBypass, "On", true},  {Pseudo, "Psuedo St", true},
        {Mono, "MONO", true},       {Bypass, "Bypass", true},     {Automation, "Send", true},
        {NiceButton1, "i", false},  {NiceButton2, "reset", false}, {MetersOff, "Bypass", true},
        {NiceButton4, "", false},   {NiceButton3, "", false},     {flure, "On", true},
        {OKA, "", false},
    };
    for (const Face& face : faces) {
        face.button.setImagelist(&ImageList1);
        face.button.setFont(kButton);
        face.button.setCaption(face.caption);
        face.button.setShowLED(face.lamp);
    }
    // The faces without a lamp are light grey, about 175 at the caption's
    // height, where silver would all but vanish: "i" takes a dark caption,
    // "reset" its red.
    NiceButton1.setFont(arial(12, colours::black, true));
    NiceButton2.setFont(arial(11, colours::red, true));
    Automation.setAutoToggle(true);
    flure.setLEDon(true);
    SetMaxAsPeeks.setImagelist(&ImageList2);
}

void TuStereoform::setUpSliders() {
    for (PanelSlider* slider : {&InitWidth, &Rotation, &Aymmetry, &centrecut, &rightAsym, &bassFreq, &BassLevel,
                                &BassWidth, &Delay, &Balance, &StereoWidth, &FaderL, &FaderR, &LatencyTB}) {
        slider->setColor(colours::black);
        // Page Up/Down and a click on the track move a tenth of the range.
        slider->setPageSize((slider->maximum() - slider->minimum()) / 10);
    }
    for (PanelSlider* slider : {&InitWidth, &Rotation, &Aymmetry, &centrecut, &rightAsym, &Balance, &StereoWidth})
        slider->setSelection(49, 51);
    BassWidth.setSelection(48, 51);
    Delay.setSelection(119, 121);
    LatencyTB.setLineSize(5);
    LatencyTB.setTickFrequency(100);
    LatencyTB.setTickColor(colours::silver);
}

void TuStereoform::showDesignPositions() {
    // Every value label shows its slider's position from the start, before any
    // handler has run (creation fires none).
    showInitWidth();
    showRotation();
    showAsymmetry();
    showCentre();
    showBassFrequency();
    showBassLevel();
    showBassWidth();
    showDelay();
    showBalance();
    showStereoWidth();
    showFaderReadout(LFdrLVL, FaderL);
    showFaderReadout(RFdrLvl, FaderR);
}

void TuStereoform::wireEvents() {
    InitWidth.onChange = [this] { InitWidthChange(); };
    Rotation.onChange = [this] { RotationChange(); };
    Aymmetry.onChange = [this] { AymmetryChange(); };
    rightAsym.onChange = [this] { rightAsymChange(); };
    centrecut.onChange = [this] { centrecutChange(); };
    bassFreq.onChange = [this] { bassFreqChange(); };
    BassLevel.onChange = [this] { BassLevelChange(); };
    BassWidth.onChange = [this] { BassWidthChange(); };
    Delay.onChange = [this] { DelayChange(); };
    Balance.onChange = [this] { BalanceChange(); };
    StereoWidth.onChange = [this] { StereoWidthChange(); };
    FaderL.onChange = [this] { FaderLChange(); };
    FaderR.onChange = [this] { FaderRChange(); };
    LatencyTB.onChange = [this] { LatencyTBChange(); };

    bracketGestures(InitWidth, ADoubler::kInputWidth);
    bracketGestures(Rotation, ADoubler::kInputRotation);
    bracketGestures(Aymmetry, ADoubler::kAsymmetry);
    bracketGestures(rightAsym, ADoubler::kAsymmetry);
    bracketGestures(centrecut, ADoubler::kCentreCut);
    bracketGestures(bassFreq, ADoubler::kBassFrequency);
    bracketGestures(BassLevel, ADoubler::kBassBoost);
    bracketGestures(BassWidth, ADoubler::kBassWidth);
    bracketGestures(Delay, ADoubler::kDelay);
    bracketGestures(Balance, ADoubler::kOutputRotation);
    bracketGestures(StereoWidth, ADoubler::kOutputWidth);
    bracketGestures(FaderL, ADoubler::kGainLeft, ADoubler::kGainRight);
    bracketGestures(FaderR, ADoubler::kGainRight, ADoubler::kGainLeft);

    INVL.onClick = [this] { INVLClick(); };
    INVR.onClick = [this] { INVRClick(); };
    Mono.onClick = [this] { MonoClick(); };
    Bypass.onClick = [this] { BypassClick(); };
    ChannelSwap.onClick = [this] { ChannelSwapClick(); };
    DCfilter.onClick = [this] { DCfilterClick(); };
    BassBypass.onClick = [this] { BassBypassClick(); };
    Pseudo.onClick = [this] { PseudoClick(); };
    MetersOff.onClick = [this] { MetersOffClick(); };
    flure.onClick = [this] { FlureClick(); };

    NiceButton1.onClick = [this] { infobtnClick(); };
    NiceButton2.onClick = [this] { NiceButton2Click(); };
    OKA.onClick = [this] { OKAClick(); };
    NiceButton3.onClick = [this] { HelpBtnClick(); };
    NiceButton4.onClick = [this] { SpeedButton1Click(); };
    for (toolkit::Control* control : {static_cast<toolkit::Control*>(&peekpanel),
                                      static_cast<toolkit::Control*>(&LatencyCaption),
                                      static_cast<toolkit::Control*>(&LatencyLB)})
        control->onDoubleClick = [this] { peekpanelDblClick(); };
    setBtn.onClick = [this] { setBtnClick(); };
    BitBtn3.onClick = [this] { BitBtn3Click(); };
    ResetAllBtn.onClick = [this] { ResetAllBtnClick(); };
    BitBtn4.onClick = [this] { BitBtn4Click(); };

    // The displays: their windows paint the surfaces; a click or a double
    // click clears the scope or resets the phase range, one on the readouts
    // resets the peaks.
    PaintBox1.onPaint = [this](toolkit::Canvas& canvas) { displays.displays().paintScope(canvas); };
    MeterHelper.onPaint = [this](toolkit::Canvas& canvas) { displays.displays().paintMeter(canvas); };
    PHaseMeterHelper.onPaint = [this](toolkit::Canvas& canvas) { displays.displays().paintPhase(canvas); };
    PaintBox1.onClick = PaintBox1.onDoubleClick = [this] { PaintBox1DblClick(); };
    PHaseMeterHelper.onClick = PHaseMeterHelper.onDoubleClick = [this] { PHaseMeterHelperClick(); };
    for (toolkit::Control* readout : {static_cast<toolkit::Control*>(&PeakFrame), static_cast<toolkit::Control*>(&PkL),
                                      static_cast<toolkit::Control*>(&PkR)})
        readout->onClick = [this] { PkLClick(); };
    SetMaxAsPeeks.onClick = [this] { SetMaxAsPeeksClick(); };
}

void TuStereoform::wireResets() {
    const auto onDoubleClick = [](std::initializer_list<toolkit::Control*> controls, std::function<void()> reset) {
        for (toolkit::Control* control : controls) control->onDoubleClick = reset;
    };
    onDoubleClick({&InitWidthLbl, &InitWidthCaption}, [this] { InitWidthReset(); });
    onDoubleClick({&RotationLbl, &RotationCaption}, [this] { RotationReset(); });
    onDoubleClick({&LeftCaption, &RightCaption, &AymmetryLbl, &RightAsymLbl}, [this] { AsymmetryReset(); });
    onDoubleClick({&CentreLbl, &CentreCaption}, [this] { CentreReset(); });
    onDoubleClick({&Label49}, [this] { ThreeWayReset(); });
    onDoubleClick({&bassFreqLbl, &FreqCaption}, [this] { bassFreqReset(); });
    onDoubleClick({&BassLevelLbl, &BoostCaption}, [this] { BassLevelReset(); });
    onDoubleClick({&BassWidthLbl, &BassWidthCaption}, [this] { BassWidthReset(); });
    onDoubleClick({&leftDelay, &delayLbl, &RightDelay}, [this] { DelayReset(); });
    onDoubleClick({&BalanceLbl, &BalanceCaption}, [this] { BalanceReset(); });
    onDoubleClick({&StrWidthLbl, &StrWidthCaption}, [this] { StereoWidthReset(); });
    onDoubleClick({&FaderReadoutFrame, &LFdrLVL, &RFdrLvl}, [this] { LFdrLVLClick(); });
}

void TuStereoform::drawLevelMarks(toolkit::Canvas& canvas) const {
    // Canvas origin: (kMarksLeft, kMarksTop). Hairlines across the column at the
    // knots of the level scale, the figures on both sides of the faders, and a
    // red bar at 0 dB.
    struct Mark {
        int row;
        const char* text;
    };
    static const Mark marks[] = {{0, "6"},     {30, "3"},   {65, "1"},   {90, "0"},   {115, "-1"},
                                 {147, "-3"},  {189, "-6"}, {230, "-24"}, {288, "\xE2\x88\x9E"}};
    const Font figures = arial(9);
    const int width = kWidth - kMarksLeft;
    for (const Mark& mark : marks) {
        const int y = kMeterTop - kMarksTop + mark.row;
        canvas.fillRect(Rect{0, y, width, y + 1}, mark.row == kUnityRow ? colours::red : toolkit::rgb(72, 72, 72));
        const toolkit::TextExtent extent = toolkit::Canvas::textExtent(mark.text, figures);
        const int top = y - extent.height / 2;
        canvas.textOut(612 - kMarksLeft - 1 - extent.width, top, mark.text, figures);
        canvas.textOut(699 - kMarksLeft + 2, top, mark.text, figures);
    }
    const int unity = kMeterTop - kMarksTop + kUnityRow;
    canvas.fillRect(Rect{637 - kMarksLeft, unity - 1, 674 - kMarksLeft, unity + 2}, colours::red);
}

void TuStereoform::drawPhaseScale(toolkit::Canvas& canvas) const {
    // "0º" to "180º" every 30 degrees, centred under their places on the strip.
    const Font figures = arial(9);
    for (int step = 0; step <= 6; ++step) {
        const std::string text = std::to_string(step * 30) + "\xBA";
        const int centre = 328 - 322 + step * 255 / 6;
        const toolkit::TextExtent extent = toolkit::Canvas::textExtent(text, figures);
        canvas.textOut(centre - extent.width / 2, 0, text, figures);
    }
}

}  // namespace widefield
