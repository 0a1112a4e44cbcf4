// ConcurrencyTests.cpp — the audio thread writing the ring while the detector
// measures and the host changes the sample rate (run under ThreadSanitizer too).
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "tests/tuner/ToneFixture.h"

namespace tonemark {

TEST(Concurrency, AudioRunsWhileTheDetectorMeasuresAndTheRateChanges) {
    testing::EffectHarness h;
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        testing::ToneSource source({{440.0, 0.5}}, 44100.0);
        std::vector<float> left(256), right(256, 0.0f), out0(256), out1(256);
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {out0.data(), out1.data()};
        while (!stop.load(std::memory_order_relaxed)) {
            source.fill(left.data(), 256);
            h.fx().processReplacing(inputs, outputs, 256);
        }
    });
    for (int i = 0; i < 40; ++i) {
        h.fx().setSampleRate(i % 2 ? 48000.0f : 96000.0f);
        const PitchReading r = h.fx().measure();
        EXPECT_TRUE(r.noReading == 1.0f || std::isfinite(r.frequency));
        h.fx().setParameter(ADoubler::kAudioWatchdog, 0.0f);
    }
    h.fx().setSampleRate(44100.0f);
    // Let clean audio at the matching rate fill the window again.
    const std::int32_t start = h.fx().getRing().newestIndex();
    while ((h.fx().getRing().newestIndex() - start + DecimatedRing::kLength) % DecimatedRing::kLength < 8000)
        std::this_thread::yield();
    stop.store(true, std::memory_order_relaxed);
    audio.join();
    const PitchReading r = h.fx().measure();
    EXPECT_EQ(r.noReading, 0.0f);
    EXPECT_NEAR(r.frequency, 440.0f, 0.05f);
}

}  // namespace tonemark
