// StereoPanelLayout.h — where everything on Widefield's panel stands.
//
//   panelLayout  one named rectangle per control (a top-left corner for the
//                labels that size themselves to their text), section by
//                section: Input, three-way balance, Bass adjust, Delay,
//                Output, the top bar, the scope, the phase strip, the meter
//                column and the overlays; a child's place is in its parent's
//                coordinates
//
// The names are the controls' own (uStereoMeter.h). Which of them lie over
// which is TuStereoform::stack's business, not this table's order.
#pragma once

#include "toolkit/Geometry.h"

namespace widefield::panelLayout {

using toolkit::Point;
using toolkit::Rect;

constexpr int kButtonWidth = 66;
constexpr int kButtonHeight = 25;
constexpr int kHorizontalSliderHeight = 24;
constexpr int kVerticalSliderWidth = 25;
constexpr int kValueWidth = 40;
constexpr int kTextHeight = 13;

constexpr Rect button(int left, int top) { return Rect::ofSize(left, top, kButtonWidth, kButtonHeight); }
constexpr Rect horizontalSlider(int left, int top, int width) {
    return Rect::ofSize(left, top, width, kHorizontalSliderHeight);
}
constexpr Rect verticalSlider(int left, int top, int height) {
    return Rect::ofSize(left, top, kVerticalSliderWidth, height);
}
// A value label (or a column title) centred on a vertical slider.
constexpr Rect under(int sliderLeft, int top) {
    return Rect::ofSize(sliderLeft + kVerticalSliderWidth / 2 - kValueWidth / 2, top, kValueWidth, kTextHeight);
}
// A value label right of a horizontal slider.
constexpr Rect valueAt(int left, int top) { return Rect::ofSize(left, top, kValueWidth, kTextHeight); }
// A caption centred over a button.
constexpr Rect captionOver(int left, int top) { return Rect::ofSize(left, top, kButtonWidth, kTextHeight); }
// The red bars between the sections.
constexpr Rect bar(int x) { return Rect::ofSize(x - 2, 237, 5, 12); }

// Input.
constexpr Rect InputFrame = Rect::ofSize(5, 5, 316, 101);
constexpr Point InputTitle{11, 8};
constexpr Rect INVL = button(73, 16);
constexpr Rect ChannelSwap = button(155, 16);
constexpr Rect INVR = button(237, 16);
constexpr Point InitWidthCaption{12, 50};
constexpr Rect InitWidth = horizontalSlider(57, 45, 135);
constexpr Rect InitWidthLbl = valueAt(194, 50);
constexpr Point RotationCaption{12, 77};
constexpr Rect Rotation = horizontalSlider(57, 72, 135);
constexpr Rect RotationLbl = valueAt(194, 77);
constexpr Rect DCfilter = button(237, 68);

// Three-way balance.
constexpr Rect BalanceFrame = Rect::ofSize(5, 110, 146, 131);
constexpr Point Label49{10, 104};
constexpr Rect LeftCaption = under(51, 116);
constexpr Rect CentreCaption = under(83, 116);
constexpr Rect RightCaption = under(115, 116);
constexpr Rect Aymmetry = verticalSlider(51, 129, 93);
constexpr Rect centrecut = verticalSlider(83, 129, 93);
constexpr Rect rightAsym = verticalSlider(115, 129, 93);
constexpr Rect AymmetryLbl = under(51, 224);
constexpr Rect CentreLbl = under(83, 224);
constexpr Rect RightAsymLbl = under(115, 224);

// Bass adjust.
constexpr Rect BassFrame = Rect::ofSize(155, 110, 166, 131);
constexpr Point BassTitle{160, 104};
constexpr Rect BassBypass = button(159, 167);
constexpr Rect FreqCaption = under(224, 118);
constexpr Rect BoostCaption = under(256, 118);
constexpr Rect BassWidthCaption = under(288, 118);
constexpr Rect bassFreq = verticalSlider(224, 131, 90);
constexpr Rect BassLevel = verticalSlider(256, 131, 90);
constexpr Rect BassWidth = verticalSlider(288, 131, 90);
constexpr Rect bassFreqLbl = under(224, 223);
constexpr Rect BassLevelLbl = under(256, 223);
constexpr Rect BassWidthLbl = under(288, 223);

// Delay.
constexpr Rect DelayFrame = Rect::ofSize(5, 245, 316, 51);
constexpr Point DelayLeftCaption{10, 251};
constexpr Rect leftDelay = valueAt(20, 251);
constexpr Rect delayLbl = Rect::ofSize(70, 251, 120, kTextHeight);
constexpr Rect RightDelay = valueAt(200, 251);
constexpr Point DelayRightCaption{243, 251};
constexpr Rect Delay = horizontalSlider(2, 267, 250);
constexpr Rect Pseudo = button(254, 267);

// Output.
constexpr Rect OutputFrame = Rect::ofSize(5, 300, 316, 81);
constexpr Point OutputTitle{11, 303};
constexpr Point BalanceCaption{12, 326};
constexpr Rect Balance = horizontalSlider(62, 321, 135);
constexpr Rect BalanceLbl = valueAt(197, 326);
constexpr Point StrWidthCaption{12, 353};
constexpr Rect StereoWidth = horizontalSlider(62, 348, 135);
constexpr Rect StrWidthLbl = valueAt(197, 353);
constexpr Rect Mono = button(241, 312);
constexpr Rect Bypass = button(241, 345);

// Between the sections.
constexpr Rect DecorationBar1 = bar(98);
constexpr Rect DecorationBar2 = bar(161);
constexpr Rect DecorationBar3 = bar(225);
constexpr Rect DecorationBar4 = bar(256);

// Top bar.
constexpr Rect AutomationCaption = captionOver(325, 4);
constexpr Rect Automation = button(325, 18);
constexpr Rect NiceButton1 = button(391, 18);
constexpr Rect NiceButton2 = button(457, 18);
constexpr Rect MetersCaption = captionOver(523, 4);
constexpr Rect MetersOff = button(523, 18);

// Scope: a sunken frame two pixels deep round the 256 x 256 window.
constexpr Rect ScopeFrame = Rect::ofSize(326, 51, 260, 260);
constexpr Rect DrawPanel = Rect::ofSize(2, 2, 256, 256);  // in ScopeFrame
constexpr Rect PaintBox1 = Rect::ofSize(0, 0, 256, 256);  // in DrawPanel

// Phase.
constexpr Point PhaseCaption{330, 324};
constexpr Rect Phaselbl = Rect::ofSize(424, 324, 36, kTextHeight);
constexpr Point PhaseMinCaption{464, 324};
constexpr Rect PhaseMinLbl = Rect::ofSize(490, 324, 34, kTextHeight);
constexpr Point PhaseMaxCaption{527, 324};
constexpr Rect PhaseMaxLbl = Rect::ofSize(555, 324, 36, kTextHeight);
constexpr Rect PhaseFrame = Rect::ofSize(327, 342, 258, 17);
constexpr Rect PhaseMeter = Rect::ofSize(328, 343, 256, 15);
constexpr Rect PHaseMeterHelper = Rect::ofSize(0, 0, 256, 15);  // in PhaseMeter
constexpr Rect PhaseScale = Rect::ofSize(322, 360, 275, 14);

// Meter column: level scale row r stands at kMeterTop + r.
constexpr int kMeterTop = 58;
constexpr int kMarksLeft = 589;
constexpr int kMarksTop = 49;
constexpr Rect LevelMarks = Rect::ofSize(kMarksLeft, kMarksTop, 723 - kMarksLeft, 308);
constexpr Rect PeakFrame = Rect::ofSize(602, 24, 107, 19);
constexpr Rect PkL = Rect::ofSize(2, 2, 51, 15);   // in PeakFrame
constexpr Rect PkR = Rect::ofSize(54, 2, 51, 15);  // in PeakFrame
constexpr Rect SetMaxAsPeeks = Rect::ofSize(642, 45, 27, 16);
constexpr Rect FaderL = verticalSlider(612, 49, 307);
constexpr Rect meter = Rect::ofSize(645, kMeterTop, 19, 288);
constexpr Rect MeterHelper = Rect::ofSize(0, 0, 19, 288);  // in meter
constexpr Rect FaderR = verticalSlider(674, 49, 307);
constexpr Rect FaderReadoutFrame = Rect::ofSize(604, 358, 107, 19);
constexpr Rect LFdrLVL = Rect::ofSize(2, 2, 51, 15);   // in FaderReadoutFrame
constexpr Rect RFdrLvl = Rect::ofSize(54, 2, 51, 15);  // in FaderReadoutFrame

// Options panel, over the top of the scope; its contents in its coordinates.
constexpr Rect peekpanel = Rect::ofSize(324, 6, 278, 131);
constexpr Point LatencyCaption{8, 6};
constexpr Rect LatencyTB = Rect::ofSize(6, 22, 200, 34);
constexpr Point LatencyLB{212, 30};
constexpr Rect SaveCaption = captionOver(4, 64);
constexpr Rect NiceButton4 = button(4, 80);
constexpr Rect HelpCaption = captionOver(72, 64);
constexpr Rect NiceButton3 = button(72, 80);
constexpr Rect FluorescenceCaption = Rect::ofSize(118, 64, 110, kTextHeight);
constexpr Rect flure = button(140, 80);
constexpr Rect OKCaption = captionOver(208, 64);
constexpr Rect OKA = button(208, 80);

// Save question.
constexpr Rect SavePanel = Rect::ofSize(325, 6, 283, 169);
constexpr Rect Titlelabel = Rect::ofSize(4, 50, 275, 16);
constexpr Rect setBtn = Rect::ofSize(50, 120, 80, 27);
constexpr Rect BitBtn3 = Rect::ofSize(153, 120, 80, 27);

// Reset question.
constexpr Rect ResetOKpanel = Rect::ofSize(324, 6, 283, 169);
constexpr Rect ResetMessage = Rect::ofSize(4, 50, 275, 16);
constexpr Rect ResetAllBtn = Rect::ofSize(50, 120, 80, 27);
constexpr Rect BitBtn4 = Rect::ofSize(153, 120, 80, 27);

}  // namespace widefield::panelLayout
