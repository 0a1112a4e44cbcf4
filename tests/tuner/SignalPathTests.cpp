// SignalPathTests.cpp — the signal path wired as the effect wires it (design,
// low-pass, ring, detector), without the effect: what DSP changes are checked
// against before the panel is built.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "tuner/DecimationLowPass.h"
#include "tuner/PitchDetector.h"
#include "tests/tuner/DetectorAccess.h"

namespace tonemark {
namespace {

struct SignalPath {
    explicit SignalPath(double rate) : rate(rate), lowPass(std::make_unique<DecimationLowPass>()),
                                       ring(std::make_unique<DecimatedRing>()),
                                       detector(std::make_unique<PitchDetector>()) {
        lowPass->setCoefficients(designDecimationLowPass(rate));
    }
    // `seconds` of a sine in host-sized blocks, then one measurement.
    PitchReading measureSine(double frequency, double amplitude, double seconds, std::int32_t accuracy) {
        PitchDetectorTestAccess::configureAccuracy(*detector, accuracy);
        std::vector<float> block(512);
        const double pi = 3.14159265358979323846;
        for (std::int64_t done = 0, total = static_cast<std::int64_t>(seconds * rate); done < total;) {
            const std::int32_t frames = static_cast<std::int32_t>(std::min<std::int64_t>(512, total - done));
            for (std::int32_t i = 0; i < frames; ++i, ++sample)
                block[static_cast<std::size_t>(i)] =
                    static_cast<float>(amplitude * std::sin(2.0 * pi * frequency * static_cast<double>(sample) / rate));
            lowPass->process(block.data(), frames, *ring);
            done += frames;
        }
        return detector->measure(*ring, rate, decimationFactorFor(rate));
    }

    double rate;
    std::int64_t sample = 0;
    std::unique_ptr<DecimationLowPass> lowPass;
    std::unique_ptr<DecimatedRing> ring;
    std::unique_ptr<PitchDetector> detector;
};

class SignalPathAtAccuracy : public ::testing::TestWithParam<int> {};

TEST_P(SignalPathAtAccuracy, ReadsA440AtEverySupportedRateAndNothingInSilence) {
    for (double rate : {44100.0, 48000.0, 88200.0, 96000.0, 192000.0}) {
        ASSERT_TRUE(isSupportedSampleRate(rate)) << rate;
        SignalPath path(rate);
        const PitchReading tone = path.measureSine(440.0, 0.5, 1.0, GetParam());
        EXPECT_EQ(tone.noReading, 0.0f) << rate;
        // Within 10 mHz at 44.1 kHz; the other rates' grids land within 50 mHz.
        EXPECT_NEAR(tone.frequency, 440.0f, rate == 44100.0 ? 0.01f : 0.05f) << rate;

        SignalPath quiet(rate);
        const PitchReading silence = quiet.measureSine(440.0, 0.0, 1.0, GetParam());
        EXPECT_EQ(silence.noReading, 1.0f) << rate;
        EXPECT_EQ(silence.frequency, 0.0f) << rate;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryAccuracy, SignalPathAtAccuracy, ::testing::Values(0, 1, 2));

}  // namespace
}  // namespace tonemark
