// DecimationTests.cpp — the low-pass design per rate and the decimation chain.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <memory>
#include <vector>

#include "tuner/DecimationLowPass.h"

namespace tonemark {

namespace {

// |H| of the scaled filter at frequency f, in either structure.
double gainAt(const DecimationCoefficients& c, double f, double rate) {
    const double pi = 3.14159265358979323846;
    const std::complex<double> z1 = std::polar(1.0, -2.0 * pi * f / rate);
    if (c.structure == FilterStructure::Sections) {
        std::complex<double> h = c.ringScale;
        for (const SecondOrderSection& s : c.sections)
            h *= s.gain * (1.0 + 2.0 * z1 + z1 * z1) / (1.0 - s.feedback1 * z1 - s.feedback2 * z1 * z1);
        return std::abs(h);
    }
    const double binomial[7] = {1, 6, 15, 20, 15, 6, 1};
    std::complex<double> num = 0.0, den = 1.0, power = 1.0;
    for (int k = 0; k <= 6; ++k) {
        num += binomial[k] * power;
        if (k >= 1) den -= c.feedback[k - 1] * power;
        power *= z1;
    }
    return std::abs(num / den) * c.ringScale;
}

}  // namespace

TEST(DecimationDesign, ClassicConstantsAt44100) {
    const DecimationCoefficients c = designDecimationLowPass(44100.0);
    const double expected[6] = {4.8997460757, -10.087800103, 11.159762283, -6.991042561, 2.3499855439, -0.3309720426};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(c.feedback[k], expected[k]) << k;
    EXPECT_EQ(c.ringScale, 5e-6);
    EXPECT_EQ(c.factor, 4);
    // The general design lands on the same filter a hair away from 44100.
    const DecimationCoefficients near = designDecimationLowPass(44100.0001);
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(near.feedback[k], expected[k], 2e-7) << k;
    EXPECT_NEAR(gainAt(c, 0.0, 44100.0), 0.99749, 1e-4);
}

TEST(DecimationDesign, EveryRateHasItsCutoffAt2000HzAndTheSameGainAtZero) {
    for (double rate : {22050.0, 32000.0, 48000.0, 64000.0, 88200.0, 96000.0, 176400.0, 192000.0, 384000.0}) {
        const DecimationCoefficients c = designDecimationLowPass(rate);
        const double dc = gainAt(c, 0.0, rate);
        EXPECT_NEAR(dc, 0.99749, 1e-4) << rate;
        EXPECT_NEAR(gainAt(c, 2000.0, rate) / dc, std::sqrt(0.5), 1e-6) << rate;
        EXPECT_LT(gainAt(c, 5512.5, rate) / dc, 0.01) << rate;  // the decimated band edge is well down
    }
}

TEST(DecimationDesign, SectionsAboveFactorFour) {
    EXPECT_EQ(designDecimationLowPass(44100.0).structure, FilterStructure::Direct);
    EXPECT_EQ(designDecimationLowPass(48000.0).structure, FilterStructure::Direct);
    EXPECT_EQ(designDecimationLowPass(64000.0).structure, FilterStructure::Direct);
    EXPECT_EQ(designDecimationLowPass(88200.0).structure, FilterStructure::Sections);
    EXPECT_EQ(designDecimationLowPass(192000.0).structure, FilterStructure::Sections);
}

TEST(DecimationDesign, FactorKeepsTheDecimatedRateNear11kHz) {
    EXPECT_EQ(designDecimationLowPass(48000.0).factor, 4);
    EXPECT_EQ(designDecimationLowPass(88200.0).factor, 8);
    EXPECT_EQ(designDecimationLowPass(96000.0).factor, 8);
    EXPECT_EQ(designDecimationLowPass(176400.0).factor, 16);
    EXPECT_EQ(designDecimationLowPass(192000.0).factor, 16);
    EXPECT_EQ(designDecimationLowPass(8000.0).factor, 1);
    EXPECT_EQ(decimationFactorFor(22050.0), 2);
    EXPECT_EQ(decimationFactorFor(32000.0), 2);
    EXPECT_EQ(decimationFactorFor(64000.0), 4);
    EXPECT_EQ(decimationFactorFor(384000.0), 32);
    EXPECT_FALSE(isSupportedSampleRate(0.0));
    EXPECT_FALSE(isSupportedSampleRate(-48000.0));
    EXPECT_FALSE(isSupportedSampleRate(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(isSupportedSampleRate(1e9));
}

class LowPassChain : public ::testing::Test {
protected:
    std::unique_ptr<DecimationLowPass> lowPass = std::make_unique<DecimationLowPass>();
    std::unique_ptr<DecimatedRing> ring = std::make_unique<DecimatedRing>();
};

TEST_F(LowPassChain, DecimationPhaseRunsOnAcrossOddBlocks) {
    // An impulse at frame 0 reaches the ring at its first write, after frame 4;
    // the written values must be the 4th, 8th, ... outputs of one long run.
    std::vector<float> stream(3 * 40, 0.0f);
    stream[0] = 1.0f;
    auto reference = std::make_unique<DecimationLowPass>();
    auto referenceRing = std::make_unique<DecimatedRing>();
    reference->process(stream.data(), static_cast<std::int32_t>(stream.size()), *referenceRing);
    for (std::size_t i = 0; i < stream.size(); i += 3) {
        lowPass->process(stream.data() + i, 3, *ring);
        EXPECT_EQ(ring->newestIndex(), static_cast<std::int32_t>((i + 3) / 4)) << i;
    }
    EXPECT_EQ(ring->newestIndex(), 30);
    for (int k = 1; k <= 30; ++k) EXPECT_EQ(ring->at(k), referenceRing->at(k)) << k;
    // The first write holds the 4th output: 1·(x0 term) of the impulse four samples on.
    EXPECT_NE(ring->at(1), 0.0f);
    EXPECT_EQ(lowPass->samplesSinceRingWrite(), 0);
}

TEST_F(LowPassChain, RecursionMatchesTheDirectFormula) {
    std::vector<float> x(64);
    for (int i = 0; i < 64; ++i) x[i] = static_cast<float>(std::sin(0.3 * i) * 0.7);
    lowPass->process(x.data(), 64, *ring);
    const double c[6] = {-0.3309720426, 2.3499855439, -6.991042561, 11.159762283, -10.087800103, 4.8997460757};
    float in[7] = {}, out[7] = {};
    std::vector<float> outputs;
    for (int i = 0; i < 64; ++i) {
        for (int k = 0; k < 6; ++k) in[k] = in[k + 1], out[k] = out[k + 1];
        in[6] = x[i];
        double y = (double(in[0]) + in[6]) + 6.0 * (double(in[1]) + in[5]) + 15.0 * (double(in[2]) + in[4]) +
                   20.0 * in[3];
        for (int k = 0; k < 6; ++k) y += c[k] * out[k];
        out[6] = static_cast<float>(y);
        outputs.push_back(out[6]);
    }
    for (int w = 1; w <= 16; ++w) EXPECT_EQ(ring->at(w), static_cast<float>(double(outputs[4 * w - 1]) * 5e-6)) << w;
    for (int k = 0; k < 7; ++k) EXPECT_EQ(lowPass->outputHistory()[k], out[k]) << k;
    for (int k = 0; k < 7; ++k) EXPECT_EQ(lowPass->inputHistory()[k], in[k]) << k;
}

TEST_F(LowPassChain, RingWrapsAfter39999Writes) {
    std::vector<float> block(4 * 39999, 0.25f);
    lowPass->process(block.data(), static_cast<std::int32_t>(block.size()), *ring);
    EXPECT_EQ(ring->newestIndex(), 39999);
    lowPass->process(block.data(), 3, *ring);
    EXPECT_EQ(ring->newestIndex(), 39999);
    lowPass->process(block.data(), 1, *ring);
    EXPECT_EQ(ring->newestIndex(), 0);
    EXPECT_NEAR(ring->at(0), 0.2494f, 1e-3f);  // settled DC through the 0.99749 gain
}

TEST_F(LowPassChain, NonFiniteInputClearsTheStateAfterItsBlock) {
    std::vector<float> block(256, 0.5f);
    lowPass->process(block.data(), 255, *ring);  // decimation phase now 3
    block[100] = std::numeric_limits<float>::quiet_NaN();
    lowPass->process(block.data(), 256, *ring);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(lowPass->outputHistory()[k], 0.0f);
        EXPECT_EQ(lowPass->inputHistory()[k], 0.0f);
    }
    EXPECT_EQ(lowPass->samplesSinceRingWrite(), (255 + 256) % 4);
    block[100] = std::numeric_limits<float>::infinity();
    lowPass->process(block.data(), 256, *ring);
    EXPECT_EQ(lowPass->outputHistory()[6], 0.0f);
    block[100] = 0.5f;
    for (int i = 0; i < 20; ++i) lowPass->process(block.data(), 256, *ring);
    EXPECT_NEAR(ring->at(ring->newestIndex()), 0.4987f, 1e-3f);
}

TEST_F(LowPassChain, SectionsRecoverFromNonFiniteInputToo) {
    lowPass->setCoefficients(designDecimationLowPass(192000.0));
    std::vector<float> block(1024, 0.5f);
    lowPass->process(block.data(), 1024, *ring);
    block[10] = -std::numeric_limits<float>::infinity();
    lowPass->process(block.data(), 1024, *ring);
    for (int k = 0; k < 8; ++k) EXPECT_EQ(lowPass->sectionHistory()[k], 0.0f);
    block[10] = 0.5f;
    for (int i = 0; i < 100; ++i) lowPass->process(block.data(), 1024, *ring);
    EXPECT_NEAR(ring->at(ring->newestIndex()), 0.4987f, 1e-3f);
}

TEST_F(LowPassChain, NewCoefficientsApplyFromTheNextBlockWithAFreshState) {
    std::vector<float> block(64, 0.5f);
    lowPass->process(block.data(), 63, *ring);
    lowPass->setCoefficients(designDecimationLowPass(96000.0));
    // The block already running is unaffected: state and phase are the audio thread's.
    EXPECT_EQ(lowPass->samplesSinceRingWrite(), 3);
    EXPECT_NE(lowPass->outputHistory()[6], 0.0f);
    const std::int32_t before = ring->newestIndex();
    lowPass->process(block.data(), 8, *ring);
    EXPECT_EQ(ring->newestIndex(), before + 1);  // factor 8, phase restarted
    // Two changes before a block: the last one wins.
    lowPass->setCoefficients(designDecimationLowPass(48000.0));
    lowPass->setCoefficients(designDecimationLowPass(192000.0));
    lowPass->process(block.data(), 16, *ring);
    EXPECT_EQ(ring->newestIndex(), before + 2);
}

}  // namespace tonemark
