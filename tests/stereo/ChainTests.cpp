// ChainTests.cpp — the full chain and the accumulating path on synthetic signals.
#include "tests/stereo/EffectFixture.h"

#include <cmath>

#include "stereo/BassFilter.h"
#include "stereo/DcFilter.h"
#include "stereo/Sections.h"
#include "stereo/StereoDelay.h"
#include "stereo/StereoMatrix.h"
#include "tests/stereo/KernelChain.h"

using namespace widefield;
using widefield::testing::EffectTest;
using widefield::testing::KernelChain;
using widefield::testing::StereoBlock;

namespace {

StereoBlock noise(std::size_t frames, unsigned seed) {
    StereoBlock block(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        seed = seed * 1664525u + 1013904223u;
        block.left[i] = static_cast<float>(static_cast<int>(seed >> 8) % 20001 - 10000) / 10001.0f;
        seed = seed * 1664525u + 1013904223u;
        block.right[i] = static_cast<float>(static_cast<int>(seed >> 8) % 20001 - 10000) / 10001.0f;
    }
    return block;
}

class Chain : public EffectTest {};

}  // namespace

TEST_F(Chain, DefaultsPassTheSignalBitForBit) {
    const StereoBlock in = noise(1000, 7);
    const StereoBlock out = run(in);
    EXPECT_EQ(out.left, in.left);
    EXPECT_EQ(out.right, in.right);
}

TEST_F(Chain, OutputWidthActsOnTheRotatedPair) {
    // Output rotation 0.7 (t = 0.2 pi, c = 0.80901700, s = 0.58778524 as
    // floats), then output width 0.8 (L' = 1.3 L - 0.3 R, R' = 1.3 R - 0.3 L):
    // (1, 0) -> (c, s) -> (1.3 c - 0.3 s, 1.3 s - 0.3 c), and
    // (0, 1) -> (-s, c) -> (-1.3 s - 0.3 c, 1.3 c + 0.3 s).
    set(ADoubler::kOutputRotation, 0.7f);
    set(ADoubler::kOutputWidth, 0.8f);
    const auto [leftOfLeft, rightOfLeft] = runPair(1.0f, 0.0f);
    EXPECT_NEAR(leftOfLeft, 0.8753865, 2e-6);
    EXPECT_NEAR(rightOfLeft, 0.5214157, 2e-6);
    const auto [leftOfRight, rightOfRight] = runPair(0.0f, 1.0f);
    EXPECT_NEAR(leftOfRight, -1.0068259, 2e-6);
    EXPECT_NEAR(rightOfRight, 1.2280577, 2e-6);
}

TEST_F(Chain, ResumeForgetsTheAudioBefore) {
    // The longest delay, the DC filter and the bass adjust: every kind of history.
    set(ADoubler::kDelay, 1.0f);
    set(ADoubler::kDcFilter, 1.0f);
    set(ADoubler::kBassOn, 1.0f);
    run(noise(500, 3));
    effect->dispatcher(effMainsChanged, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
    const StereoBlock silence(500);
    const StereoBlock out = run(silence);
    EXPECT_EQ(out.left, silence.left);
    EXPECT_EQ(out.right, silence.right);
}

TEST_F(Chain, BypassPassesTheInputWhateverTheSettings) {
    set(ADoubler::kInputWidth, 0.1f);
    set(ADoubler::kOutputRotation, 0.9f);
    set(ADoubler::kDelay, 0.7f);
    set(ADoubler::kDcFilter, 1.0f);
    set(ADoubler::kBassOn, 1.0f);
    set(ADoubler::kGainLeft, 0.1f);
    set(ADoubler::kBypass, 1.0f);
    const StereoBlock in = noise(600, 3);
    const std::int32_t scopeBefore = effect->scopeWritePosition();
    const StereoBlock out = run(in);
    EXPECT_EQ(out.left, in.left);
    EXPECT_EQ(out.right, in.right);
    // The scope still sees what goes out.
    const std::int32_t last = effect->scopeWritePosition();
    EXPECT_EQ(last, scopeBefore + 600);
    std::int32_t x, y;
    scopePointOf(in.left.back(), in.right.back(), x, y);
    EXPECT_EQ(effect->scopePoints()[last].x.load(), x);
    EXPECT_EQ(effect->scopePoints()[last].y.load(), y);
}

TEST_F(Chain, InPlaceBlocksReadEachPairBeforeWritingIt) {
    set(ADoubler::kInputRotation, 1.0f);
    StereoBlock block(4, 0.5f, 0.25f);
    float* io[2] = {block.left.data(), block.right.data()};
    effect->processReplacing(io, io, 4);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(block.left[i], -0.25f, 1e-6f);
        EXPECT_NEAR(block.right[i], 0.5f, 1e-6f);
    }
}

TEST_F(Chain, PlainDelayOfEitherChannel) {
    set(ADoubler::kDelay, static_cast<float>(110.0 / 240.0));  // D = -10
    StereoBlock out = runImpulse(32, 1.0f, 0.0f);
    for (std::size_t i = 0; i < 32; ++i) {
        EXPECT_EQ(out.left[i], i == 10 ? 1.0f : 0.0f) << i;
        EXPECT_EQ(out.right[i], 0.0f) << i;
    }
    run(StereoBlock(200));  // let the rings forget
    set(ADoubler::kDelay, static_cast<float>(130.0 / 240.0));  // D = +10
    out = runImpulse(32, 1.0f, 1.0f);
    for (std::size_t i = 0; i < 32; ++i) {
        EXPECT_EQ(out.left[i], i == 0 ? 2.0f : (i == 10 ? -1.0f : 0.0f)) << i;
        EXPECT_EQ(out.right[i], i == 10 ? 1.0f : 0.0f) << i;
    }
}

TEST_F(Chain, PseudoStereoComb) {
    set(ADoubler::kPseudoStereo, 1.0f);
    set(ADoubler::kDelay, static_cast<float>(100.0 / 240.0));  // D = -20
    const StereoBlock out = runImpulse(40, 1.0f, 1.0f);
    for (std::size_t i = 0; i < 40; ++i) {
        EXPECT_FLOAT_EQ(out.left[i], i == 0 ? 1.0f : (i == 20 ? 0.33f : 0.0f)) << i;
        EXPECT_FLOAT_EQ(out.right[i], i == 0 ? 1.0f : (i == 20 ? -0.33f : 0.0f)) << i;
    }
}

TEST_F(Chain, DelayLongerThanOneBlockReachesIntoThePreviousBlock) {
    set(ADoubler::kDelay, 0.0f);  // D = -120
    StereoBlock first = runImpulse(100, 1.0f, 0.0f);
    const StereoBlock second = run(StereoBlock(100));
    EXPECT_EQ(first.left[0], 0.0f);
    EXPECT_EQ(second.left[20], 1.0f);
}

TEST_F(Chain, DcFilterDecayOnAConstantInput) {
    set(ADoubler::kDcFilter, 1.0f);
    const StereoBlock out = run(StereoBlock(44100 * 3, 1.0f, 1.0f));
    // 1/e after about 0.2 s, about 0.0064 after 1 s, never below 0, a residue at the end.
    std::size_t crossing = 0;
    while (crossing < out.size() && out.left[crossing] > 0.368f) ++crossing;
    EXPECT_NEAR(static_cast<double>(crossing) / 44100.0, 0.2, 0.03);
    EXPECT_NEAR(out.left[44099], 0.0064, 0.002);
    float lowest = 1.0f;
    for (float v : out.left) lowest = std::min(lowest, v);
    EXPECT_GE(lowest, 0.0f);
    const StereoBlock settled = run(StereoBlock(44100 * 5, 1.0f, 1.0f));
    EXPECT_GT(settled.left.back(), 0.0f);
    EXPECT_LT(settled.left.back(), 0.001f);
    EXPECT_EQ(settled.left.back(), settled.right.back());
}

TEST_F(Chain, BassAddsATenthOfTheLowBandAtDefaults) {
    set(ADoubler::kBassOn, 1.0f);
    const StereoBlock out = run(StereoBlock(20000, 0.5f, 0.25f));
    // A low-pass passes a constant: each side gains 0.1 of its own level.
    EXPECT_NEAR(out.left.back(), 0.55f, 1e-4f);
    EXPECT_NEAR(out.right.back(), 0.275f, 1e-4f);
    // A tone far above the crossover is left nearly alone.
    StereoBlock tone(4410);
    for (std::size_t i = 0; i < tone.size(); ++i)
        tone.left[i] = tone.right[i] = static_cast<float>(0.5 * std::sin(2.0 * 3.14159265358979 * 10000.0 * i / 44100.0));
    const StereoBlock high = run(tone);
    float largestExcess = 0.0f;
    for (std::size_t i = 100; i < tone.size(); ++i)
        largestExcess = std::max(largestExcess, std::fabs(high.left[i] - tone.left[i]));
    EXPECT_LT(largestExcess, 0.01f);
}

TEST_F(Chain, BassWidthMovesLowBandBetweenChannels) {
    set(ADoubler::kBassOn, 1.0f);
    set(ADoubler::kBassWidth, 1.0f);  // only the own-channel term, doubled weight
    set(ADoubler::kBassBoost, 0.4f);
    StereoBlock out = run(StereoBlock(20000, 0.5f, 0.0f));
    EXPECT_NEAR(out.left.back(), 0.5f + 1.5f * 0.5f * 0.5f, 1e-4f);
    EXPECT_NEAR(out.right.back(), -0.5f * 0.5f, 1e-4f);
}

TEST_F(Chain, BassFollowsTheHostSampleRate) {
    auto lowBandAt = [&](float rate) {
        auto fresh = makeEffect();
        fresh->setSampleRate(rate);
        fresh->setParameter(ADoubler::kBassOn, 1.0f);
        StereoBlock in(static_cast<std::size_t>(rate / 2));
        for (std::size_t i = 0; i < in.size(); ++i) in.left[i] = static_cast<float>(std::sin(2.0 * 3.14159265358979 * 200.0 * i / rate));
        StereoBlock out = in;
        float* ins[2] = {in.left.data(), in.right.data()};
        float* outs[2] = {out.left.data(), out.right.data()};
        fresh->processReplacing(ins, outs, static_cast<std::int32_t>(in.size()));
        float peak = 0.0f;
        for (std::size_t i = in.size() / 2; i < in.size(); ++i) peak = std::max(peak, std::fabs(out.left[i]));
        return peak;
    };
    // A tone at the crossover: the same response at every rate.
    EXPECT_NEAR(lowBandAt(44100.0f), lowBandAt(96000.0f), 2e-3f);
}

TEST_F(Chain, NonFiniteSamplesDoNotPoisonTheFilters) {
    set(ADoubler::kDcFilter, 1.0f);
    set(ADoubler::kBassOn, 1.0f);
    StereoBlock bad(64, 0.1f, 0.1f);
    bad.left[10] = NAN;
    bad.right[20] = INFINITY;
    run(bad);
    run(StereoBlock(200));  // the delay rings play no part at D = 0
    const StereoBlock out = run(StereoBlock(64, 0.1f, 0.1f));
    for (std::size_t i = 0; i < out.size(); ++i) {
        EXPECT_TRUE(std::isfinite(out.left[i])) << i;
        EXPECT_TRUE(std::isfinite(out.right[i])) << i;
    }
    const MeterReadings readings = effect->meterReadings();
    EXPECT_TRUE(std::isfinite(readings.peakHoldLeft));
    EXPECT_TRUE(std::isfinite(readings.peakHoldRight));
    EXPECT_TRUE(std::isfinite(readings.phaseCorrelation));
}

TEST_F(Chain, EmptyBlockWritesNothingAndKeepsTheFilters) {
    set(ADoubler::kDcFilter, 1.0f);
    run(StereoBlock(100, 1.0f, 1.0f));
    auto twin = makeEffect();
    twin->setParameter(ADoubler::kDcFilter, 1.0f);
    StereoBlock a(100, 1.0f, 1.0f), b(100);
    float* ins[2] = {a.left.data(), a.right.data()};
    float* outs[2] = {b.left.data(), b.right.data()};
    twin->processReplacing(ins, outs, 100);
    twin->processReplacing(nullptr, nullptr, 0);
    const StereoBlock mine = run(StereoBlock(50, 1.0f, 1.0f));
    StereoBlock theirs(50, 1.0f, 1.0f), theirsOut(50);
    float* ins2[2] = {theirs.left.data(), theirs.right.data()};
    float* outs2[2] = {theirsOut.left.data(), theirsOut.right.data()};
    twin->processReplacing(ins2, outs2, 50);
    EXPECT_EQ(mine.left, theirsOut.left);
    // Nothing is written into the buffers of an empty block.
    StereoBlock untouched(4, 0.75f, 0.75f);
    float* io[2] = {untouched.left.data(), untouched.right.data()};
    effect->processReplacing(io, io, 0);
    EXPECT_EQ(untouched.left, std::vector<float>(4, 0.75f));
}

TEST_F(Chain, AccumulatingPathAppliesOnlyPolarityAndMono) {
    set(ADoubler::kBypass, 1.0f);
    set(ADoubler::kInputWidth, 0.0f);
    set(ADoubler::kGainLeft, 0.0f);
    set(ADoubler::kInvertLeft, 1.0f);
    StereoBlock in(8, 0.5f, 0.25f), out(8, 1.0f, 1.0f);
    float* ins[2] = {in.left.data(), in.right.data()};
    float* outs[2] = {out.left.data(), out.right.data()};
    effect->process(ins, outs, 8);
    EXPECT_FLOAT_EQ(out.left[3], 0.5f);
    EXPECT_FLOAT_EQ(out.right[3], 1.25f);
    set(ADoubler::kMonoOut, 1.0f);
    effect->process(ins, outs, 8);
    EXPECT_FLOAT_EQ(out.left[3], 0.5f - 0.125f);
    EXPECT_FLOAT_EQ(out.right[3], 1.25f - 0.125f);
}

TEST(DcFilterKernel, ClearsStateThatIsNoLongerFinite) {
    DcFilter filter;
    filter.process(NAN);
    filter.clearIfNotFinite();
    EXPECT_EQ(filter.mean, 0.0f);
    EXPECT_EQ(filter.slope, 0.0f);
    EXPECT_EQ(filter.process(0.0f), 0.0f);
}

// The sample loop against the chain written out from its kernels, every stage
// on: the results must agree bit for bit (the loop may evaluate both channels
// side by side, but with the same operations per channel).
TEST_F(Chain, EveryStageOnMatchesTheKernelsBitForBit) {
    const float settings[][2] = {{ADoubler::kDcFilter, 1.0f},     {ADoubler::kBassOn, 1.0f},
                                 {ADoubler::kInvertRight, 1.0f},  {ADoubler::kInputWidth, 0.62f},
                                 {ADoubler::kInputRotation, 0.55f}, {ADoubler::kCentreCut, 0.3f},
                                 {ADoubler::kAsymmetry, 0.45f},   {ADoubler::kBassBoost, 0.3f},
                                 {ADoubler::kBassWidth, 0.7f},    {ADoubler::kBassFrequency, 0.2f},
                                 {ADoubler::kOutputRotation, 0.45f}, {ADoubler::kOutputWidth, 0.6f},
                                 {ADoubler::kGainLeft, 0.45f},    {ADoubler::kGainRight, 0.4f}};
    for (const auto& s : settings) set(static_cast<std::int32_t>(s[0]), s[1]);
    effect->setSampleRate(48000.0f);

    const BassCoefficients bass = BassCoefficients::lowPass(1000.0 * 0.2f + 100.0, 48000.0);
    const StereoMatrix in = matrixOf(InputSection{false, true, false, 0.62f, 0.55f});
    const StereoMatrix balance = matrixOf(BalanceSection{0.3f, 0.45f});
    const StereoMatrix out = matrixOf(OutputSection{0.45f, 0.6f, false, static_cast<float>(2.0 * 0.45f),
                                                    static_cast<float>(2.0 * 0.4f)});
    KernelChain chain(in, balance, out, bass, 0.7f, 0.3f);

    for (int round = 0; round < 4; ++round) {
        const bool pseudo = round % 2 == 1;
        set(ADoubler::kPseudoStereo, pseudo ? 1.0f : 0.0f);
        set(ADoubler::kDelay, round < 2 ? 0.4f : 0.6f);  // D = -24, then +24
        const std::int32_t d = round < 2 ? -24 : 24;
        const StereoBlock input = noise(700, 11 + round);
        const StereoBlock output = run(input);
        for (std::size_t i = 0; i < input.size(); ++i) {
            float l = input.left[i], r = input.right[i];
            chain.apply(l, r, d, pseudo);
            ASSERT_EQ(output.left[i], l) << "round " << round << " sample " << i;
            ASSERT_EQ(output.right[i], r) << "round " << round << " sample " << i;
        }
    }
}
