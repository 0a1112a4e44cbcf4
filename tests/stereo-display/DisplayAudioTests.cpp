// DisplayAudioTests.cpp — real audio through the effect, drained on the
// user-interface side as the panel drains it.
//
//   shapes          mono, left only, antiphase and a 90 degree pair on the scope
//   drain           a drain's traces drawn as one by one; every meter record counts;
//                   the windows on the headless backend show the surfaces
//   rings           1000 ms at 44.1, 96 and 192 kHz: a marker in the audio is
//                   shown a second later, by the scope and by the meters; above
//                   192 kHz the latency is limited to what the rings hold
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "tests/stereo-display/DisplayFixture.h"
#include "toolkit/Form.h"
#include "toolkit/PaintBox.h"
#include "toolkit/Png.h"

using namespace widefield;
using widefield::testing::DisplayAudio;
using widefield::testing::kPi;
using toolkit::Image;
using toolkit::Pixel;
namespace colors = widefield::displayColors;

namespace {

std::vector<std::pair<int, int>> pixelsOf(const Image& image, Pixel color) {
    std::vector<std::pair<int, int>> found;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.at(x, y) == color) found.push_back({x, y});
    return found;
}

}  // namespace

TEST_F(DisplayAudio, MonoIsTheVerticalLineThroughTheCentre) {
    play(100, sine(1.0f, 1.0f, 441.0, 44100.0));
    displays.drain(editor(), false);
    // From (128,0) to (128,256): the whole column, nothing beside it.
    const auto trace = pixelsOf(displays.scopeImage(), colors::trace);
    EXPECT_EQ(trace.size(), 256u);
    for (const auto& p : trace) EXPECT_EQ(p.first, 128);
}

TEST_F(DisplayAudio, LeftOnlyRunsAlongTheUpperLeftAxis) {
    play(100, sine(1.0f, 0.0f, 441.0, 44100.0));
    displays.drain(editor(), false);
    const auto trace = pixelsOf(displays.scopeImage(), colors::trace);
    for (const auto& p : trace) EXPECT_EQ(p.first, p.second);
    EXPECT_EQ(trace.front(), std::make_pair(64, 64));  // the arrowhead's end: full scale on the left
    EXPECT_EQ(trace.size(), 129u);                     // (64,64) to (192,192)
}

TEST_F(DisplayAudio, AntiphaseIsHorizontal) {
    play(100, sine(1.0f, -1.0f, 441.0, 44100.0));
    displays.drain(editor(), false);
    const auto trace = pixelsOf(displays.scopeImage(), colors::trace);
    EXPECT_EQ(trace.size(), 256u);
    for (const auto& p : trace) EXPECT_EQ(p.second, 128);
}

TEST_F(DisplayAudio, NinetyDegreePairDrawsACircle) {
    play(100, sine(0.7f, 0.7f, 441.0, 44100.0, kPi / 2.0));
    displays.drain(editor(), true);
    const double radius = 64.0 * 0.7 * std::sqrt(2.0);
    int quadrants[4] = {};
    for (const auto& p : pixelsOf(displays.scopeSurface(), colors::trace)) {
        const double dx = p.first - 128.0, dy = p.second - 128.0;
        EXPECT_NEAR(std::hypot(dx, dy), radius, 1.5) << p.first << "," << p.second;
        ++quadrants[(dx >= 0 ? 1 : 0) + (dy >= 0 ? 2 : 0)];
    }
    for (int q : quadrants) EXPECT_GT(q, 70);
    EXPECT_TRUE(toolkit::savePng(displays.scopeSurface(), std::string(DISPLAY_TEST_OUTPUT_DIR) + "/scope_90.png"));
}

TEST_F(DisplayAudio, ADrainDrawsItsTracesAsSingleDrawingsWould) {
    std::vector<std::int32_t> positions;
    // A turning, swelling figure, so every trace differs.
    const Signal swelling = [](long n) {
        const double t = 2.0 * kPi * 300.0 * n / 44100.0, a = 0.2 + 0.8 * n / 9000.0;
        return std::pair<float, float>(static_cast<float>(a * std::sin(t)), static_cast<float>(a * std::sin(1.3 * t)));
    };
    play(160, swelling, [&] { positions.push_back(effect->scopeReadPosition()); });
    ASSERT_EQ(positions.size(), 16u);
    const StereoDisplays::Drained drained = displays.drain(editor(), true);
    EXPECT_EQ(drained.scopes, 16u);
    StereoDisplays oneByOne;
    for (std::size_t i = 0; i < positions.size(); ++i)
        oneByOne.drawScope(positions[i], effect->scopePoints(), StereoCapture::kScopeSize, true);
    EXPECT_EQ(displays.scopeImage().pixels, oneByOne.scopeImage().pixels);
    EXPECT_EQ(displays.scopeSurface().pixels, oneByOne.scopeSurface().pixels);
    // Without fluorescence only the last one shows.
    play(30, swelling, [&] { positions.push_back(effect->scopeReadPosition()); });
    displays.drain(editor(), false);
    StereoDisplays last;
    last.drawScope(positions.back(), effect->scopePoints(), StereoCapture::kScopeSize, false);
    EXPECT_EQ(displays.scopeSurface().pixels, last.scopeSurface().pixels);
}

TEST_F(DisplayAudio, EveryDrainedMeterRecordCountsForTheReadouts) {
    play(20, constant(1.5f, 0.25f));
    // The host resets the holds before the panel drains: the hold above 0 dB
    // was still seen.
    effect->setParameter(ADoubler::kResetPeakHolds, 1.0f);
    const StereoDisplays::Drained drained = displays.drain(editor(), true);
    EXPECT_GE(drained.meters, 2u);
    EXPECT_EQ(displays.texts().peakLeft, "-inf");
    EXPECT_TRUE(displays.texts().peakLeftRed);
    EXPECT_FALSE(displays.texts().peakRightRed);
    EXPECT_EQ(displays.maxPeak(), 1.5f);
}

TEST_F(DisplayAudio, TheWindowsShowTheSurfacesOnTheHeadlessBackend) {
    toolkit::Form form(windows, 723, 386);
    toolkit::PaintBox scope(&form, toolkit::Rect::ofSize(328, 53, 256, 256));
    toolkit::PaintBox meter(&form, toolkit::Rect::ofSize(645, 58, 19, 288));
    toolkit::PaintBox phase(&form, toolkit::Rect::ofSize(328, 343, 256, 15));
    scope.onPaint = [&](toolkit::Canvas& c) { displays.paintScope(c); };
    meter.onPaint = [&](toolkit::Canvas& c) { displays.paintMeter(c); };
    phase.onPaint = [&](toolkit::Canvas& c) { displays.paintPhase(c); };
    displays.attach(&scope, &meter, &phase);
    form.openChild(&hostWindow);
    platform::HeadlessWindow* window = windows.windowOf(form.window()->nativeHandle());
    ASSERT_NE(window, nullptr);
    window->paintNow();
    play(60, sine(0.9f, 0.5f, 441.0, 44100.0, kPi / 3.0));
    displays.drain(editor(), true);
    EXPECT_TRUE(window->needsPaint());
    windows.idle();
    const Image& shown = window->lastImage();
    const auto matches = [&](const Image& surface, int left, int top) {
        for (int y = 0; y < surface.height; ++y)
            for (int x = 0; x < surface.width; ++x)
                if (shown.at(left + x, top + y) != surface.at(x, y)) return false;
        return true;
    };
    EXPECT_TRUE(matches(displays.scopeSurface(), 328, 53));
    EXPECT_TRUE(matches(displays.meterSurface(), 645, 58));
    EXPECT_TRUE(matches(displays.phaseSurface(), 328, 343));
    EXPECT_FALSE(pixelsOf(displays.meterSurface(), colors::level).empty());
    form.closeWindow();
}

// The marker: 10 ms of (0.5, -0.25), the scope point (80, 112), among silence.
class RingAtRate : public DisplayAudio, public ::testing::WithParamInterface<double> {
protected:
    struct Seen {
        int scopeMs = -1;
        int metersMs = -1;
    };
    // Plays silence, the marker, then silence for 1.5 s, draining after every
    // block; returns when the scope and the meters first showed the marker,
    // in ms after the marker's block.
    Seen markerSeen(std::int32_t latencyMs) {
        effect->setSampleRate(static_cast<float>(GetParam()));
        effect->setParameter(ADoubler::kSetLatency, static_cast<float>(latencyMs));
        play(300, constant(0.0f, 0.0f));
        displays.drain(editor(), false);
        play(10, constant(0.5f, -0.25f));
        Seen seen;
        int ms = 0;
        play(1500, constant(0.0f, 0.0f), [&] {
            ms += 10;
            displays.drain(editor(), false);
            for (const auto& p : displays.tracePoints())
                if (seen.scopeMs < 0 && p.x == 80 && p.y == 112) seen.scopeMs = ms;
            if (seen.metersMs < 0 && effect->meterReadings().peakHoldLeft == 0.5f) seen.metersMs = ms;
        });
        return seen;
    }
};

TEST_P(RingAtRate, AMarkerIsShownOneSecondLater) {
    const Seen seen = markerSeen(1000);
    // Shown once the display position reaches the marker's block, and not before.
    EXPECT_GE(seen.scopeMs, 990);
    EXPECT_LE(seen.scopeMs, 1010);
    EXPECT_GE(seen.metersMs, 990);
    EXPECT_LE(seen.metersMs, 1030);
}

INSTANTIATE_TEST_SUITE_P(Rates, RingAtRate, ::testing::Values(44100.0, 96000.0, 192000.0));

class RingAboveTheLimit : public RingAtRate {};

TEST_P(RingAboveTheLimit, LatencyIsLimitedToWhatTheRingsHold) {
    const std::int32_t limit = limitedLatency(1000, GetParam());
    ASSERT_LT(limit, 1000);
    const Seen seen = markerSeen(1000);
    EXPECT_GE(seen.scopeMs, limit - 10);
    EXPECT_LE(seen.scopeMs, limit + 10);
    EXPECT_GE(seen.metersMs, limit - 10);
    EXPECT_LE(seen.metersMs, limit + 30);
}

INSTANTIATE_TEST_SUITE_P(HighRates, RingAboveTheLimit, ::testing::Values(384000.0));

TEST(RingLimits, NoLimitUpToOneSecondAt192kHzAndTheInstanceStaysSmall) {
    for (double rate : {44100.0, 48000.0, 96000.0, 192000.0}) EXPECT_EQ(limitedLatency(1000, rate), 1000) << rate;
    EXPECT_EQ(limitedLatency(-5, 44100.0), 0);
    EXPECT_EQ(limitedLatency(1000, 384000.0), 387);
    // Behind a 1000 ms display position at 192 kHz: a trace, two blocks of
    // 8192 frames and 250 ms of drawing lag.
    EXPECT_GE(StereoCapture::kScopeSize, 192000 + kTraceLength + kAnalysisReserve + 48000);
    EXPECT_LE(sizeof(ADoubler), 4u * 1024u * 1024u);
}
