// AfterglowTests.cpp — what a drain leaves in the scope's afterglow at the
// rates and block sizes a host may play, with the display timer's 30 ms drains.
//
//   coverage   every sample that reached the display position since the last
//              drain is drawn into the afterglow, also where blocks are so short
//              that many of them share a millisecond (and a display position)
//   unchanged  at 44.1 and 48 kHz with blocks of 64 frames or more a drain draws
//              the newest 16 traces, as it always has
//   choice     a late drain: at most 16 traces, joined, the newest last, across
//              the ring's end; a gap no trace bridges
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "stereo/AfterglowTraces.h"
#include "tests/stereo-display/DisplayFixture.h"

using namespace widefield;
using widefield::testing::DisplayAudio;
using widefield::testing::kPi;
namespace colors = widefield::displayColors;

namespace {

struct Playing {
    double rate;
    int frames;
};

std::string nameOf(const ::testing::TestParamInfo<Playing>& info) {
    return std::to_string(static_cast<int>(info.param.rate)) + "Hz" + std::to_string(info.param.frames) + "frames";
}

class Afterglow : public DisplayAudio, public ::testing::WithParamInterface<Playing> {
protected:
    // A spiral that turns every 5 ms and widens over 100 ms: the samples of
    // one drain lie on rings a few pixels apart, so a stretch left out shows.
    static std::pair<float, float> spiral(long n, double rate) {
        const double t = n / rate;
        const double amplitude = 0.1 + 0.8 * std::fmod(t * 10.0, 1.0);
        const double angle = 2.0 * kPi * 200.0 * t;
        return {static_cast<float>(amplitude * std::sin(angle)), static_cast<float>(amplitude * std::cos(angle))};
    }

    // Plays a second, draining every 30 ms of audio; drain(previous, newest)
    // runs after each drain with the positions of the previous drain's newest
    // trace and this one's.
    template <class Check>
    void playAndDrain(const Check& check) {
        const double rate = GetParam().rate;
        effect->setSampleRate(static_cast<float>(rate));
        std::uint32_t lastDrain = clock.milliseconds();
        std::int32_t previous = -1;
        playInBlocks(GetParam().frames, 1000, [rate](long n) { return spiral(n, rate); }, [&] {
            positions.push_back(effect->scopeReadPosition());
            if (clock.milliseconds() - lastDrain < 30) return;
            lastDrain = clock.milliseconds();
            displays.clearScope(false);
            displays.drain(editor(), true);
            const std::int32_t newest = effect->scopeReadPosition();
            if (previous >= 0) check(previous, newest);
            previous = newest;
            positions.clear();
        });
    }

    std::vector<std::int32_t> positions;  // of the records since the last drain
};

// The pixels the graticule covers: it is drawn over the afterglow of earlier traces.
std::vector<bool> graticuleMask() {
    StereoDisplays blank;
    blank.drawGraticule();
    std::vector<bool> mask;
    for (toolkit::Pixel p : blank.scopeImage().pixels) mask.push_back(p != colors::background);
    return mask;
}

}  // namespace

TEST_P(Afterglow, EverySampleOfADrainReachesTheAfterglow) {
    const std::vector<bool> onGraticule = graticuleMask();
    long samples = 0, missed = 0;
    playAndDrain([&](std::int32_t previous, std::int32_t newest) {
        const ScopePoint* ring = effect->scopePoints();
        const toolkit::Image& image = displays.scopeImage();
        if (previous == newest) return;
        for (std::int32_t i = (previous + 1) % kRingSize;; i = (i + 1) % kRingSize) {
            const int x = ring[i].x.load(), y = ring[i].y.load();
            if (x >= 0 && x < 256 && y >= 0 && y < 256 && !onGraticule[static_cast<std::size_t>(y * 256 + x)]) {
                ++samples;
                missed += image.at(x, y) != colors::afterglow;
            }
            if (i == newest) break;
        }
    });
    EXPECT_GT(samples, 1000);
    EXPECT_EQ(missed, 0) << "of " << samples << " samples";
}

INSTANTIATE_TEST_SUITE_P(RatesAndBlocks, Afterglow,
                         ::testing::Values(Playing{44100.0, 32}, Playing{44100.0, 64}, Playing{48000.0, 32},
                                           Playing{48000.0, 256}, Playing{96000.0, 32}, Playing{96000.0, 64},
                                           Playing{96000.0, 512}, Playing{192000.0, 32}, Playing{192000.0, 64},
                                           Playing{192000.0, 128}, Playing{192000.0, 512}),
                         nameOf);

class AfterglowAsBefore : public Afterglow {};

TEST_P(AfterglowAsBefore, ADrainDrawsTheNewestSixteenTraces) {
    StereoDisplays newestSixteen;
    int drains = 0;
    playAndDrain([&](std::int32_t, std::int32_t) {
        newestSixteen.clearScope(false);
        const std::size_t first = positions.size() > 16 ? positions.size() - 16 : 0;
        for (std::size_t i = first; i < positions.size(); ++i)
            newestSixteen.drawScope(positions[i], effect->scopePoints(), kRingSize, true);
        ASSERT_EQ(displays.scopeImage().pixels, newestSixteen.scopeImage().pixels) << "drain " << drains;
        ASSERT_EQ(displays.scopeSurface().pixels, newestSixteen.scopeSurface().pixels) << "drain " << drains;
        ++drains;
    });
    EXPECT_GT(drains, 15);
}

INSTANTIATE_TEST_SUITE_P(LowRates, AfterglowAsBefore,
                         ::testing::Values(Playing{44100.0, 64}, Playing{44100.0, 128}, Playing{44100.0, 441},
                                           Playing{44100.0, 1024}, Playing{48000.0, 64}, Playing{48000.0, 480},
                                           Playing{48000.0, 2048}),
                         nameOf);

TEST(AfterglowChoice, ALateDrainSpreadsSixteenJoinedTracesBackFromTheNewest) {
    // 64 ms at 192 kHz in 1 ms steps, across the ring's end.
    std::vector<std::int32_t> positions;
    for (int ms = 1; ms <= 64; ++ms) positions.push_back((kRingSize - 6000 + 192 * ms) % kRingSize);
    const std::int32_t previous = kRingSize - 6000;
    const AfterglowChoice choice = chooseAfterglowTraces(positions.data(), positions.size(), previous, kRingSize);
    // 12288 samples in strides of 960 (5 ms), the newest trace drawing 1023.
    ASSERT_EQ(choice.count, 13u);
    EXPECT_EQ(choice.positions[choice.count - 1], positions.back());
    for (std::size_t i = 1; i < choice.count; ++i) {
        const std::int32_t stride = (choice.positions[i] - choice.positions[i - 1] + kRingSize) % kRingSize;
        EXPECT_GT(stride, 0);
        EXPECT_LE(stride, kTraceLength - 1);
    }
    // The oldest trace reaches back to the sample after the previous drain's newest.
    EXPECT_LE((choice.positions[0] - previous + kRingSize) % kRingSize, kTraceLength - 1);
    // Twice as late: the 16 the choice allows, from the newest back.
    std::vector<std::int32_t> longer;
    for (int ms = 1; ms <= 160; ++ms) longer.push_back(192 * ms);
    const AfterglowChoice capped = chooseAfterglowTraces(longer.data(), longer.size(), 0, kRingSize);
    EXPECT_EQ(capped.count, kMaxAfterglowTraces);
    EXPECT_EQ(capped.positions[capped.count - 1], longer.back());
}

TEST(AfterglowChoice, BlocksLongerThanATraceLeaveTheirGapsAsBefore) {
    const std::int32_t positions[] = {1000, 3000, 5000};
    const AfterglowChoice choice = chooseAfterglowTraces(positions, 3, -1, kRingSize);
    ASSERT_EQ(choice.count, 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(choice.positions[i], positions[i]);
}
