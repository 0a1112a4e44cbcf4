// DisplayPixelTests.cpp — the scope, phase strip and level bars pixel for pixel,
// from scope rings and readings made by hand.
//
//   graticule            every pixel of the axes, arrowheads and diamond
//   traces               newest 1024 points backwards over the ring's start;
//                        fluorescence off and on; clearing; repainting
//   phase strip          markers, their columns and the copy at (1,1)
//   readouts and bars    texts, red backgrounds, maxPeak, bar rows and colours
//   commands             peak reset, normalisation of the gains
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <utility>

#include "stereo/StereoDisplays.h"
#include "tests/stereo/EffectFixture.h"
#include "toolkit/Png.h"

using namespace widefield;
using toolkit::Image;
using toolkit::Pixel;
namespace colors = widefield::displayColors;

namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet pixelsOf(const Image& image, Pixel color) {
    PixelSet set;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.at(x, y) == color) set.insert({x, y});
    return set;
}

// A scope ring of `size` points (the effect's are large: on the heap).
struct Ring {
    explicit Ring(std::int32_t size) : size(size), points(new ScopePoint[static_cast<std::size_t>(size)]) {}
    void set(std::int32_t i, int x, int y) {
        points[i].x.store(static_cast<std::int16_t>(x));
        points[i].y.store(static_cast<std::int16_t>(y));
    }
    std::int32_t size;
    std::unique_ptr<ScopePoint[]> points;
};

// A ring holding two different zig-zag traces ending at 1023 and 3000.
Ring twoTraces() {
    Ring ring(4096);
    for (std::int32_t i = 0; i < 4096; ++i) ring.set(i, 40 + (i * 7) % 170, i < 2000 ? 30 + (i % 5) * 9 : 200 - (i % 3) * 20);
    return ring;
}

MeterReadings readings(float phase, float phaseMax, float phaseMin, float peakLeft, float peakRight, float holdLeft,
                       float holdRight) {
    return MeterReadings{phase, phaseMax, phaseMin, peakLeft, peakRight, holdLeft, holdRight};
}

}  // namespace

TEST(ScopeGraticule, AxesArrowheadsAndDiamond) {
    StereoDisplays displays;
    displays.drawGraticule();
    PixelSet axes, diamond;
    for (int k = 64; k <= 192; ++k) axes.insert({k, k});          // left channel's axis
    for (int k = 64; k <= 192; ++k) axes.insert({k, 256 - k});    // right channel's axis
    for (int k = 64; k <= 69; ++k) axes.insert({k, 64});          // arrowhead at (64,64): 65..69 and back
    for (int k = 64; k <= 68; ++k) axes.insert({64, k});          // down to 68: the end point is left out
    for (int k = 187; k <= 192; ++k) axes.insert({k, 64});
    for (int k = 64; k <= 68; ++k) axes.insert({192, k});
    for (int k = 0; k < 128; ++k) {
        diamond.insert({k, 128 + k});        // (0,128) to (128,256)
        diamond.insert({128 - k, k});        // (128,0) to (0,128)
        if (k > 0) diamond.insert({128 + k, 256 - k});  // (128,256) to (256,128); row 256 is outside
        if (k > 0) diamond.insert({256 - k, 128 - k});  // (256,128) to (128,0); column 256 is outside
    }
    // The axes end on the diamond, which is drawn over them.
    for (const auto& p : diamond) axes.erase(p);
    EXPECT_EQ(pixelsOf(displays.scopeImage(), colors::axes), axes);
    EXPECT_EQ(pixelsOf(displays.scopeImage(), colors::diamond), diamond);
    EXPECT_EQ(pixelsOf(displays.scopeImage(), colors::background).size(), 256u * 256u - axes.size() - diamond.size());
}

TEST(ScopeTrace, NewestThousandPointsBackwardsOverTheRingStart) {
    Ring ring(5000);
    for (std::int32_t i = 0; i < 5000; ++i) ring.set(i, i % 256, i / 256);
    StereoDisplays displays;
    displays.drawScope(10, ring.points.get(), ring.size, false);
    const auto& trace = displays.tracePoints();
    EXPECT_EQ(trace[0].x, 10);
    EXPECT_EQ(trace[10].x, 0);
    EXPECT_EQ(trace[11].x, 4999 % 256);  // after entry 0 comes the ring's last
    EXPECT_EQ(trace[11].y, 4999 / 256);
    EXPECT_EQ(trace[1023].x, (5000 + 10 - 1023) % 256);
    // An index outside the ring is brought into it.
    displays.drawScope(5010, ring.points.get(), ring.size, false);
    EXPECT_EQ(displays.tracePoints()[0].x, 10);
}

TEST(ScopeTrace, FluorescenceOffShowsOnlyTheNewestOnAFreshGraticule) {
    Ring ring = twoTraces();
    StereoDisplays displays, fresh;
    displays.drawScope(3000, ring.points.get(), ring.size, true);  // leaves an afterglow
    displays.drawScope(1023, ring.points.get(), ring.size, false);
    fresh.drawScope(1023, ring.points.get(), ring.size, false);
    EXPECT_EQ(displays.scopeImage().pixels, fresh.scopeImage().pixels);
    EXPECT_TRUE(pixelsOf(displays.scopeImage(), colors::afterglow).empty());
    EXPECT_FALSE(pixelsOf(displays.scopeImage(), colors::trace).empty());
    // The window shows what the image holds.
    EXPECT_EQ(displays.scopeSurface().pixels, displays.scopeImage().pixels);
}

TEST(ScopeTrace, FluorescenceKeepsEveryTraceInDarkGreenAndShowsTheNewestBright) {
    Ring ring = twoTraces();
    StereoDisplays displays, onlyFirst, onlySecond;
    displays.drawScope(1023, ring.points.get(), ring.size, true);
    displays.drawScope(3000, ring.points.get(), ring.size, true);
    onlyFirst.drawScope(1023, ring.points.get(), ring.size, false);
    onlySecond.drawScope(3000, ring.points.get(), ring.size, false);
    // The image: both traces in the afterglow colour, nothing bright.
    const PixelSet glow = pixelsOf(displays.scopeImage(), colors::afterglow);
    EXPECT_TRUE(pixelsOf(displays.scopeImage(), colors::trace).empty());
    for (const auto& p : pixelsOf(onlySecond.scopeImage(), colors::trace)) EXPECT_TRUE(glow.count(p)) << p.first;
    std::size_t firstOnly = 0;
    for (const auto& p : pixelsOf(onlyFirst.scopeImage(), colors::trace)) firstOnly += glow.count(p);
    EXPECT_GT(firstOnly, 100u);
    // The window: the newest bright over the older afterglow.
    EXPECT_EQ(pixelsOf(displays.scopeSurface(), colors::trace), pixelsOf(onlySecond.scopeImage(), colors::trace));
    EXPECT_FALSE(pixelsOf(displays.scopeSurface(), colors::afterglow).empty());
}

TEST(ScopeTrace, ClearingWithFluorescenceLeavesExactlyTheLastTraceFaint) {
    Ring ring = twoTraces();
    StereoDisplays displays, onlySecond;
    displays.drawScope(1023, ring.points.get(), ring.size, true);
    displays.drawScope(3000, ring.points.get(), ring.size, true);
    displays.clearScope(true);
    onlySecond.drawScope(3000, ring.points.get(), ring.size, false);
    EXPECT_EQ(pixelsOf(displays.scopeImage(), colors::clearedAfterglow), pixelsOf(onlySecond.scopeImage(), colors::trace));
    EXPECT_TRUE(pixelsOf(displays.scopeImage(), colors::afterglow).empty());
    // The window was copied before the faint trace: a clean graticule.
    StereoDisplays graticule;
    graticule.drawGraticule();
    EXPECT_EQ(displays.scopeSurface().pixels, graticule.scopeImage().pixels);
    // Without fluorescence the image is the bare graticule.
    displays.clearScope(false);
    EXPECT_EQ(displays.scopeImage().pixels, graticule.scopeImage().pixels);
}

TEST(ScopeTrace, RepaintDrawsTheTraceOnTheWindowOnly) {
    Ring ring = twoTraces();
    StereoDisplays displays, shown;
    displays.drawScope(3000, ring.points.get(), ring.size, true);
    displays.clearScope(true);
    const Image before = displays.scopeImage();
    displays.repaintScope();
    EXPECT_EQ(displays.scopeImage().pixels, before.pixels);
    shown.drawScope(3000, ring.points.get(), ring.size, false);
    EXPECT_EQ(pixelsOf(displays.scopeSurface(), colors::trace), pixelsOf(shown.scopeImage(), colors::trace));
}

TEST(PhaseStrip, MarkersAndTheirCopyOntoTheStrip) {
    StereoDisplays displays;
    displays.drawMeters(readings(0.5f, 0.0f, 0.0f, 0, 0, 0, 0));
    EXPECT_EQ(displays.texts().phase, "90\xBA");
    EXPECT_EQ(displays.texts().phaseMax, "0\xBA");
    const Image& image = displays.phaseImage();
    PixelSet current, range;
    for (int y = 1; y < 13; ++y) {
        current.insert({128, y});  // round(127.5) is 128
        current.insert({129, y});
        range.insert({0, y});      // the minimum at 0: columns 0 and 1; the maximum at column -1
        range.insert({1, y});
    }
    EXPECT_EQ(pixelsOf(image, colors::level), current);
    EXPECT_EQ(pixelsOf(image, colors::phaseRange), range);
    // The strip shows columns and rows from 1: its column 0, row 0 and rows 13, 14 stay black.
    const Image& strip = displays.phaseSurface();
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 256; ++x) {
            const Pixel expected = (x >= 1 && y >= 1 && y < 13) ? image.at(x, y) : colors::background;
            ASSERT_EQ(strip.at(x, y), expected) << x << "," << y;
        }
    // Range markers: maximum one column left of its value, minimum two from it.
    displays.drawMeters(readings(0.2f, 1.0f, 0.1f, 0, 0, 0, 0));
    EXPECT_EQ(displays.texts().phase, "36\xBA");
    EXPECT_EQ(displays.texts().phaseMin, "18\xBA");
    EXPECT_EQ(displays.texts().phaseMax, "180\xBA");
    EXPECT_EQ(displays.phaseImage().at(254, 5), colors::phaseRange);
    EXPECT_EQ(displays.phaseImage().at(255, 5), colors::background);
    EXPECT_EQ(displays.phaseImage().at(26, 5), colors::phaseRange);  // round(25.5) is 26
    EXPECT_EQ(displays.phaseImage().at(27, 5), colors::phaseRange);
    EXPECT_EQ(displays.phaseImage().at(25, 5), colors::background);
    EXPECT_EQ(displays.phaseImage().at(51, 0), colors::background);
    EXPECT_EQ(displays.phaseImage().at(51, 1), colors::level);
}

TEST(PeakReadouts, TextsRedBackgroundsAndMaxPeak) {
    StereoDisplays displays;
    displays.drawMeters(readings(0, 0, 0, 1.0f, 0.5f, 1.0f, 0.0f));
    EXPECT_EQ(displays.texts().peakLeft, "0.00db");
    EXPECT_EQ(displays.texts().peakRight, "-inf");
    EXPECT_FALSE(displays.texts().peakLeftRed);
    EXPECT_EQ(displays.maxPeak(), 1.0f);
    displays.drawMeters(readings(0, 0, 0, 1.5f, 0.5f, 1.5f, 0.5f));
    EXPECT_EQ(displays.texts().peakLeft, "3.52db");
    EXPECT_EQ(displays.texts().peakRight, "-6.02db");
    EXPECT_TRUE(displays.texts().peakLeftRed);
    EXPECT_FALSE(displays.texts().peakRightRed);
    // The level falls, the background stays red until the peaks are reset.
    displays.drawMeters(readings(0, 0, 0, 0.1f, 0.1f, 0.5f, 0.5f));
    EXPECT_TRUE(displays.texts().peakLeftRed);
    EXPECT_EQ(displays.maxPeak(), 1.5f);
    displays.resetPeaks(nullptr);
    EXPECT_FALSE(displays.texts().peakLeftRed);
    EXPECT_EQ(displays.maxPeak(), StereoDisplays::kResetPeak);
}

TEST(LevelBars, RowsColumnsAndTheOverloadPart) {
    StereoDisplays displays;
    displays.drawMeters(readings(0, 0, 0, 2.0f, 1.0f, 0, 0));
    const Image& image = displays.meterImage();
    for (int y = 0; y < 290; ++y)
        for (int x = 0; x < 18; ++x) {
            Pixel expected = colors::background;
            if (x >= 2 && x <= 7 && y >= 1 && y <= 287) expected = y <= 87 ? colors::overload : colors::level;
            if (x >= 11 && x <= 16 && y >= 91 && y <= 287) expected = colors::level;  // 0 dB starts at row 91
            ASSERT_EQ(image.at(x, y), expected) << x << "," << y;
        }
    // The strip shows the image from (1,1): its column 0, row 0 and column 18 stay black.
    const Image& strip = displays.meterSurface();
    for (int y = 0; y < 288; ++y)
        for (int x = 0; x < 19; ++x)
            ASSERT_EQ(strip.at(x, y), x >= 1 && x < 18 && y >= 1 ? image.at(x, y) : colors::background) << x << "," << y;
    // Silence draws no bar; just above +0.05 dB shows red at row 87 only.
    displays.drawMeters(readings(0, 0, 0, 0.0f, 1.0066f, 0, 0));
    EXPECT_TRUE(pixelsOf(displays.meterImage(), colors::level).size() > 0);
    for (int y = 0; y < 290; ++y) EXPECT_EQ(displays.meterImage().at(4, y), colors::background) << y;
    EXPECT_EQ(displays.meterImage().at(13, 87), colors::overload);
    EXPECT_EQ(displays.meterImage().at(13, 86), colors::background);
    EXPECT_EQ(displays.meterImage().at(13, 88), colors::level);
}

using DisplayCommands = widefield::testing::EffectTest;
using widefield::testing::StereoBlock;

TEST_F(DisplayCommands, NormalisingSendsTheFactorForTheLoudestPeak) {
    StereoDisplays displays;
    EXPECT_FALSE(displays.normaliseGains(effect.get()));  // nothing seen since the reset
    EXPECT_EQ(effect->gain(false), 1.0f);
    displays.drawMeters(readings(0, 0, 0, 0.5f, 0.25f, 0.5f, 0.25f));
    EXPECT_TRUE(displays.normaliseGains(effect.get()));
    EXPECT_FLOAT_EQ(effect->gain(false), 1.998f);
    EXPECT_FLOAT_EQ(effect->gain(true), 1.998f);
    // The loudest peak now comes out at 0.999; a peak reset clears the
    // effect's holds as well.
    set(ADoubler::kSetLatency, 0.0f);
    run(StereoBlock(441, 0.5f, 0.5f));
    ASSERT_FLOAT_EQ(effect->meterReadings().peakHoldLeft, 0.999f);
    displays.resetPeaks(effect.get());
    EXPECT_EQ(effect->meterReadings().peakHoldLeft, 0.0f);
    EXPECT_FALSE(displays.normaliseGains(effect.get()));
}
