// PanelRenderTests.cpp — Widefield's panel playing what `plughost editor` plays
// for the real-window checks (a 90 degree pair at 689.0625 Hz, amplitude 0.7,
// 512-frame blocks, 3 s, the host idling every 30 ms), rendered on the headless
// backend: the pictures the X11 and Win32 windows must equal, and what they show.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "stereo/LevelScale.h"
#include "stereo/uStereoMeter.h"
#include "tests/stereo-display/DisplayFixture.h"
#include "toolkit/Png.h"
#include "tools/plughost/TestSignals.h"

using namespace widefield;
using widefield::testing::DisplayPanel;
namespace colors = widefield::displayColors;

namespace {

class PanelRender : public DisplayPanel {
protected:
    PanelRender() {
        effect->setParameter(ADoubler::kSetLatency, 750.0f);  // the default a fresh host has
        plughost::Options options;
        options.signal = "quadrature";
        options.sineHz = 689.0625;
        options.sineAmplitude = 0.7;
        std::string error;
        EXPECT_TRUE(plughost::makeSignalSource(options, source, error)) << error;
    }
    // The host's audio and idle, one clock: blocks of 512 frames; an idle every
    // 30 ms; `onTime` once at `atMs`; 100 ms of idles after the audio.
    void playAsThePlugHostDoes(double seconds, double atMs = -1.0, const std::function<void()>& onTime = {}) {
        const int frames = 512;
        std::vector<float> l(frames), r(frames), outL(frames), outR(frames);
        const long long total = std::llround(seconds * 44100.0);
        double nextIdle = 30.0;
        bool done = false;
        for (long long frame = 0; frame < total; frame += frames) {
            float* channels[2] = {l.data(), r.data()};
            source.fill(channels, 2, frames, frame);
            float* outs[2] = {outL.data(), outR.data()};
            effect->processReplacing(channels, outs, frames);
            const double ms = 1000.0 * static_cast<double>(frame + frames) / 44100.0;
            clock.set(start + static_cast<std::uint32_t>(ms));
            if (ms >= nextIdle) {
                nextIdle += 30.0;
                editor().idle();
            }
            if (!done && atMs >= 0.0 && ms >= atMs && onTime) {
                onTime();
                done = true;
            }
        }
        for (int i = 0; i < 4; ++i) {
            clock.advance(30);
            editor().idle();
        }
        window().paintNow();
    }

    plughost::SignalSource source;
    const std::uint32_t start = clock.milliseconds();
};

// BRISORA_ZOOM set before the fixture opens the panel, as plughost editor
// --zoom sets it, and taken away after the test.
struct ZoomEnvironment {
    explicit ZoomEnvironment(const char* percent) { setenv("BRISORA_ZOOM", percent, 1); }
    ~ZoomEnvironment() { unsetenv("BRISORA_ZOOM"); }
};

class PanelRenderAtTwoHundred : private ZoomEnvironment, public PanelRender {
protected:
    PanelRenderAtTwoHundred() : ZoomEnvironment("200") {}
};

// 175 %: the largest level at which the panel (1265 x 675) fits the 1280 x 1024
// screen the Wine checks share.
class PanelRenderAtOneSeventyFive : private ZoomEnvironment, public PanelRender {
protected:
    PanelRenderAtOneSeventyFive() : ZoomEnvironment("175") {}
};

}  // namespace

TEST_F(PanelRender, ANinetyDegreePairShowsTheCircleSteadyMetersAndNinetyDegrees) {
    playAsThePlugHostDoes(3.0);
    // The circle of radius 64 x 0.7 x sqrt(2), bright, on the graticule.
    const toolkit::Image& shown = window().lastImage();
    int onCircle = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            if (shown.at(328 + x, 53 + y) == colors::trace) {
                EXPECT_NEAR(std::hypot(x - 128.0, y - 128.0), 64.0 * 0.7 * std::sqrt(2.0), 1.5) << x << "," << y;
                ++onCircle;
            }
    EXPECT_GT(onCircle, 300);
    // Half the samples differ in sign: 90 degrees, steady, the range from 0 to it.
    EXPECT_EQ(form.Phaselbl.text(), "90\xBA");
    EXPECT_EQ(form.PhaseMaxLbl.text(), "90\xBA");
    EXPECT_EQ(form.PhaseMinLbl.text(), "0\xBA");
    // Both peaks at 0.7 cos(pi / 64): -3.11 dB, the bars from the row of that level.
    EXPECT_EQ(form.PkL.text(), "-3.11db");
    EXPECT_EQ(form.PkR.text(), "-3.11db");
    const int top = levelRow(0.7 * std::cos(3.14159265358979323846 / 64.0)) + 1;
    EXPECT_EQ(shown.at(645 + 4, 58 + top), colors::level);
    EXPECT_EQ(shown.at(645 + 4, 58 + top - 1), colors::background);
    EXPECT_EQ(shown.at(645 + 13, 58 + top), colors::level);
    EXPECT_TRUE(toolkit::savePng(window().lastImage(), std::string(DISPLAY_TEST_OUTPUT_DIR) + "/widefield-quadrature.png"));
}

TEST_F(PanelRenderAtTwoHundred, ANinetyDegreePairAtTwoHundredPercent) {
    playAsThePlugHostDoes(3.0);
    const toolkit::Image& shown = window().lastImage();
    ASSERT_EQ(shown.width, 1446);
    ASSERT_EQ(shown.height, 772);
    EXPECT_EQ(form.Phaselbl.text(), "90\xBA");
    // The meters' bars start at the doubled row of their level.
    const int top = levelRow(0.7 * std::cos(3.14159265358979323846 / 64.0)) + 1;
    EXPECT_EQ(shown.at(2 * (645 + 4), 2 * (58 + top)), colors::level);
    EXPECT_EQ(shown.at(2 * (645 + 4) + 1, 2 * (58 + top) - 1), colors::background);
    EXPECT_TRUE(toolkit::savePng(shown, std::string(DISPLAY_TEST_OUTPUT_DIR) + "/widefield-quadrature-200.png"));
}

TEST_F(PanelRenderAtOneSeventyFive, ANinetyDegreePairAtOneSeventyFivePercent) {
    playAsThePlugHostDoes(3.0);
    ASSERT_EQ(window().lastImage().width, 1265);
    ASSERT_EQ(window().lastImage().height, 675);
    EXPECT_EQ(form.Phaselbl.text(), "90\xBA");
    EXPECT_TRUE(toolkit::savePng(window().lastImage(), std::string(DISPLAY_TEST_OUTPUT_DIR) + "/widefield-quadrature-175.png"));
}

TEST_F(PanelRender, TheOptionsOpenedOverTheLiveScope) {
    // The "i" button pressed while the pair plays, as the real-window check does.
    playAsThePlugHostDoes(3.0, 750.0, [this] { click(form.NiceButton1); });
    ASSERT_TRUE(form.peekpanel.visible());
    EXPECT_TRUE(toolkit::savePng(window().lastImage(), std::string(DISPLAY_TEST_OUTPUT_DIR) + "/widefield-quadrature-options.png"));
}
