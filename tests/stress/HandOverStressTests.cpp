// HandOverStressTests.cpp — states of more than one field, handed between threads.
//
// ThreadSanitizer sees no race between relaxed atomics, even where a reader can
// combine fields from two different writes. These tests check the invariants
// themselves while a second thread writes as fast as it can:
//
//   display anchor   with the clock moving exactly with the audio and no
//                    latency, every display position is the newest pair, however
//                    often the panel asks for a re-anchoring
//   meter readings   the phase reading lies within its range while resets arrive;
//                    a reading taken after a reset never shows a hold from before it
//   decimation set   every block runs on one of the designs handed over, never on
//                    a mixture of two
//   state chunks     a chunk applied while audio runs reaches every block whole
//                    or not at all
// BRISORA_STRESS_SECONDS sets the time per test (default 1).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "framework/SettingsChunk.h"
#include "stereo/uDoubler.h"
#include "tests/support/EffectServices.h"
#include "tuner/DecimatedRing.h"
#include "tuner/DecimationDesign.h"
#include "tuner/DecimationLowPass.h"

namespace {

std::chrono::steady_clock::time_point deadline() {
    const char* text = std::getenv("BRISORA_STRESS_SECONDS");
    const double seconds = text && std::atof(text) > 0.0 ? std::atof(text) : 1.0;
    return std::chrono::steady_clock::now() +
           std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(seconds));
}

class WidefieldRig : public test_support::EffectServices {
public:
    WidefieldRig() : EffectServices(5000, "host.exe") {
        effect = std::make_unique<widefield::ADoubler>(nullptr, services());
        effect->setSampleRate(44100.0f);
        effect->setParameter(widefield::ADoubler::kSetLatency, 0.0f);
    }

    // One 10 ms block (441 frames at 44100 Hz), the clock moving with it.
    void block(std::uint32_t seed, bool accumulating) {
        clock.advance(10);
        for (std::size_t i = 0; i < left.size(); ++i) {
            seed = seed * 1664525u + 1013904223u;
            left[i] = static_cast<float>(static_cast<std::int32_t>(seed >> 8) % 1000) / 1000.0f;
            right[i] = (seed & 0x100u) ? left[i] : -left[i];
        }
        float* channels[2] = {left.data(), right.data()};
        if (accumulating)
            effect->process(channels, channels, 441);
        else
            effect->processReplacing(channels, channels, 441);
    }

    std::unique_ptr<widefield::ADoubler> effect;
    std::vector<float> left = std::vector<float>(441), right = std::vector<float>(441);
};

// Runs `writer` on a second thread until the audio side's loop ends.
template <class Writer, class Audio>
void againstWriter(Writer writer, Audio audio) {
    std::atomic<bool> running{true};
    std::thread second([&] {
        while (running.load(std::memory_order_relaxed)) writer();
    });
    audio();
    running.store(false);
    second.join();
}

}  // namespace

TEST(HandOver, DisplayPositionsStayOnTheNewestPairWhileResyncIsHammered) {
    WidefieldRig rig;
    using D = widefield::ADoubler;
    std::int64_t blocks = 0, offAnchor = 0;
    againstWriter(
        [&] {
            rig.effect->setParameter(D::kResync, 1.0f);
            rig.effect->setParameter(D::kAudioWatchdog, 1.0f);
        },
        [&] {
            for (const auto until = deadline(); std::chrono::steady_clock::now() < until; ++blocks) {
                rig.block(static_cast<std::uint32_t>(blocks), blocks % 4 == 3);
                if (rig.effect->scopeReadPosition() != rig.effect->scopeWritePosition()) ++offAnchor;
            }
        });
    EXPECT_EQ(offAnchor, 0) << "of " << blocks << " blocks";
    EXPECT_GT(blocks, 10);
}

TEST(HandOver, PhaseReadingStaysWithinItsRangeWhileResetsArrive) {
    WidefieldRig rig;
    using D = widefield::ADoubler;
    std::int64_t blocks = 0, outside = 0, holdBelowPeak = 0;
    againstWriter(
        [&] {
            rig.effect->setParameter(D::kResetPhaseRange, 1.0f);
            rig.effect->setParameter(D::kResetPeakHolds, 1.0f);
        },
        [&] {
            for (const auto until = deadline(); std::chrono::steady_clock::now() < until; ++blocks) {
                rig.block(static_cast<std::uint32_t>(blocks * 7), false);
                const widefield::MeterReadings r = rig.effect->meterReadings();
                if (r.phaseCorrelation < r.phaseMin || r.phaseCorrelation > r.phaseMax) ++outside;
                // A hold is 0 right after its reset, and otherwise at least its peak.
                if (r.peakHoldLeft != 0.0f && r.peakHoldLeft < r.peakLeft) ++holdBelowPeak;
            }
        });
    EXPECT_EQ(outside, 0) << "of " << blocks << " blocks";
    EXPECT_EQ(holdBelowPeak, 0) << "of " << blocks << " blocks";
    EXPECT_GT(blocks, 10);
}

TEST(HandOver, AReadingAfterAPeakResetNeverShowsAHoldFromBeforeIt) {
    WidefieldRig rig;
    using D = widefield::ADoubler;
    std::int64_t blocks = 0, resets = 0, stale = 0;
    againstWriter(
        [&] {
            // Every analysis sees a lower peak than the one before, so a hold
            // made after the reset lies below the peak read before it.
            const float before = rig.effect->meterReadings().peakLeft;
            rig.effect->setParameter(D::kResetPeakHolds, 1.0f);
            const float hold = rig.effect->meterReadings().peakHoldLeft;
            if (before > 0.0f) {
                ++resets;
                if (hold >= before) ++stale;
            }
        },
        [&] {
            for (const auto until = deadline(); std::chrono::steady_clock::now() < until; ++blocks) {
                // Falling by several steps of the float grid per block, however long it runs.
                const float level = static_cast<float>(1.0 / (1.0 + 1e-4 * static_cast<double>(blocks)));
                std::fill(rig.left.begin(), rig.left.end(), level);
                std::fill(rig.right.begin(), rig.right.end(), level);
                float* channels[2] = {rig.left.data(), rig.right.data()};
                rig.clock.advance(10);
                rig.effect->processReplacing(channels, channels, 441);
            }
        });
    EXPECT_EQ(stale, 0) << "of " << resets << " resets";
    EXPECT_GT(resets, 10);
}

TEST(HandOver, DecimationBlocksRunOnOneWholeDesign) {
    using namespace tonemark;
    const DecimationCoefficients designs[] = {designDecimationLowPass(48000.0), designDecimationLowPass(96000.0),
                                              designDecimationLowPass(192000.0)};
    auto sameAs = [](const DecimationCoefficients& a, const DecimationCoefficients& b) {
        bool same = a.structure == b.structure && a.factor == b.factor && a.ringScale == b.ringScale;
        for (int k = 0; k < 6; ++k) same = same && a.feedback[k] == b.feedback[k];
        for (int k = 0; k < 3; ++k)
            same = same && a.sections[k].gain == b.sections[k].gain &&
                   a.sections[k].feedback1 == b.sections[k].feedback1 &&
                   a.sections[k].feedback2 == b.sections[k].feedback2;
        return same;
    };
    auto lowPass = std::make_unique<DecimationLowPass>();
    auto ring = std::make_unique<DecimatedRing>();
    std::vector<float> input(64, 0.25f);
    std::int64_t blocks = 0, mixed = 0, changes = 0;
    std::uint32_t round = 0;
    DecimationCoefficients previous = lowPass->appliedCoefficients();
    againstWriter([&] { lowPass->setCoefficients(designs[round++ % 3]); },
                  [&] {
                      for (const auto until = deadline(); std::chrono::steady_clock::now() < until; ++blocks) {
                          lowPass->process(input.data(), 64, *ring);
                          const DecimationCoefficients applied = lowPass->appliedCoefficients();
                          if (!sameAs(applied, designs[0]) && !sameAs(applied, designs[1]) &&
                              !sameAs(applied, designs[2]) && !sameAs(applied, designDecimationLowPass(44100.0)))
                              ++mixed;
                          if (!sameAs(applied, previous)) ++changes;
                          previous = applied;
                      }
                  });
    EXPECT_EQ(mixed, 0) << "of " << blocks << " blocks";
    EXPECT_GT(changes, 0);  // the hand-over did get through
    // Once the writer stops, the next block takes its last design.
    lowPass->process(input.data(), 64, *ring);
    EXPECT_TRUE(sameAs(lowPass->appliedCoefficients(), designs[(round + 2) % 3]));
}

TEST(HandOver, AChunkReachesEachBlockWholeOrNotAtAll) {
    using I = widefield::ParameterIndex;
    // Settings of the matrices only: no filter, delay or bass, so each block's
    // output depends on its settings and its input alone.
    const ChunkSetting first[] = {{I::kOutputWidth, 0.2f}, {I::kInputRotation, 0.7f}, {I::kOutputRotation, 0.3f},
                                  {I::kCentreCut, 0.6f},   {I::kAsymmetry, 0.4f},     {I::kGainLeft, 0.45f},
                                  {I::kGainRight, 0.55f},  {I::kInputWidth, 0.9f},    {I::kSwapChannels, 1.0f}};
    ChunkSetting second[sizeof first / sizeof first[0]];
    for (std::size_t i = 0; i < sizeof first / sizeof first[0]; ++i)
        second[i] = {first[i].index, first[i].index == I::kSwapChannels ? 0.0f : 1.0f - first[i].value};
    const std::int32_t id = fourCharCode('W', 'd', 'F', 'd');
    std::vector<std::uint8_t> chunks[2] = {writeSettingsChunk(id, first, sizeof first / sizeof first[0], "A"),
                                           writeSettingsChunk(id, second, sizeof second / sizeof second[0], "B")};
    // What a block gives under each chunk alone.
    std::vector<float> expected[2];
    for (int k = 0; k < 2; ++k) {
        WidefieldRig alone;
        alone.effect->dispatcher(effSetChunk, 0, static_cast<VstIntPtr>(chunks[k].size()), chunks[k].data(), 0.0f);
        alone.block(7, false);
        expected[k] = alone.left;
        expected[k].insert(expected[k].end(), alone.right.begin(), alone.right.end());
    }
    ASSERT_NE(expected[0], expected[1]);
    // From one chunk to the other and back, one block each.
    WidefieldRig rig;
    for (int k = 0; k < 6; ++k) {
        rig.effect->dispatcher(effSetChunk, 0, static_cast<VstIntPtr>(chunks[k % 2].size()), chunks[k % 2].data(), 0.0f);
        rig.block(7, false);
        std::vector<float> got = rig.left;
        got.insert(got.end(), rig.right.begin(), rig.right.end());
        ASSERT_EQ(got, expected[k % 2]) << k;
    }
    std::int64_t blocks = 0, mixed = 0, seen[2] = {0, 0};
    std::uint32_t round = 0;
    againstWriter(
        [&] {
            std::vector<std::uint8_t>& chunk = chunks[round++ % 2];
            rig.effect->dispatcher(effSetChunk, 0, static_cast<VstIntPtr>(chunk.size()), chunk.data(), 0.0f);
        },
        [&] {
            for (const auto until = deadline(); std::chrono::steady_clock::now() < until; ++blocks) {
                rig.block(7, false);
                std::vector<float> got = rig.left;
                got.insert(got.end(), rig.right.begin(), rig.right.end());
                if (got == expected[0]) ++seen[0];
                else if (got == expected[1]) ++seen[1];
                else ++mixed;
            }
        });
    EXPECT_EQ(mixed, 0) << "of " << blocks << " blocks";
    EXPECT_GT(seen[0] + seen[1], 0);
}
