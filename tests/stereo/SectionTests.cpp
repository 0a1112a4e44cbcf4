// SectionTests.cpp — the linear maps of the chain, through processReplacing.
#include "tests/stereo/EffectFixture.h"

#include "stereo/Sections.h"
#include "stereo/StereoMatrix.h"

using namespace widefield;
using widefield::testing::EffectTest;

namespace {
constexpr float kTolerance = 1e-6f;

class SectionMaps : public EffectTest {
protected:
    void expectMap(float l, float r, float expectedLeft, float expectedRight) {
        const auto out = runPair(l, r);
        EXPECT_NEAR(out.first, expectedLeft, kTolerance) << "(" << l << ", " << r << ")";
        EXPECT_NEAR(out.second, expectedRight, kTolerance) << "(" << l << ", " << r << ")";
    }
};
}  // namespace

TEST_F(SectionMaps, InputWidthAndPolarity) {
    set(ADoubler::kInputWidth, 0.0f);  // mono
    expectMap(1.0f, 0.0f, 0.5f, 0.5f);
    expectMap(0.3f, 0.7f, 0.5f, 0.5f);
    set(ADoubler::kInputWidth, 0.5f);
    set(ADoubler::kInvertLeft, 1.0f);
    expectMap(0.25f, 0.5f, -0.25f, 0.5f);
    set(ADoubler::kSwapChannels, 1.0f);  // after the polarity
    expectMap(0.25f, 0.5f, 0.5f, -0.25f);
}

TEST_F(SectionMaps, OutputWidthWidensTheSide) {
    set(ADoubler::kOutputWidth, 1.0f);
    expectMap(1.0f, 0.0f, 1.5f, -0.5f);
    expectMap(0.0f, 1.0f, -0.5f, 1.5f);
}

TEST_F(SectionMaps, RotationsTurnThePair) {
    set(ADoubler::kInputRotation, 1.0f);  // +90 degrees
    expectMap(0.5f, 0.25f, -0.25f, 0.5f);
    set(ADoubler::kInputRotation, 0.5f);
    set(ADoubler::kOutputRotation, 0.0f);  // -90 degrees
    expectMap(0.5f, 0.25f, 0.25f, -0.5f);
}

TEST_F(SectionMaps, CentreCut) {
    set(ADoubler::kCentreCut, 1.0f);
    expectMap(0.6f, 0.6f, 0.0f, 0.0f);
    set(ADoubler::kCentreCut, 0.0f);
    expectMap(1.0f, 0.0f, 0.5f, 0.5f);
    set(ADoubler::kCentreCut, 0.75f);
    expectMap(1.0f, 0.0f, 1.0f, -0.5f);
}

TEST_F(SectionMaps, Asymmetry) {
    set(ADoubler::kAsymmetry, 0.0f);
    expectMap(0.7f, -0.2f, 0.7f, 0.7f);
    set(ADoubler::kAsymmetry, 1.0f);
    expectMap(0.7f, -0.2f, -0.2f, -0.2f);
    set(ADoubler::kAsymmetry, 0.25f);
    expectMap(1.0f, 0.0f, 1.2f, 0.6f);
    expectMap(0.0f, 1.0f, -0.2f, 0.4f);
}

TEST_F(SectionMaps, MonoComesBeforeTheFaders) {
    set(ADoubler::kGainLeft, 1.0f);  // gain 2
    expectMap(0.25f, 0.5f, 0.5f, 0.5f);
    set(ADoubler::kMonoOut, 1.0f);
    set(ADoubler::kGainRight, 0.25f);  // gain 0.5
    expectMap(0.25f, 0.75f, 1.0f, 0.25f);
}

TEST(SectionMatrix, NeutralSectionsGiveIdentityMatrices) {
    EXPECT_TRUE(matrixOf(InputSection{}).isIdentity());
    EXPECT_TRUE(matrixOf(BalanceSection{}).isIdentity());
    EXPECT_TRUE(matrixOf(OutputSection{}).isIdentity());
    // A matrix reproduces its section on any pair (linearity).
    const BalanceSection section{0.8f, 0.3f};
    const StereoMatrix m = matrixOf(section);
    float l = 0.3f, r = -0.7f, ml = l, mr = r;
    section.apply(l, r);
    m.apply(ml, mr);
    EXPECT_NEAR(ml, l, 1e-6f);
    EXPECT_NEAR(mr, r, 1e-6f);
}
