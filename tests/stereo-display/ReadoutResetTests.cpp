// ReadoutResetTests.cpp — what a reset of the displays leaves, whatever was
// still on its way from the audio thread, and what a paint request shows.
//
//   peak resets   meter records queued before a click on the readouts, and
//                 SetMaxAsPeeks pressed twice while audio above 0 dB plays
//                 through the display latency
//   repaint       a paint request after a click on the scope shows the trace
#include <gtest/gtest.h>

#include <cmath>

#include "stereo/DisplayDriver.h"
#include "stereo/uStereoMeter.h"
#include "tests/stereo-display/DisplayFixture.h"

using namespace widefield;
using widefield::testing::DisplayPanel;
namespace colors = widefield::displayColors;

namespace {

class ReadoutResets : public DisplayPanel {
protected:
    bool anyRed() { return form.PkL.color() == colors::overload || form.PkR.color() == colors::overload; }
    static double db(float gain) { return 20.0 * std::log10(static_cast<double>(gain)); }
};

}  // namespace

TEST_F(ReadoutResets, RecordsQueuedAtTheClickDoNotCountAfterIt) {
    wait(1100);  // past the reset a second after opening
    playWithTimers(100, constant(1.5f, 0.5f));
    ASSERT_EQ(form.PkL.color(), colors::overload);
    // More of the same, handed over but not drawn yet when the readouts are clicked.
    play(40, constant(1.5f, 0.5f));
    click(form.PkL);
    EXPECT_FALSE(anyRed());
    form.drainDisplays();
    EXPECT_EQ(form.PkL.text(), "-inf");
    EXPECT_FALSE(anyRed());
    EXPECT_EQ(displays().maxPeak(), StereoDisplays::kResetPeak);
    // What the audio brings after the reset counts again.
    playWithTimers(40, constant(1.5f, 0.5f));
    EXPECT_EQ(form.PkL.color(), colors::overload);
    EXPECT_EQ(displays().maxPeak(), 1.5f);
}

TEST_F(ReadoutResets, SetMaxAsPeeksTwiceScalesOnlyOnce) {
    // The reset comes between two drains of the display timer, with records
    // of the loud audio still queued.
    form.LatencyTB.setPosition(215);
    wait(1100);
    // Blocks of 64 frames: the decaying peak has settled on the scaled level
    // by the time the readouts are reset.
    const auto playing = [this](int ms) {
        playInBlocks(64, ms, constant(1.2f, 0.6f), [this] { windows.fireDueTimers(); });
    };
    playing(400);
    ASSERT_EQ(displays().maxPeak(), 1.2f);
    click(form.SetMaxAsPeeks);
    const float left = effect->gain(false), right = effect->gain(true);
    EXPECT_NEAR(db(left), db(0.999f / 1.2f), 0.001);
    // The scaled audio reaches the display before the reset, 250 ms later.
    playing(600);
    ASSERT_TRUE(form.SetMaxAsPeeks.enabled());
    EXPECT_FALSE(anyRed());
    EXPECT_LT(displays().maxPeak(), 1.0f);
    click(form.SetMaxAsPeeks);
    EXPECT_LT(std::fabs(db(effect->gain(false)) - db(left)), 0.1);
    EXPECT_LT(std::fabs(db(effect->gain(true)) - db(right)), 0.1);
}

TEST_F(ReadoutResets, APaintRequestAfterAScopeClickShowsTheTrace) {
    playWithTimers(100, DisplayAudio::sine(0.7f, 0.7f, 441.0, 44100.0, widefield::testing::kPi / 2.0));
    click(form.PaintBox1);
    window().paintNow();
    const toolkit::Rect scope = form.PaintBox1.formBounds();
    const auto brightPixels = [&] {
        int count = 0;
        const toolkit::Image& shown = window().lastImage();
        for (int y = scope.top; y < scope.bottom; ++y)
            for (int x = scope.left; x < scope.right; ++x) count += shown.at(x, y) == colors::trace;
        return count;
    };
    // The click's copy shows the fresh graticule.
    EXPECT_EQ(brightPixels(), 0);
    // Every point of the trace inside `area` (form coordinates) shown bright,
    // but the last, which a line leaves out.
    const auto traceShownIn = [&](const toolkit::Rect& area) {
        const toolkit::Image& shown = window().lastImage();
        const auto& trace = displays().tracePoints();
        int points = 0, bright = 0;
        for (std::size_t i = 0; i + 1 < trace.size(); ++i) {
            const int x = scope.left + trace[i].x, y = scope.top + trace[i].y;
            if (x < area.left || x >= area.right || y < area.top || y >= area.bottom) continue;
            ++points;
            bright += shown.at(x, y) == colors::trace;
        }
        return points > 50 && bright == points;
    };
    // The options panel comes and goes over the scope's top: the paint
    // request for what it uncovers draws the kept trace over the image.
    click(form.NiceButton1);
    window().paintNow();
    click(form.OKA);
    window().paintNow();
    EXPECT_TRUE(traceShownIn(form.peekpanel.formBounds().intersect(scope)));
    // A paint request of the whole panel shows it everywhere.
    form.invalidate();
    window().paintNow();
    EXPECT_TRUE(traceShownIn(scope));
}
