// DetectorTests.cpp — readings of synthetic tones through the whole chain, at
// every accuracy setting and at 44.1, 48 and 96 kHz.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "tests/tuner/ToneFixture.h"
#include "tests/tuner/DetectorAccess.h"
#include "tuner/PitchDetector.h"

namespace tonemark {

using testing::EffectHarness;
using testing::Partial;

class DetectorAtAccuracy : public ::testing::TestWithParam<int> {};

TEST_P(DetectorAtAccuracy, Sine440ReadsWithin10Millihertz) {
    EffectHarness h;
    const PitchReading r = h.measureTone({{440.0, 0.5}}, GetParam());
    EXPECT_EQ(r.noReading, 0.0f);
    EXPECT_NEAR(r.frequency, 440.0f, 0.01f);
    EXPECT_EQ(h.fx().getDetectedFrequency(), r.frequency);
    EXPECT_EQ(h.fx().getNoReading(), 0.0f);
    // The peak bin and its height.
    const int peakBins[3] = {327, 654, 1308};
    const float* m = h.fx().getDetector().magnitudes();
    const int b = peakBins[GetParam()];
    EXPECT_GT(m[b], m[b - 1]);
    EXPECT_GT(m[b], m[b + 1]);
    EXPECT_NEAR(m[b], GetParam() == 0 ? 447.0f : 536.0f, 6.0f);
}

TEST_P(DetectorAtAccuracy, LouderHarmonicsDoNotDisplaceTheFundamental) {
    EffectHarness second;
    EXPECT_NEAR(second.measureTone({{110.0, 0.1}, {220.0, 0.25}}, GetParam()).frequency, 110.0f, 0.05f);
    EffectHarness third;
    EXPECT_NEAR(third.measureTone({{110.0, 0.05}, {330.0, 0.25}}, GetParam()).frequency, 110.0f, 0.05f);
}

TEST_P(DetectorAtAccuracy, LowAndHighTones) {
    EffectHarness low;
    const PitchReading a0 = low.measureTone({{27.5, 0.5}}, GetParam(), 1.5);
    EXPECT_EQ(a0.noReading, 0.0f);
    EXPECT_NEAR(a0.frequency, 27.5f, 0.05f);
    EffectHarness high;
    const PitchReading r3000 = high.measureTone({{3000.0, 0.5}}, GetParam());
    EXPECT_EQ(r3000.noReading, 0.0f);
    EXPECT_NEAR(r3000.frequency, 3000.0f, 0.05f);
    const float* m = high.fx().getDetector().magnitudes();
    float peak = 0.0f;
    for (int b = 0; b <= high.fx().getDetector().fftSize() / 2; ++b) peak = std::max(peak, m[b]);
    EXPECT_NEAR(peak, GetParam() == 0 ? 37.0f : 44.0f, 3.0f);
    EffectHarness tooHigh;
    EXPECT_EQ(tooHigh.measureTone({{5000.0, 0.5}}, GetParam()).noReading, 1.0f);
}

TEST_P(DetectorAtAccuracy, SilenceIsNoReading) {
    EffectHarness h;
    const PitchReading r = h.measureTone({}, GetParam());
    EXPECT_EQ(r.noReading, 1.0f);
    EXPECT_EQ(r.frequency, 0.0f);
}

TEST_P(DetectorAtAccuracy, HigherRatesAgreeWith44100) {
    for (const auto& tone : std::vector<std::vector<Partial>>{
             {{440.0, 0.5}}, {{110.0, 0.1}, {220.0, 0.25}}, {{27.5, 0.5}}, {{3000.0, 0.5}}, {{1234.5, 0.3}}}) {
        EffectHarness base;
        const PitchReading reference = base.measureTone(tone, GetParam(), 1.5);
        ASSERT_EQ(reference.noReading, 0.0f);
        for (float rate : {48000.0f, 96000.0f, 192000.0f}) {
            EffectHarness h(rate);
            EXPECT_EQ(h.fx().getAnalysisRate(), rate);
            const PitchReading r = h.measureTone(tone, GetParam(), 1.5);
            EXPECT_EQ(r.noReading, 0.0f) << rate << " " << tone[0].frequency;
            EXPECT_NEAR(r.frequency, reference.frequency, 0.05f) << rate << " " << tone[0].frequency;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryAccuracy, DetectorAtAccuracy, ::testing::Values(0, 1, 2));

TEST(Detector, ThresholdLiesBetween0002And00025WithEconomy) {
    EffectHarness quiet;
    EXPECT_EQ(quiet.measureTone({{440.0, 0.002}}, 0).noReading, 1.0f);
    EffectHarness audible;
    const PitchReading r = audible.measureTone({{440.0, 0.0025}}, 0);
    EXPECT_EQ(r.noReading, 0.0f);
    EXPECT_NEAR(r.frequency, 440.0f, 0.05f);
}

TEST(Detector, SecondChannelNeverReachesTheRing) {
    EffectHarness h;
    std::vector<float> silent(512, 0.0f), tone(512), out0(512), out1(512);
    testing::ToneSource source({{440.0, 0.5}}, 44100.0);
    for (int block = 0; block < 100; ++block) {
        source.fill(tone.data(), 512);
        float* inputs[2] = {silent.data(), tone.data()};
        float* outputs[2] = {out0.data(), out1.data()};
        h.fx().processReplacing(inputs, outputs, 512);
    }
    for (int i = 0; i < DecimatedRing::kLength; ++i) ASSERT_EQ(h.fx().getRing().at(i), 0.0f);
    EXPECT_EQ(h.fx().measure().noReading, 1.0f);
}

TEST(Detector, FiveHertzLeaksIntoTheStartBinAndReadsNear16) {
    EffectHarness h;
    const PitchReading r = h.measureTone({{5.0, 0.5}}, 0, 1.5);
    EXPECT_EQ(r.noReading, 0.0f);
    EXPECT_GT(r.frequency, 8.1f);
    EXPECT_NEAR(r.frequency, 16.0f, 4.0f);
}

TEST(Detector, AFrameThatWrapsTheRingReadsTheSame) {
    auto plain = std::make_unique<DecimatedRing>();
    auto wrapped = std::make_unique<DecimatedRing>();
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < 8000; ++i) plain->push(static_cast<float>(0.5 * std::sin(2.0 * pi * 440.0 * i / 11025.0)));
    for (int i = 0; i < 40000 - 3000; ++i) wrapped->push(0.0f);
    for (int i = 0; i < 8000; ++i) wrapped->push(static_cast<float>(0.5 * std::sin(2.0 * pi * 440.0 * i / 11025.0)));
    ASSERT_LT(wrapped->newestIndex(), 16384 - 1);
    auto detector = std::make_unique<PitchDetector>();
    for (int accuracy : {0, 1, 2}) {
        PitchDetectorTestAccess::configureAccuracy(*detector, accuracy);
        const PitchReading a = detector->measure(*plain, 44100.0, 4);
        const PitchReading b = detector->measure(*wrapped, 44100.0, 4);
        EXPECT_EQ(a.noReading, 0.0f);
        EXPECT_EQ(a.frequency, b.frequency) << accuracy;
        EXPECT_NEAR(a.frequency, 440.0f, 0.01f);
    }
}

TEST(Detector, ChangingAccuracyFromSuperToEconomyShortensTheWindow) {
    EffectHarness h;
    h.fx().setParameter(ADoubler::kAccuracy, 2.0f);
    h.fx().measure();
    EXPECT_EQ(h.fx().getDetector().fftSize(), 32768);
    EXPECT_EQ(h.fx().getDetector().windowLength(), 6000);
    h.fx().setParameter(ADoubler::kAccuracy, 0.0f);
    h.fx().measure();
    const PitchDetector& d = h.fx().getDetector();
    EXPECT_EQ(d.fftSize(), 8192);
    EXPECT_EQ(d.fftOrder(), 13);
    EXPECT_EQ(d.windowLength(), 5000);
    // Zero ahead of the window, Blackman-Harris over the last 5000 entries.
    EXPECT_EQ(d.window()[8192 - 5001], 0.0f);
    EXPECT_NEAR(d.window()[8192 - 5000], 0.00006f, 1e-5f);
    EXPECT_NEAR(d.window()[8192 - 2500], 1.0f, 1e-3f);
    EXPECT_EQ(d.window()[8192], 0.0f);
    h.feed({{440.0, 0.5}}, 1.0);
    EXPECT_NEAR(h.fx().measure().frequency, 440.0f, 0.01f);
    EXPECT_EQ(h.fx().getDetector().fftSize(), 8192);
}

TEST(Detector, NonFiniteInputRecoversOnceCleanAudioFillsTheWindow) {
    EffectHarness h;
    h.feed({{440.0, 0.5}}, 1.0);
    std::vector<float> bad(512, std::numeric_limits<float>::quiet_NaN()), out0(512), out1(512);
    float* inputs[2] = {bad.data(), bad.data()};
    float* outputs[2] = {out0.data(), out1.data()};
    h.fx().processReplacing(inputs, outputs, 512);
    EXPECT_EQ(h.fx().measure().noReading, 1.0f);
    h.feed({{440.0, 0.5}}, 0.8);  // more than the 6000 entries of the window
    const PitchReading r = h.fx().measure();
    EXPECT_EQ(r.noReading, 0.0f);
    EXPECT_NEAR(r.frequency, 440.0f, 0.01f);
}

TEST(PeakInterpolation, VertexOfTheParabola) {
    float v = 0.0f;
    ASSERT_TRUE(interpolatePeak(100, 1.0f, 2.0f, 1.0f, v));
    EXPECT_EQ(v, 100.0f);
    ASSERT_TRUE(interpolatePeak(100, 1.0f, 3.0f, 2.0f, v));
    EXPECT_NEAR(v, 100.0f + 1.0f / (2.0f * 3.0f), 1e-4f);  // b + (y+ - y-) / (2(2y0 - y- - y+))
}

TEST(PeakInterpolation, DegenerateTriplesAreNoReading) {
    float v = -1.0f;
    EXPECT_FALSE(interpolatePeak(50, 3.0f, 3.0f, 1.0f, v));  // y0 equal to y-
    EXPECT_FALSE(interpolatePeak(50, 4.0f, 3.0f, 2.0f, v));  // 2·y0 = y- + y+
    EXPECT_FALSE(interpolatePeak(50, std::numeric_limits<float>::quiet_NaN(), 3.0f, 1.0f, v));
    EXPECT_FALSE(interpolatePeak(50, 1.0f, std::numeric_limits<float>::infinity(), 1.0f, v));
    EXPECT_EQ(v, -1.0f);
}

}  // namespace tonemark
