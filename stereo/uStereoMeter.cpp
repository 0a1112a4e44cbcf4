// uStereoMeter.cpp — TuStereoform's layout: every control at its place, the
// buttons' faces, the sliders' ranges and bands, the drawn scale marks, and the
// wiring of the events to their handlers.
#include "stereo/uStereoMeter.h"

#include <string>

#include "controls/NiceButtonImages.h"
#include "stereo/LevelScale.h"
#include "stereo/uDoubler.h"

namespace widefield {

namespace {

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

constexpr int kButtonWidth = 66;
constexpr int kButtonHeight = 25;
constexpr int kHorizontalSliderHeight = 24;
constexpr int kVerticalSliderWidth = 25;
constexpr int kValueWidth = 40;
constexpr int kTextHeight = 13;

// The meter strip's first row on the panel: level scale row r is drawn at kMeterTop + r.
constexpr int kMeterTop = 58;
constexpr int kMarksLeft = 589;
constexpr int kMarksTop = 49;

Rect button(int left, int top) { return Rect::ofSize(left, top, kButtonWidth, kButtonHeight); }
Rect horizontalSlider(int left, int top, int width) {
    return Rect::ofSize(left, top, width, kHorizontalSliderHeight);
}
Rect verticalSlider(int left, int top, int height) { return Rect::ofSize(left, top, kVerticalSliderWidth, height); }
// A value label centred under a vertical slider.
Rect under(int sliderLeft, int top) {
    return Rect::ofSize(sliderLeft + kVerticalSliderWidth / 2 - kValueWidth / 2, top, kValueWidth, kTextHeight);
}
Rect bar(int x) { return Rect::ofSize(x - 2, 237, 5, 12); }

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
      InputFrame(this, Rect::ofSize(5, 5, 316, 101)),
      BalanceFrame(this, Rect::ofSize(5, 110, 146, 131)),
      BassFrame(this, Rect::ofSize(155, 110, 166, 131)),
      DelayFrame(this, Rect::ofSize(5, 245, 316, 51)),
      OutputFrame(this, Rect::ofSize(5, 300, 316, 81)),
      DecorationBar1(this, bar(98), toolkit::Shape::Kind::rectangle, kBarRed, colours::white),
      DecorationBar2(this, bar(161), toolkit::Shape::Kind::rectangle, kBarRed, colours::white),
      DecorationBar3(this, bar(225), toolkit::Shape::Kind::rectangle, kBarRed, colours::white),
      DecorationBar4(this, bar(256), toolkit::Shape::Kind::rectangle, kBarRed, colours::white),
      // Input.
      InputTitle(this, 11, 8, "Input", kTitle),
      INVL(this, button(73, 16)),
      ChannelSwap(this, button(155, 16)),
      INVR(this, button(237, 16)),
      InitWidthCaption(this, 12, 50, "Width", kCaption),
      InitWidth(this, horizontalSlider(57, 45, 135), Orientation::horizontal, 0, 100, 50),
      InitWidthLbl(this, Rect::ofSize(194, 50, kValueWidth, kTextHeight), "", kValue, Alignment::centre),
      RotationCaption(this, 12, 77, "Rotation", kCaption),
      Rotation(this, horizontalSlider(57, 72, 135), Orientation::horizontal, 0, 100, 50),
      RotationLbl(this, Rect::ofSize(194, 77, kValueWidth, kTextHeight), "", kValue, Alignment::centre),
      DCfilter(this, button(237, 68)),
      // Three-way balance.
      Label49(this, 10, 104, "3 way balance", kTitle),
      LeftCaption(this, under(51, 116), "Left", kCaption, Alignment::centre),
      CentreCaption(this, under(83, 116), "Centre", kCaption, Alignment::centre),
      RightCaption(this, under(115, 116), "Right", kCaption, Alignment::centre),
      Aymmetry(this, verticalSlider(51, 129, 93), Orientation::vertical, 0, 100, 10),
      centrecut(this, verticalSlider(83, 129, 93), Orientation::vertical, 0, 100, 10),
      rightAsym(this, verticalSlider(115, 129, 93), Orientation::vertical, 0, 100, 50),
      AymmetryLbl(this, under(51, 224), "", kValue, Alignment::centre),
      CentreLbl(this, under(83, 224), "", kValue, Alignment::centre),
      RightAsymLbl(this, under(115, 224), "", kValue, Alignment::centre),
      // Bass adjust.
      BassTitle(this, 160, 104, "Bass adjust", kTitle),
      BassBypass(this, button(159, 167)),
      FreqCaption(this, under(224, 118), "Freq", kCaption, Alignment::centre),
      BoostCaption(this, under(256, 118), "Boost", kCaption, Alignment::centre),
      BassWidthCaption(this, under(288, 118), "Width", kCaption, Alignment::centre),
      bassFreq(this, verticalSlider(224, 131, 90), Orientation::vertical, 0, 95, 10),
      BassLevel(this, verticalSlider(256, 131, 90), Orientation::vertical, 0, 100, 10),
      BassWidth(this, verticalSlider(288, 131, 90), Orientation::vertical, 0, 100, 10),
      bassFreqLbl(this, under(224, 223), "", kValue, Alignment::centre),
      BassLevelLbl(this, under(256, 223), "", kValue, Alignment::centre),
      BassWidthLbl(this, under(288, 223), "", kValue, Alignment::centre),
      // Delay.
      DelayLeftCaption(this, 10, 251, "L", kCaption),
      leftDelay(this, Rect::ofSize(20, 251, kValueWidth, kTextHeight), "", kValue, Alignment::left),
      delayLbl(this, Rect::ofSize(70, 251, 120, kTextHeight), "Delay (in samples)", kCaption, Alignment::centre),
      RightDelay(this, Rect::ofSize(200, 251, kValueWidth, kTextHeight), "", kValue, Alignment::right),
      DelayRightCaption(this, 243, 251, "R", kCaption),
      Delay(this, horizontalSlider(2, 267, 250), Orientation::horizontal, 0, 239, 50),
      Pseudo(this, button(254, 267)),
      // Output.
      OutputTitle(this, 11, 303, "Output", kTitle),
      BalanceCaption(this, 12, 326, "Rotation", kCaption),
      Balance(this, horizontalSlider(62, 321, 135), Orientation::horizontal, 0, 100, 75),
      BalanceLbl(this, Rect::ofSize(197, 326, kValueWidth, kTextHeight), "", kValue, Alignment::centre),
      StrWidthCaption(this, 12, 353, "Width", kCaption),
      StereoWidth(this, horizontalSlider(62, 348, 135), Orientation::horizontal, 0, 100, 50),
      StrWidthLbl(this, Rect::ofSize(197, 353, kValueWidth, kTextHeight), "", kValue, Alignment::centre),
      Mono(this, button(241, 312)),
      Bypass(this, button(241, 345)),
      // Top bar.
      AutomationCaption(this, Rect::ofSize(325, 4, kButtonWidth, kTextHeight), "Automation", kCaption,
                        Alignment::centre),
      Automation(this, button(325, 18)),
      NiceButton1(this, button(391, 18)),
      NiceButton2(this, button(457, 18)),
      MetersCaption(this, Rect::ofSize(523, 4, kButtonWidth, kTextHeight), "Meters", kCaption, Alignment::centre),
      MetersOff(this, button(523, 18)),
      // Scope: a sunken frame two pixels deep round the 256 x 256 window.
      ScopeFrame(this, Rect::ofSize(326, 51, 260, 260), colours::black, BevelStyle::lowered, BevelStyle::lowered),
      DrawPanel(&ScopeFrame, Rect::ofSize(2, 2, 256, 256), colours::black, BevelStyle::none),
      PaintBox1(&DrawPanel, Rect::ofSize(0, 0, 256, 256)),
      // Phase.
      PhaseCaption(this, 330, 324, "Phase difference:", kCaption),
      Phaselbl(this, Rect::ofSize(424, 324, 36, kTextHeight), "0\xBA", kCaption, Alignment::left),
      PhaseMinCaption(this, 464, 324, "Min:", kCaption),
      PhaseMinLbl(this, Rect::ofSize(490, 324, 34, kTextHeight), "0\xBA", kCaption, Alignment::left),
      PhaseMaxCaption(this, 527, 324, "Max:", kCaption),
      PhaseMaxLbl(this, Rect::ofSize(555, 324, 36, kTextHeight), "0\xBA", kCaption, Alignment::left),
      PhaseFrame(this, Rect::ofSize(327, 342, 258, 17), toolkit::Shape::Kind::rectangle, colours::black,
                 colours::white),
      PhaseMeter(this, Rect::ofSize(328, 343, 256, 15), colours::black, BevelStyle::none),
      PHaseMeterHelper(&PhaseMeter, Rect::ofSize(0, 0, 256, 15)),
      PhaseScale(this, Rect::ofSize(322, 360, 275, 14)),
      // Meter column.
      LevelMarks(this, Rect::ofSize(kMarksLeft, kMarksTop, kWidth - kMarksLeft, 308)),
      PeakFrame(this, Rect::ofSize(602, 24, 107, 19), colours::black, BevelStyle::lowered),
      PkL(&PeakFrame, Rect::ofSize(2, 2, 51, 15), "-inf", kCaption, Alignment::centre),
      PkR(&PeakFrame, Rect::ofSize(54, 2, 51, 15), "-inf", kCaption, Alignment::centre),
      FaderL(this, verticalSlider(612, 49, 307), Orientation::vertical, 0, kSilenceRow, 69),
      meter(this, Rect::ofSize(645, kMeterTop, 19, 288), colours::black, BevelStyle::none),
      MeterHelper(&meter, Rect::ofSize(0, 0, 19, 288)),
      FaderR(this, verticalSlider(674, 49, 307), Orientation::vertical, 0, kSilenceRow, 50),
      SetMaxAsPeeks(this, Rect::ofSize(642, 45, 27, 16)),
      FaderReadoutFrame(this, Rect::ofSize(604, 358, 107, 19), colours::black, BevelStyle::lowered),
      LFdrLVL(&FaderReadoutFrame, Rect::ofSize(2, 2, 51, 15), "", kCaption, Alignment::centre),
      RFdrLvl(&FaderReadoutFrame, Rect::ofSize(54, 2, 51, 15), "", kCaption, Alignment::centre),
      // Options panel.
      peekpanel(this, Rect::ofSize(324, 6, 278, 131), colours::black, BevelStyle::raised, BevelStyle::lowered),
      LatencyCaption(&peekpanel, 8, 6, "Latency", kCaption),
      LatencyTB(&peekpanel, Rect::ofSize(6, 22, 200, 34), Orientation::horizontal, 5, 1000, 5),
      LatencyLB(&peekpanel, 212, 30, "750ms", arial(11, colours::silver, true)),
      SaveCaption(&peekpanel, Rect::ofSize(4, 64, kButtonWidth, kTextHeight), "SAVE", kCaption, Alignment::centre),
      NiceButton4(&peekpanel, button(4, 80)),
      HelpCaption(&peekpanel, Rect::ofSize(72, 64, kButtonWidth, kTextHeight), "?", kCaption, Alignment::centre),
      NiceButton3(&peekpanel, button(72, 80)),
      FluorescenceCaption(&peekpanel, Rect::ofSize(118, 64, 110, kTextHeight), "Scope flurescence", kCaption,
                          Alignment::centre),
      flure(&peekpanel, button(140, 80)),
      OKCaption(&peekpanel, Rect::ofSize(208, 64, kButtonWidth, kTextHeight), "OK", kCaption, Alignment::centre),
      OKA(&peekpanel, button(208, 80)),
      // Save question.
      SavePanel(this, Rect::ofSize(325, 6, 283, 169), colours::black, BevelStyle::raised, BevelStyle::lowered),
      Titlelabel(&SavePanel, Rect::ofSize(4, 50, 275, 16), "Save latency as default?", kCaption, Alignment::centre),
      setBtn(&SavePanel, Rect::ofSize(50, 120, 80, 27), "OK", toolkit::PictureButton::Kind::ok),
      BitBtn3(&SavePanel, Rect::ofSize(153, 120, 80, 27), "Cancel", toolkit::PictureButton::Kind::cancel),
      // Reset question.
      ResetOKpanel(this, Rect::ofSize(324, 6, 283, 169), colours::black, BevelStyle::raised, BevelStyle::lowered),
      ResetMessage(&ResetOKpanel, Rect::ofSize(4, 50, 275, 16), "Reset ALL controls to their defaults???", kCaption,
                   Alignment::centre),
      ResetAllBtn(&ResetOKpanel, Rect::ofSize(50, 120, 80, 27), "OK", toolkit::PictureButton::Kind::ok),
      BitBtn4(&ResetOKpanel, Rect::ofSize(153, 120, 80, 27), "Cancel", toolkit::PictureButton::Kind::cancel),
      Timer1(*this, kResyncInterval, [this] { Timer1Timer(); }),
      Timer2(*this, kWatchdogInterval, [this] { Timer2Timer(); }),
      displays(*this,
               DisplayWidgets{&PaintBox1, &MeterHelper, &PHaseMeterHelper, &Phaselbl, &PhaseMinLbl, &PhaseMaxLbl,
                              &PkL, &PkR, &SetMaxAsPeeks},
               [this] { return effect; }, [this] { return flure.LEDon(); }, [this] { return LatencyTB.position(); }),
      ImageList1(lampButtonImages()),
      ImageList2(peakButtonImages()) {
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
