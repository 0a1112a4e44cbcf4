// AudioThreadAllocationTests.cpp — the audio thread neither allocates nor locks.
//
// For both plug-ins, every setting index is swept through ordinary, edge and
// hostile values (on the control thread, as a host would), with the editor
// closed and open, at several sample rates; after each change a separate audio
// thread runs processReplacing and process on blocks of many sizes while the
// interposed allocator counts what that thread calls. The count must stay zero.
// A first group proves that the counter itself sees allocations and locks.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/alloc/AudioThreadCounter.h"
#include "tests/robustness/HostHarness.h"

namespace {

using alloccount::AudioThreadScope;
using alloccount::countsOnAudioThread;
using alloccount::resetCounts;
using hardening::Instance;
using hardening::ParameterKind;
using hardening::PluginKind;
using hardening::StereoBlock;

constexpr std::int32_t kBlockSizes[] = {1, 3, 64, 257, 1024, 4096};
constexpr std::int32_t kLargestBlock = 4096;

std::vector<float> valuesFor(std::int32_t index, ParameterKind kind) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    switch (kind) {
        case ParameterKind::switchValue: return {1.0f, 0.0f, 2.0f, 0.999f, 1.0f};
        case ParameterKind::unitRange:
        case ParameterKind::unitDerived: return {0.0f, 0.25f, 1.0f, 0.75f, -1.0f, 2.0f, nan, inf, 0.5f};
        case ParameterKind::ownUnits:
            if (index == 0) return {425.0f, 453.0f, 0.0f, -5.0f, 1e30f, nan, 440.0f};
            return {0.0f, 2.0f, 3.0f, -1.0f, nan, 1.0f};
        case ParameterKind::command:
            if (index == 50) return {5.0f, 1000.0f, 750.0f};
            if (index == 57) return {0.5f, 4.0f, 1.0f};
            if (index == 23) return {4.0f, 1.0f};
            return {1.0f, 0.0f};
        case ParameterKind::none: return {1.0f};
    }
    return {};
}

struct AudioRun {
    std::uint64_t calls = 0;
    bool finite = true;
};

// Runs one round of audio on a fresh thread and returns what it was caught doing.
AudioRun runAudioThread(Instance& instance, StereoBlock& input, StereoBlock& output) {
    bool finite = true;
    resetCounts();
    std::thread audio([&] {
        AudioThreadScope scope;
        for (std::int32_t frames : kBlockSizes) {
            instance.processReplacing(input.channels(), output.channels(), frames);
            finite = finite && output.finite();
            instance.process(input.channels(), output.channels(), frames);
            instance.processReplacing(input.channels(), output.channels(), 0);
        }
    });
    audio.join();
    return {countsOnAudioThread().total(), finite};
}

TEST(AudioThreadCounter, SeesAllocationsAndLocksOnTheMarkedThreadOnly) {
    resetCounts();
    std::mutex mutex;
    std::thread marked([&] {
        AudioThreadScope scope;
        auto* value = new std::vector<int>(100);
        delete value;
        std::lock_guard<std::mutex> guard(mutex);
    });
    marked.join();
    const auto counts = countsOnAudioThread();
    EXPECT_GE(counts.news, 1u);
    EXPECT_GE(counts.deletes, 1u);
    EXPECT_GE(counts.locks, 2u);

    resetCounts();
    std::thread unmarked([&] {
        auto* value = new std::vector<int>(100);
        delete value;
        std::lock_guard<std::mutex> guard(mutex);
    });
    unmarked.join();
    EXPECT_EQ(countsOnAudioThread().total(), 0u);
}

class AudioThreadAllocation : public ::testing::TestWithParam<int> {
protected:
    const PluginKind& kind() const { return hardening::plugins()[static_cast<std::size_t>(GetParam())]; }
};

TEST_P(AudioThreadAllocation, EverySettingWithEditorClosedAndOpen) {
    hardening::HarnessServices services;
    Instance instance(kind(), services.get());
    ASSERT_TRUE(instance.valid());
    StereoBlock input(kLargestBlock), output(kLargestBlock);
    input.fillSignal(7);

    instance.dispatch(effOpen);
    instance.dispatch(effSetBlockSize, 0, kLargestBlock);
    std::uint64_t configurations = 0;
    for (bool editorOpen : {false, true}) {
        if (editorOpen) instance.openEditor();
        for (float rate : {44100.0f, 48000.0f, 96000.0f, 22050.0f}) {
            instance.dispatch(effMainsChanged, 0, 0);
            instance.dispatch(effSetSampleRate, 0, 0, nullptr, rate);
            instance.dispatch(effMainsChanged, 0, 1);
            for (std::int32_t index : kind().settingIndices) {
                for (float value : valuesFor(index, kind().kindOf(index))) {
                    instance.set(index, value);
                    services.clock.advance(70);
                    instance.idleEditor();
                    const AudioRun run = runAudioThread(instance, input, output);
                    ++configurations;
                    EXPECT_EQ(run.calls, 0u) << kind().name << " index " << index << " value " << value
                                             << " rate " << rate << (editorOpen ? " editor open" : " editor closed");
                    instance.idleEditor();
                }
            }
        }
        // Every switch on at once, then every continuous setting at its extremes.
        for (std::int32_t index : kind().settingIndices)
            if (kind().kindOf(index) == ParameterKind::switchValue) instance.set(index, 1.0f);
        for (float extreme : {0.0f, 1.0f}) {
            for (std::int32_t index : kind().settingIndices)
                if (kind().kindOf(index) == ParameterKind::unitRange || kind().kindOf(index) == ParameterKind::unitDerived)
                    instance.set(index, extreme);
            const AudioRun run = runAudioThread(instance, input, output);
            ++configurations;
            EXPECT_EQ(run.calls, 0u) << kind().name << " all switches on, continuous at " << extreme;
        }
        if (editorOpen) instance.closeEditor();
    }
    RecordProperty("configurations", static_cast<int>(configurations));
}

INSTANTIATE_TEST_SUITE_P(BothPlugins, AudioThreadAllocation, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(hardening::plugins()[static_cast<std::size_t>(info.param)].name);
                         });

}  // namespace
