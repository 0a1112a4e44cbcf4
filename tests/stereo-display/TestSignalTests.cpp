// TestSignalTests.cpp — plughost's stereo test signals: what each channel
// carries, block boundaries that do not show, and a file that loops.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "tools/plughost/TestSignals.h"

using namespace plughost;

namespace {

struct Played {
    std::vector<float> left, right;
};

// `frames` frames in blocks of `block`, as the editor's feeder plays them.
Played play(const SignalSource& source, int frames, int block) {
    Played played{std::vector<float>(static_cast<std::size_t>(frames)), std::vector<float>(static_cast<std::size_t>(frames))};
    std::vector<float> l(static_cast<std::size_t>(block)), r(l.size());
    for (int at = 0; at < frames; at += block) {
        float* channels[2] = {l.data(), r.data()};
        const int n = std::min(block, frames - at);
        source.fill(channels, 2, n, at);
        for (int i = 0; i < n; ++i) {
            played.left[static_cast<std::size_t>(at + i)] = l[static_cast<std::size_t>(i)];
            played.right[static_cast<std::size_t>(at + i)] = r[static_cast<std::size_t>(i)];
        }
    }
    return played;
}

SignalSource named(const char* name) {
    Options options;
    options.signal = name;
    options.sineAmplitude = 0.7;
    SignalSource source;
    std::string error;
    EXPECT_TRUE(makeSignalSource(options, source, error)) << error;
    return source;
}

}  // namespace

TEST(TestSignals, EachSignalCarriesItsChannelRelation) {
    const Played mono = play(named("mono"), 1000, 64), left = play(named("left"), 1000, 64);
    const Played anti = play(named("antiphase"), 1000, 64), quad = play(named("quadrature"), 1000, 100);
    float largest = 0.0f;
    for (std::size_t i = 0; i < 1000; ++i) {
        EXPECT_EQ(mono.left[i], mono.right[i]);
        EXPECT_EQ(left.right[i], 0.0f);
        EXPECT_EQ(anti.right[i], -anti.left[i]);
        // A quarter period apart at 441 Hz (100 samples a period at 44.1 kHz):
        // the pair stays on a circle.
        EXPECT_NEAR(std::hypot(quad.left[i], quad.right[i]), 0.7, 1e-6);
        if (i >= 25) {
            EXPECT_NEAR(quad.right[i - 25], quad.left[i], 1e-5);
        }
        largest = std::max(largest, std::fabs(mono.left[i]));
    }
    // Sampled half a sample after the zero crossings: the peak falls between samples.
    EXPECT_NEAR(largest, 0.7 * std::cos(3.14159265358979 / 100.0), 1e-6);
    EXPECT_NEAR(quad.left[0], 0.7 * std::sin(3.14159265358979 / 100.0), 1e-6);
    // Blocks change nothing: the signal runs on from frame to frame.
    EXPECT_EQ(play(named("quadrature"), 1000, 7).left, quad.left);
}

TEST(TestSignals, UnknownNamesAreRefusedAndAFileLoops) {
    Options options;
    options.signal = "circle";
    SignalSource source;
    std::string error;
    EXPECT_FALSE(makeSignalSource(options, source, error));
    EXPECT_NE(error.find("quadrature"), std::string::npos);
    // A raw float32 stereo file of three frames, played for eight.
    const std::string path = std::string(DISPLAY_TEST_OUTPUT_DIR) + "/three-frames.raw";
    const float frames[6] = {0.1f, -0.1f, 0.2f, -0.2f, 0.3f, -0.3f};
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(frames, sizeof frames, 1, file);
    std::fclose(file);
    Options fromFile;
    fromFile.wavPath = path;
    fromFile.raw = true;
    ASSERT_TRUE(makeSignalSource(fromFile, source, error)) << error;
    const Played played = play(source, 8, 3);
    EXPECT_EQ(played.left, (std::vector<float>{0.1f, 0.2f, 0.3f, 0.1f, 0.2f, 0.3f, 0.1f, 0.2f}));
    EXPECT_EQ(played.right[4], -0.2f);
}
