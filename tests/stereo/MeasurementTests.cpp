// MeasurementTests.cpp — capture, display position, meter analysis, watchdog.
//
// The clock is manual; at 44100 Hz a block of 441 frames is exactly 10 ms, so
// advancing the clock by 10 ms per block with a latency of 0 keeps the display
// position on the newest sample.
#include "tests/stereo/EffectFixture.h"

#include <cmath>

#include "stereo/DisplayClock.h"
#include "stereo/MeterReadings.h"

using namespace widefield;
using widefield::testing::EffectTest;
using widefield::testing::StereoBlock;

namespace {

class Measurement : public EffectTest {
protected:
    void SetUp() override { set(ADoubler::kSetLatency, 0.0f); }
    // One 10 ms block, the clock moving with it.
    void tick(float l, float r) {
        run(StereoBlock(441, l, r));
        clock.advance(10);
    }
};

std::pair<std::int32_t, std::int32_t> pointOf(float l, float r) {
    std::int32_t x, y;
    scopePointOf(l, r, x, y);
    return {x, y};
}

}  // namespace

TEST(ScopeCoordinates, PairsLandOnTheGoniometer) {
    using P = std::pair<std::int32_t, std::int32_t>;
    EXPECT_EQ(pointOf(0.0f, 0.0f), P(128, 128));
    EXPECT_EQ(pointOf(0.5f, 0.5f), P(128, 64));
    EXPECT_EQ(pointOf(0.5f, -0.5f), P(64, 128));
    EXPECT_EQ(pointOf(1.0f, 0.0f), P(64, 64));
    EXPECT_EQ(pointOf(-3.0f, 3.0f), P(128 + 384, 128));  // outside the square, not limited
    EXPECT_EQ(pointOf(1.0f / 128.0f, 0.0f), P(128, 128));  // 0.5 pixel: ties to even
    EXPECT_EQ(pointOf(3.0f / 128.0f, 0.0f), P(126, 126));  // 1.5 → 2
    // Non-finite pairs stay within reach of any drawing.
    for (float bad : {NAN, INFINITY, -INFINITY, 3e38f}) {
        const P p = pointOf(bad, 0.25f);
        EXPECT_LE(std::abs(p.first), 20000) << bad;
        EXPECT_LE(std::abs(p.second), 20000) << bad;
    }
}

TEST_F(Measurement, ScopeRingBeforeAndAfterAudio) {
    const ScopePoint* points = effect->scopePoints();
    for (std::int32_t i : {0, 1, 20000, StereoCapture::kScopeSize - 1}) {
        EXPECT_EQ(points[i].x.load(), 150);
        EXPECT_EQ(points[i].y.load(), 150);
    }
    run(StereoBlock(3, 0.5f, 0.5f));
    EXPECT_EQ(effect->scopeWritePosition(), 3);
    EXPECT_EQ(points[1].y.load(), 64);
    EXPECT_EQ(points[3].y.load(), 64);
    EXPECT_EQ(points[4].y.load(), 150);
    EXPECT_EQ(points[0].x.load(), 150);  // written first after a wrap only
}

TEST_F(Measurement, PhaseMovesTowardsOpposedSignalsByPointSeven) {
    tick(0.0f, 0.0f);  // first block: analysed (silence is same-signed)
    EXPECT_EQ(effect->meterReadings().phaseCorrelation, 0.0f);
    const float expected[] = {0.3f, 0.51f, 0.657f};
    for (float value : expected) {
        tick(0.5f, -0.5f);
        tick(0.5f, -0.5f);
        EXPECT_NEAR(effect->meterReadings().phaseCorrelation, value, 1e-6f);
    }
    const MeterReadings readings = effect->meterReadings();
    EXPECT_NEAR(readings.phaseMax, 0.657f, 1e-6f);
    EXPECT_EQ(readings.phaseMin, 0.0f);
    set(ADoubler::kResetPhaseRange, 1.0f);
    EXPECT_EQ(effect->meterReadings().phaseMin, effect->meterReadings().phaseCorrelation);
    // Mono drives it back towards 0.
    tick(0.5f, 0.5f);
    tick(0.5f, 0.5f);
    EXPECT_NEAR(effect->meterReadings().phaseCorrelation, 0.657f * 0.7f, 1e-6f);
    EXPECT_NEAR(effect->meterReadings().phaseMin, 0.657f * 0.7f, 1e-6f);
}

TEST_F(Measurement, ZeroAgainstANegativeValueDiffersInSign) {
    tick(0.0f, 0.0f);
    tick(0.0f, -0.25f);
    tick(0.0f, -0.25f);
    EXPECT_NEAR(effect->meterReadings().phaseCorrelation, 0.3f, 1e-6f);
}

TEST_F(Measurement, PeaksFallWhileHoldsStay) {
    tick(0.0f, 0.0f);
    tick(1.0f, -0.5f);
    tick(1.0f, -0.5f);
    const float expected[] = {1.0f, 0.7f, 0.49f};
    for (float value : expected) {
        const MeterReadings r = effect->meterReadings();
        EXPECT_NEAR(r.peakLeft, value, 1e-6f);
        EXPECT_NEAR(r.peakRight, value * 0.5f, 1e-6f);
        EXPECT_EQ(r.peakHoldLeft, 1.0f);
        EXPECT_EQ(r.peakHoldRight, 0.5f);
        tick(0.0f, 0.0f);
        tick(0.0f, 0.0f);
    }
    set(ADoubler::kResetPeakHolds, 1.0f);
    EXPECT_EQ(effect->meterReadings().peakHoldLeft, 0.0f);
    // ResetAll clears the holds, not the decaying peaks or the phase readings.
    tick(0.8f, 0.8f);
    tick(0.8f, 0.8f);
    set(ADoubler::kResetAll, 1.0f);
    EXPECT_EQ(effect->meterReadings().peakHoldLeft, 0.0f);
    EXPECT_NEAR(effect->meterReadings().peakLeft, 0.8f, 1e-6f);
}

TEST_F(Measurement, DisplayPositionLagsByTheLatency) {
    set(ADoubler::kSetLatency, 750.0f);
    for (int i = 0; i < 20; ++i) run(StereoBlock(500));
    ASSERT_EQ(effect->scopeWritePosition(), 10000);
    set(ADoubler::kResync, 0.0f);
    run(StereoBlock(0));
    const std::int32_t expected = 10000 - 33075 + StereoCapture::kScopeSize;
    EXPECT_EQ(effect->scopeReadPosition(), expected);
    // Between re-anchorings the position advances with the tick counter.
    clock.advance(100);
    run(StereoBlock(0));
    EXPECT_EQ(effect->scopeReadPosition(), expected + 4410);
}

TEST(DisplayPositionMath, WrapsIntoTheRing) {
    EXPECT_EQ(displayPosition(0, 750, 44100.0, 40000, 10000), 16925);
    EXPECT_EQ(displayPosition(0, 750, 44100.0, 100000, 0), 100000 - 33075);
    EXPECT_EQ(displayPosition(0, 2000000000, 44100.0, 40000, 5), displayPosition(0, 2000000000, 44100.0, 40000, 40005));
    EXPECT_EQ(displayPosition(1000, 0, 44100.0, 40000, 39999), (39999 + 44100) % 40000);
    EXPECT_EQ(displayPosition(0, 750, NAN, 40000, 10000), 16925);  // a rate that is no number: 44100
    // Half a sample rounds to even.
    EXPECT_EQ(displayPosition(1, 0, 500.0, 40000, 0), 0);
    EXPECT_EQ(displayPosition(3, 0, 500.0, 40000, 0), 2);
}

TEST_F(Measurement, MetersOffStopsTheFullPathOnly) {
    tick(0.5f, 0.5f);
    set(ADoubler::kMetersOff, 1.0f);
    const std::int32_t scope = effect->scopeWritePosition(), read = effect->scopeReadPosition();
    const MeterReadings before = effect->meterReadings();
    tick(1.0f, -1.0f);
    tick(1.0f, -1.0f);
    EXPECT_EQ(effect->scopeWritePosition(), scope);
    EXPECT_EQ(effect->scopeReadPosition(), read);
    EXPECT_EQ(effect->meterReadings().peakHoldLeft, before.peakHoldLeft);
    EXPECT_EQ(effect->meterReadings().phaseCorrelation, before.phaseCorrelation);
    // The accumulating path still captures.
    StereoBlock in(10, 0.5f, 0.5f), out(10);
    float* ins[2] = {in.left.data(), in.right.data()};
    float* outs[2] = {out.left.data(), out.right.data()};
    effect->process(ins, outs, 10);
    EXPECT_EQ(effect->scopeWritePosition(), scope + 10);
}

TEST_F(Measurement, ScopeBlockDividerSpacesTheAccumulatingUpdates) {
    ADoublerEditor* editor = effect->getDoublerEditor();
    editor->open(nullptr);
    set(ADoubler::kSetScopeBlockDivider, 3.0f);
    StereoBlock in(10), out(10);
    float* ins[2] = {in.left.data(), in.right.data()};
    float* outs[2] = {out.left.data(), out.right.data()};
    std::size_t notified[9] = {};
    for (int block = 0; block < 9; ++block) {
        effect->process(ins, outs, 10);
        notified[block] = editor->drainScope([](const ScopeRecord&) {});
    }
    // The counter starts at 1 after construction: blocks 2, 5 and 8 notify.
    const std::size_t expected[9] = {0, 1, 0, 0, 1, 0, 0, 1, 0};
    for (int block = 0; block < 9; ++block) EXPECT_EQ(notified[block], expected[block]) << block;
}

TEST_F(Measurement, WatchdogReanchorsAfterAStall) {
    tick(0.1f, 0.1f);
    set(ADoubler::kAudioWatchdog, 0.0f);  // audio was seen: nothing pending
    run(StereoBlock(0));
    const std::int32_t anchored = effect->scopeReadPosition();
    EXPECT_EQ(anchored, 441 + 441);  // anchored at 441, the clock moved 10 ms since
    set(ADoubler::kAudioWatchdog, 0.0f);
    set(ADoubler::kAudioWatchdog, 0.0f);  // two periods without audio
    clock.advance(5000);
    run(StereoBlock(441, 0.1f, 0.1f));
    // Re-anchored at the end of this block: the position is the write position.
    EXPECT_EQ(effect->scopeReadPosition(), effect->scopeWritePosition());
}

TEST_F(Measurement, EmptyAndHugeBlocksKeepTheReadingsValid) {
    tick(0.5f, 0.5f);
    const MeterReadings before = effect->meterReadings();
    for (int i = 0; i < 4; ++i) run(StereoBlock(0));
    EXPECT_EQ(effect->meterReadings().peakLeft, before.peakLeft);
    EXPECT_EQ(effect->meterReadings().phaseCorrelation, before.phaseCorrelation);
    // Two blocks of 60000 frames: the analysis covers at most the whole ring.
    run(StereoBlock(60000, 0.25f, -0.25f));
    clock.advance(1361);
    run(StereoBlock(60000, 0.25f, -0.25f));
    const MeterReadings after = effect->meterReadings();
    EXPECT_TRUE(std::isfinite(after.phaseCorrelation));
    EXPECT_GE(after.phaseCorrelation, 0.0f);
    EXPECT_LE(after.phaseCorrelation, 1.0f);
}

TEST(MeterAnalysisKernel, WindowWrapsAndIsLimitedToTheRing) {
    float left[8] = {0, 0, 0, 0, 0, 0, 0.9f, 0};
    float right[8] = {-1, 0, 0, 0, 0, 0, 0, 0};
    MeterAnalysis meters;
    EXPECT_FALSE(meters.analyse(left, right, 8, 0, 0));
    // Window of 3 ending at 0: positions 6, 7, 0.
    ASSERT_TRUE(meters.analyse(left, right, 8, 0, 3));
    EXPECT_EQ(meters.peakLeft.load(), 0.9f);
    EXPECT_EQ(meters.peakRight.load(), 1.0f);
    EXPECT_NEAR(meters.phaseCorrelation.load(), 0.1f, 1e-6f);  // d = 1/3, smoothed from 0
    ASSERT_TRUE(meters.analyse(left, right, 8, 3, 1000));
    meters.peakHoldLeft.store(INFINITY);
    meters.clearIfNotFinite();
    EXPECT_EQ(meters.peakHoldLeft.load(), 0.0f);
}
