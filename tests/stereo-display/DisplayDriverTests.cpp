// DisplayDriverTests.cpp — the displays in Widefield's panel on the headless
// backend, with the effect's audio behind them: the display timer and the
// editor's idle, the readouts on their labels, clicks through the window,
// SetMaxAsPeeks and ResetTimer, and the reset-all question.
#include <gtest/gtest.h>

#include "stereo/DisplayDriver.h"
#include "stereo/uStereoMeter.h"
#include "tests/stereo-display/DisplayFixture.h"

using namespace widefield;
using widefield::testing::DisplayAudio;
using widefield::testing::DisplayPanel;
namespace colors = widefield::displayColors;

namespace {

using PanelDisplays = DisplayPanel;

}  // namespace

TEST_F(PanelDisplays, TheDisplayTimerDrainsAndTheLabelsShowTheReadings) {
    playWithTimers(100, constant(0.5f, -0.5f));
    // Drawn every 30 ms without any idle from the host.
    EXPECT_EQ(displays().tracePoints()[0].x, 64);
    EXPECT_EQ(form.PkL.text(), "-6.02db");
    EXPECT_EQ(form.PkR.text(), "-6.02db");
    EXPECT_NE(form.Phaselbl.text(), "0\xBA");  // moving towards 180
    EXPECT_EQ(form.PhaseMaxLbl.text(), form.Phaselbl.text());
    EXPECT_EQ(form.PhaseMinLbl.text(), "0\xBA");
    EXPECT_EQ(form.PkL.color(), toolkit::colors::black);
    // A hold above 0 dB turns its readout red, and it stays red.
    playWithTimers(40, constant(1.5f, 0.5f));
    EXPECT_EQ(form.PkL.text(), "3.52db");
    EXPECT_EQ(form.PkL.color(), colors::overload);
    EXPECT_EQ(form.PkR.color(), toolkit::colors::black);
    playWithTimers(100, constant(0.1f, 0.1f));
    EXPECT_EQ(form.PkL.color(), colors::overload);
    // The window shows the surfaces.
    window().paintNow();
    const toolkit::Image& shown = window().lastImage();
    const toolkit::Image& scope = displays().scopeSurface();
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) ASSERT_EQ(shown.at(328 + x, 53 + y), scope.at(x, y)) << x << "," << y;
}

TEST_F(PanelDisplays, TheEditorsIdleDrainsToo) {
    play(60, constant(0.25f, 0.25f));
    editor().idle();
    EXPECT_EQ(form.PkL.text(), "-12.00db");
    EXPECT_EQ(editor().drainScope([](const ScopeRecord&) {}), 0u);
}

TEST_F(PanelDisplays, TheReadoutsResetOnceAboutASecondAfterOpening) {
    playWithTimers(900, constant(0.5f, 0.5f));
    EXPECT_EQ(effect->meterReadings().peakHoldLeft, 0.5f);
    playWithTimers(150, constant(0.0f, 0.0f));
    // The reset came at 1000 ms: the hold follows the falling peak since.
    EXPECT_LT(effect->meterReadings().peakHoldLeft, 0.1f);
    EXPECT_FALSE(form.displays.resetTimer().enabled());
    // Once only.
    playWithTimers(100, constant(0.75f, 0.75f));
    wait(2000);
    EXPECT_EQ(effect->meterReadings().peakHoldLeft, 0.75f);
    EXPECT_EQ(form.PkL.text(), "-2.50db");
}

TEST_F(PanelDisplays, SetMaxAsPeeksScalesTheGainsAndResetsThePeaksAfterTheLatency) {
    wait(1100);  // past the first reset
    form.LatencyTB.setPosition(200);
    ASSERT_EQ(effect->latency(), 200);
    click(form.SetMaxAsPeeks);  // nothing seen yet: nothing happens
    EXPECT_TRUE(form.SetMaxAsPeeks.enabled());
    EXPECT_EQ(effect->gain(false), 1.0f);
    playWithTimers(300, constant(0.5f, 0.25f));
    ASSERT_EQ(displays().maxPeak(), 0.5f);
    click(form.SetMaxAsPeeks);
    EXPECT_FLOAT_EQ(effect->gain(false), 1.998f);
    EXPECT_FLOAT_EQ(effect->gain(true), 1.998f);
    EXPECT_FALSE(form.SetMaxAsPeeks.enabled());
    // The faders follow at the next refresh.
    editor().idle();
    EXPECT_LT(form.FaderL.position(), 69);
    // Disabled for the latency plus 50 ms, then the readouts are reset.
    wait(240);
    EXPECT_FALSE(form.SetMaxAsPeeks.enabled());
    EXPECT_GT(effect->meterReadings().peakHoldLeft, 0.0f);
    wait(20);
    EXPECT_TRUE(form.SetMaxAsPeeks.enabled());
    EXPECT_EQ(effect->meterReadings().peakHoldLeft, 0.0f);
    EXPECT_EQ(displays().maxPeak(), StereoDisplays::kResetPeak);
}

TEST_F(PanelDisplays, ClicksClearTheScopeAndResetThePhaseRangeAndThePeaks) {
    playWithTimers(200, DisplayAudio::sine(1.5f, -1.0f, 441.0, 44100.0));
    ASSERT_EQ(form.PkL.color(), colors::overload);
    // The scope: one faint trace on a fresh graticule.
    click(form.PaintBox1);
    int faint = 0, glow = 0;
    for (toolkit::Pixel p : displays().scopeImage().pixels) {
        faint += p == colors::clearedAfterglow;
        glow += p == colors::afterglow;
    }
    EXPECT_GT(faint, 100);
    EXPECT_EQ(glow, 0);
    // The phase strip: the range closes on the present value.
    click(form.PHaseMeterHelper);
    EXPECT_EQ(effect->meterReadings().phaseMin, effect->meterReadings().phaseCorrelation);
    wait(30);
    EXPECT_EQ(form.PhaseMinLbl.text(), form.Phaselbl.text());
    EXPECT_EQ(form.PhaseMaxLbl.text(), form.Phaselbl.text());
    // The readouts: black at once, "-inf" at the next drain.
    click(form.PkR);
    EXPECT_EQ(form.PkL.color(), toolkit::colors::black);
    EXPECT_EQ(effect->meterReadings().peakHoldLeft, 0.0f);
    wait(30);
    EXPECT_EQ(form.PkL.text(), "-inf");
    EXPECT_EQ(form.PkR.text(), "-inf");
}

TEST_F(PanelDisplays, ResetAllClearsTheScopeThePhaseRangeAndThePeaks) {
    playWithTimers(200, DisplayAudio::sine(1.5f, 0.2f, 441.0, 44100.0));
    ASSERT_EQ(form.PkL.color(), colors::overload);
    click(form.NiceButton2);
    click(form.ResetAllBtn);
    EXPECT_EQ(form.PkL.color(), toolkit::colors::black);
    EXPECT_EQ(displays().maxPeak(), StereoDisplays::kResetPeak);
    EXPECT_EQ(effect->meterReadings().phaseMax, effect->meterReadings().phaseCorrelation);
    int glow = 0;
    for (toolkit::Pixel p : displays().scopeImage().pixels) glow += p == colors::afterglow;
    EXPECT_EQ(glow, 0);
}
