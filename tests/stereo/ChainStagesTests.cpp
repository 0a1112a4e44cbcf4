// ChainStagesTests.cpp — every combination of stages gives the one-channel kernels' bits.
//
// The chain runs one loop per set of stages that are on (DC filter, bass, delay
// or comb, capture), the filters in a pass of their own over short stretches;
// each combination is checked against the kernels over blocks that are not a
// multiple of the stretch.
#include "tests/stereo/EffectFixture.h"

#include <string>

#include "stereo/Sections.h"
#include "tests/stereo/KernelChain.h"

using namespace widefield;
using widefield::testing::EffectTest;
using widefield::testing::KernelChain;
using widefield::testing::StereoBlock;

namespace {

struct Stages {
    bool dc, bass, metersOff;
    std::int32_t delay;  // samples
    bool comb;
};

std::string nameOf(const Stages& s) {
    return std::string(s.dc ? "dc" : "") + (s.bass ? "bass" : "") + (s.metersOff ? "metersOff" : "") +
           (s.delay == 0 ? "" : (s.delay < 0 ? "left" : "right")) + (s.comb ? "comb" : "") + "_";
}

class ChainStages : public EffectTest, public ::testing::WithParamInterface<Stages> {};

StereoBlock signal(std::size_t frames, unsigned seed) {
    StereoBlock block(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        seed = seed * 1664525u + 1013904223u;
        block.left[i] = static_cast<float>(static_cast<int>(seed >> 9) % 2001 - 1000) / 1001.0f;
        block.right[i] = static_cast<float>(0.3 * block.left[i] + static_cast<double>(seed % 97) / 200.0);
    }
    return block;
}

}  // namespace

TEST_P(ChainStages, MatchesTheKernelsBitForBit) {
    const Stages stages = GetParam();
    set(ADoubler::kDcFilter, stages.dc ? 1.0f : 0.0f);
    set(ADoubler::kBassOn, stages.bass ? 1.0f : 0.0f);
    set(ADoubler::kMetersOff, stages.metersOff ? 1.0f : 0.0f);
    set(ADoubler::kPseudoStereo, stages.comb ? 1.0f : 0.0f);
    set(ADoubler::kDelay, static_cast<float>((stages.delay + 120) / 240.0));
    set(ADoubler::kInputRotation, 0.6f);
    set(ADoubler::kCentreCut, 0.35f);
    set(ADoubler::kOutputWidth, 0.7f);
    set(ADoubler::kBassWidth, 0.2f);
    ASSERT_EQ(effect->getParameter(ADoubler::kDelay), static_cast<float>((stages.delay + 120) / 240.0));

    const BassCoefficients bass = BassCoefficients::lowPass(1000.0 * 0.1f + 100.0, 44100.0);
    const StereoMatrix in = matrixOf(InputSection{false, false, false, 0.5f, 0.6f});
    const StereoMatrix balance = matrixOf(BalanceSection{0.35f, 0.5f});
    const StereoMatrix out = matrixOf(OutputSection{0.5f, 0.7f, false, 1.0f, 1.0f});
    KernelChain chain(in, balance, out, bass, 0.2f, 0.0f);
    chain.dcOn = stages.dc;
    chain.bassOn = stages.bass;

    std::int32_t written = 0;
    for (std::size_t frames : {300u, 1u, 129u, 1000u}) {
        const StereoBlock input = signal(frames, static_cast<unsigned>(frames));
        const StereoBlock output = run(input);
        for (std::size_t i = 0; i < frames; ++i) {
            float l = input.left[i], r = input.right[i];
            chain.apply(l, r, stages.delay, stages.comb);
            ASSERT_EQ(output.left[i], l) << frames << "-frame block, sample " << i;
            ASSERT_EQ(output.right[i], r) << frames << "-frame block, sample " << i;
        }
        written += static_cast<std::int32_t>(frames);
    }
    EXPECT_EQ(effect->sampleWritePosition(), stages.metersOff ? 0 : written);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCombination, ChainStages,
    ::testing::Values(Stages{false, false, false, 0, false}, Stages{true, false, false, 0, false},
                      Stages{false, true, false, 0, false}, Stages{true, true, false, 0, false},
                      Stages{true, true, true, 0, false}, Stages{false, false, true, -30, false},
                      Stages{true, false, false, 30, false}, Stages{false, true, false, -30, true},
                      Stages{true, true, false, 30, true}, Stages{true, true, true, -120, true},
                      Stages{false, false, false, 120, true}, Stages{true, false, true, 1, false}),
    [](const ::testing::TestParamInfo<Stages>& info) { return nameOf(info.param) + std::to_string(info.index); });
