// BlockSnapshotTests.cpp — a block runs on the settings it started with, and only
// the audio thread re-anchors the display clock.
//
// A setting that changes while a block runs is made to happen at a known point:
// the effect reads the tick count during its end-of-block steps, and the clock
// here lets a test write a parameter from inside that read, as a host thread
// could at that very moment. The sample loop has no such call-out, so its case
// uses a second thread and a block long enough to be caught in the middle.
#include "tests/stereo/EffectFixture.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "stereo/DisplayClock.h"

using namespace widefield;
using widefield::testing::StereoBlock;

namespace {

// A tick count that runs a hook each time it is read.
class HookClock final : public platform::Clock {
public:
    std::uint32_t milliseconds() const override {
        reads.fetch_add(1);
        if (hook) hook();
        return now.load();
    }
    std::atomic<std::uint32_t> now{1000};
    mutable std::atomic<int> reads{0};
    std::function<void()> hook;
};

class BlockSnapshot : public ::testing::Test {
protected:
    BlockSnapshot() : host("host.exe") {
        effect = std::make_unique<ADoubler>(nullptr, platform::Services{&clock, &store, &host, nullptr});
    }

    StereoBlock run(const StereoBlock& input) {
        StereoBlock in = input, out(input.size());
        float* ins[2] = {in.left.data(), in.right.data()};
        float* outs[2] = {out.left.data(), out.right.data()};
        effect->processReplacing(ins, outs, static_cast<std::int32_t>(input.size()));
        return out;
    }

    HookClock clock;
    platform::MemorySettingsStore store;
    platform::FixedHostProgram host;
    std::unique_ptr<ADoubler> effect;
};

}  // namespace

TEST_F(BlockSnapshot, MetersSwitchedOffDuringTheEndOfBlockStillFinishTheBlock) {
    // The block captured its pairs with the meters on, so its analysis and its
    // display position belong to it too.
    effect->setParameter(ADoubler::kSetLatency, 0.0f);
    clock.hook = [this] { effect->setParameter(ADoubler::kMetersOff, 1.0f); };
    run(StereoBlock(500, 0.5f, 0.25f));
    clock.hook = nullptr;
    EXPECT_EQ(effect->getParameter(ADoubler::kMetersOff), 1.0f);
    EXPECT_EQ(effect->meterReadings().peakLeft, 0.5f);
    EXPECT_EQ(effect->meterReadings().peakRight, 0.25f);
    EXPECT_EQ(effect->scopeReadPosition(), 500);
    // The next block runs with them off: nothing moves.
    run(StereoBlock(500, 0.9f, 0.9f));
    EXPECT_EQ(effect->sampleWritePosition(), 500);
    EXPECT_EQ(effect->meterReadings().peakLeft, 0.5f);
}

TEST_F(BlockSnapshot, ALatencyChangedDuringTheEndOfBlockWaitsForTheNextBlock) {
    effect->setParameter(ADoubler::kSetLatency, 0.0f);
    // Every read of the clock moves the latency on by 100 ms.
    int changes = 0;
    clock.hook = [&] { effect->setParameter(ADoubler::kSetLatency, static_cast<float>(100 * ++changes)); };
    run(StereoBlock(441, 0.5f, 0.5f));
    clock.hook = nullptr;
    ASSERT_GE(changes, 2);  // the anchor and at least one position were computed
    EXPECT_EQ(effect->scopeReadPosition(), 441);  // at latency 0: the newest pair
    // The next block sees the last latency written.
    const std::int32_t latency = effect->latency();
    run(StereoBlock(441));
    EXPECT_EQ(effect->scopeReadPosition(), displayPosition(0, latency, 44100.0, StereoCapture::kScopeSize, 441));
}

TEST_F(BlockSnapshot, BypassSwitchedWhileABlockRunsActsOnWholeBlocks) {
    // Every stage on; a second thread switches the bypass on and off as fast as
    // it can while long blocks run. Each block is either bypassed throughout or
    // processed throughout, never half and half.
    for (std::int32_t index : {ADoubler::kDcFilter, ADoubler::kBassOn}) effect->setParameter(index, 1.0f);
    effect->setParameter(ADoubler::kInputWidth, 0.8f);
    effect->setParameter(ADoubler::kDelay, 0.3f);
    constexpr std::int32_t kFrames = 1 << 21;
    constexpr float kLeft = 0.25f, kRight = -0.125f;
    std::vector<float> left(kFrames), right(kFrames);  // in place, as a host may
    std::atomic<bool> running{true};
    std::thread host([&] {
        for (std::uint32_t round = 0; running.load(); ++round) {
            effect->setParameter(ADoubler::kBypass, round % 2 ? 1.0f : 0.0f);
            std::this_thread::yield();
        }
    });
    for (int block = 0; block < 4; ++block) {
        std::fill(left.begin(), left.end(), kLeft);
        std::fill(right.begin(), right.end(), kRight);
        float* channels[2] = {left.data(), right.data()};
        effect->processReplacing(channels, channels, kFrames);
        const bool bypassed = left[0] == kLeft && right[0] == kRight;
        std::int32_t mixed = 0;
        for (std::int32_t i = 0; i < kFrames; ++i)
            if ((left[i] == kLeft && right[i] == kRight) != bypassed) ++mixed;
        EXPECT_EQ(mixed, 0) << "block " << block << (bypassed ? ": bypassed at first" : ": processed at first");
    }
    running.store(false);
    host.join();
}

TEST_F(BlockSnapshot, ResyncWaitsForTheNextBlock) {
    effect->setParameter(ADoubler::kSetLatency, 0.0f);
    for (int i = 0; i < 20; ++i) run(StereoBlock(500));
    ASSERT_EQ(effect->scopeWritePosition(), 10000);
    ASSERT_EQ(effect->scopeReadPosition(), 500);  // anchored after the first block, the clock standing still
    // The panel asks at 1100 ms; the audio thread's next block comes at 1150 ms
    // and anchors there, on its own write positions.
    clock.now.store(1100);
    effect->setParameter(ADoubler::kResync, 1.0f);
    EXPECT_EQ(effect->scopeReadPosition(), 500);  // nothing moves between blocks
    clock.now.store(1150);
    run(StereoBlock(0));
    EXPECT_EQ(effect->scopeReadPosition(), 10000);
    // From there the position follows the tick count.
    clock.now.store(1250);
    run(StereoBlock(0));
    EXPECT_EQ(effect->scopeReadPosition(), 10000 + 4410);
}
