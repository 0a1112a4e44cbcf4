// DisplayDriverTests.cpp — the displays in a form on the headless backend: the
// display timer, the readouts on their labels, the clicks, SetMaxAsPeeks and
// ResetTimer, with the effect's audio behind them.
#include <gtest/gtest.h>

#include "stereo/DisplayDriver.h"
#include "tests/stereo-display/DisplayFixture.h"
#include "toolkit/Form.h"
#include "toolkit/PaintBox.h"

using namespace widefield;
using widefield::testing::DisplayAudio;
namespace colors = widefield::displayColors;

namespace {

class Driver : public DisplayAudio {
protected:
    Driver() {
        form.openChild(&hostWindow);
        widgets.scopeWindow = &scope;
        widgets.meterWindow = &meter;
        widgets.phaseWindow = &phase;
        widgets.phase = &phaseLbl;
        widgets.phaseMin = &phaseMinLbl;
        widgets.phaseMax = &phaseMaxLbl;
        widgets.peakLeft = &pkL;
        widgets.peakRight = &pkR;
        widgets.setMaxAsPeaks = &setMaxAsPeeks;
        driver = std::make_unique<DisplayDriver>(
            form, widgets, [this] { return effect.get(); }, [this] { return flure; }, [this] { return latency; });
    }
    // Time passes without audio; the window system fires what is due.
    void wait(std::uint32_t ms) {
        for (std::uint32_t t = 0; t < ms; t += 10) {
            clock.advance(10);
            windows.fireDueTimers();
        }
    }
    // Audio plays while the timers run.
    void playWithTimers(int ms, const Signal& signal) { play(ms, signal, [this] { windows.fireDueTimers(); }); }

    toolkit::Form form{windows, 723, 386};
    toolkit::PaintBox scope{&form, toolkit::Rect::ofSize(328, 53, 256, 256)};
    toolkit::PaintBox meter{&form, toolkit::Rect::ofSize(645, 58, 19, 288)};
    toolkit::PaintBox phase{&form, toolkit::Rect::ofSize(328, 343, 256, 15)};
    toolkit::Font font{11, false, toolkit::colors::silver};
    toolkit::Label phaseLbl{&form, 420, 322, "0\xBA", font}, phaseMinLbl{&form, 360, 336, "0\xBA", font},
        phaseMaxLbl{&form, 460, 336, "0\xBA", font};
    toolkit::Label pkL{&form, toolkit::Rect::ofSize(602, 24, 53, 19), "-inf", font};
    toolkit::Label pkR{&form, toolkit::Rect::ofSize(656, 24, 53, 19), "-inf", font};
    toolkit::PaintBox setMaxAsPeeks{&form, toolkit::Rect::ofSize(642, 45, 27, 16)};
    DisplayWidgets widgets;
    std::unique_ptr<DisplayDriver> driver;
    bool flure = true;
    int latency = 0;
};

}  // namespace

TEST_F(Driver, TheDisplayTimerDrainsAndTheLabelsShowTheReadings) {
    playWithTimers(100, constant(0.5f, -0.5f));
    // Drawn every 30 ms without any idle from the host.
    EXPECT_FALSE(driver->displays().tracePoints()[0].x == 0);
    EXPECT_EQ(pkL.text(), "-6.02db");
    EXPECT_EQ(pkR.text(), "-6.02db");
    EXPECT_NE(phaseLbl.text(), "0\xBA");  // moving towards 180
    EXPECT_EQ(phaseMaxLbl.text(), phaseLbl.text());
    EXPECT_EQ(phaseMinLbl.text(), "0\xBA");
    EXPECT_EQ(pkL.color(), toolkit::colors::black);
    // A hold above 0 dB turns its readout red, and it stays red.
    playWithTimers(40, constant(1.5f, 0.5f));
    EXPECT_EQ(pkL.text(), "3.52db");
    EXPECT_EQ(pkL.color(), colors::overload);
    EXPECT_EQ(pkR.color(), toolkit::colors::black);
    playWithTimers(100, constant(0.1f, 0.1f));
    EXPECT_EQ(pkL.color(), colors::overload);
}

TEST_F(Driver, TheReadoutsResetOnceAboutASecondAfterOpening) {
    playWithTimers(900, constant(0.5f, 0.5f));
    EXPECT_EQ(effect->meterReadings().peakHoldLeft, 0.5f);
    playWithTimers(150, constant(0.0f, 0.0f));
    // The reset came at 1000 ms: the hold follows the falling peak since.
    EXPECT_LT(effect->meterReadings().peakHoldLeft, 0.1f);
    EXPECT_FALSE(driver->resetTimer().enabled());
    // Once only.
    playWithTimers(100, constant(0.75f, 0.75f));
    wait(2000);
    EXPECT_EQ(effect->meterReadings().peakHoldLeft, 0.75f);
    EXPECT_EQ(pkL.text(), "-2.50db");
}

TEST_F(Driver, SetMaxAsPeeksScalesTheGainsAndResetsThePeaksAfterTheLatency) {
    wait(1100);  // past the first reset
    latency = 200;
    driver->SetMaxAsPeeksClick();  // nothing seen yet: nothing happens
    EXPECT_TRUE(setMaxAsPeeks.enabled());
    EXPECT_EQ(effect->gain(false), 1.0f);
    playWithTimers(40, constant(0.5f, 0.25f));
    ASSERT_EQ(driver->displays().maxPeak(), 0.5f);
    driver->SetMaxAsPeeksClick();
    EXPECT_FLOAT_EQ(effect->gain(false), 1.998f);
    EXPECT_FLOAT_EQ(effect->gain(true), 1.998f);
    EXPECT_FALSE(setMaxAsPeeks.enabled());
    // Disabled for the latency plus 50 ms, then the readouts are reset.
    wait(240);
    EXPECT_FALSE(setMaxAsPeeks.enabled());
    EXPECT_GT(effect->meterReadings().peakHoldLeft, 0.0f);
    wait(20);
    EXPECT_TRUE(setMaxAsPeeks.enabled());
    EXPECT_EQ(effect->meterReadings().peakHoldLeft, 0.0f);
    EXPECT_EQ(driver->displays().maxPeak(), StereoDisplays::kResetPeak);
}

TEST_F(Driver, ClicksClearTheScopeAndResetThePhaseRangeAndThePeaks) {
    playWithTimers(200, DisplayAudio::sine(1.5f, -1.0f, 441.0, 44100.0));
    ASSERT_EQ(pkL.color(), colors::overload);
    // The scope: one faint trace on a fresh graticule.
    driver->PaintBox1DblClick();
    const toolkit::Image& image = driver->displays().scopeImage();
    int faint = 0, glow = 0;
    for (toolkit::Pixel p : image.pixels) {
        faint += p == colors::clearedAfterglow;
        glow += p == colors::afterglow;
    }
    EXPECT_GT(faint, 100);
    EXPECT_EQ(glow, 0);
    // The phase strip: the range closes on the present value.
    driver->PHaseMeterHelperClick();
    EXPECT_EQ(effect->meterReadings().phaseMin, effect->meterReadings().phaseCorrelation);
    wait(30);
    EXPECT_EQ(phaseMinLbl.text(), phaseLbl.text());
    EXPECT_EQ(phaseMaxLbl.text(), phaseLbl.text());
    // The readouts: black at once, "-inf" at the next drain.
    driver->PkLClick();
    EXPECT_EQ(pkL.color(), toolkit::colors::black);
    EXPECT_EQ(effect->meterReadings().peakHoldLeft, 0.0f);
    wait(30);
    EXPECT_EQ(pkL.text(), "-inf");
    EXPECT_EQ(pkR.text(), "-inf");
}
