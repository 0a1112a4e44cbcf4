// TransformTests.cpp — the radix-2 transform against a direct DFT and, bit for
// bit, against the literal loop.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <random>
#include <vector>

#include "tests/tuner/LiteralSpectrum.h"
#include "tests/tuner/DetectorAccess.h"
#include "tuner/PitchDetector.h"
#include "tuner/RadixTwoTransform.h"

namespace tonemark {

TEST(Transform, MatchesADirectTransformWithPositiveExponent) {
    auto transform = std::make_unique<RadixTwoTransform>();
    transform->configure(6);
    const int n = 64;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<float> input(n), re(n), im(n, 0.0f);
    for (float& x : input) x = uniform(random);
    for (int i = 0; i < n; ++i) re[transform->bitReversedOrder()[i]] = input[i];
    transform->transform(re.data(), im.data());
    const double pi = 3.14159265358979323846;
    for (int k = 0; k < n; ++k) {
        std::complex<double> sum = 0.0;
        for (int i = 0; i < n; ++i) sum += double(input[i]) * std::polar(1.0, 2.0 * pi * k * i / n);
        EXPECT_NEAR(re[k], sum.real(), 1e-4) << k;
        EXPECT_NEAR(im[k], sum.imag(), 1e-4) << k;
    }
}

TEST(Transform, ReconfiguringBackAndForthKeepsTheTables) {
    auto transform = std::make_unique<RadixTwoTransform>();
    transform->configure(3);
    EXPECT_EQ(transform->size(), 8);
    EXPECT_EQ(transform->bitReversedOrder()[1], 4);
    transform->configure(15);
    EXPECT_EQ(transform->bitReversedOrder()[1], 16384);
    transform->configure(3);
    EXPECT_EQ(transform->bitReversedOrder()[1], 4);
    EXPECT_EQ(transform->bitReversedOrder()[3], 6);
}

class SpectrumBitExact : public ::testing::TestWithParam<int> {};

TEST_P(SpectrumBitExact, MagnitudesEqualTheLiteralLoop) {
    auto ring = std::make_unique<DecimatedRing>();
    auto detector = std::make_unique<PitchDetector>();
    std::mt19937 random(11);
    std::normal_distribution<float> noise(0.0f, 0.3f);
    for (int i = 0; i < 41234; ++i) ring->push(noise(random) + 0.5f * std::sin(0.25f * i));
    PitchDetectorTestAccess::configureAccuracy(*detector, GetParam());
    const int n = detector->fftSize();
    std::vector<float> re(n), im(n);
    for (int end : {ring->newestIndex(), 17, 39999}) {
        testing::literalSpectrum(*ring, end, n, detector->window(), re.data(), im.data());
        detector->computeSpectrum(*ring, end, n);
        for (int b = 0; b <= n / 2; ++b)
            ASSERT_EQ(std::memcmp(&re[b], &detector->magnitudes()[b], sizeof(float)), 0)
                << "bin " << b << " end " << end << ": " << re[b] << " vs " << detector->magnitudes()[b];
    }
}

INSTANTIATE_TEST_SUITE_P(EveryAccuracy, SpectrumBitExact, ::testing::Values(0, 1, 2));

}  // namespace tonemark
