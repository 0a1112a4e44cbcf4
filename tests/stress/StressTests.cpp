// StressTests.cpp — the audio thread and the user-interface thread at once.
//
// One thread plays the host's audio thread (processReplacing, now and then
// process, in a loop); the test's own thread plays the host's user-interface
// thread: setParameter on every index the plug-in acts on, getParameter, editor
// open / idle / close on the headless backend, the panel's commands,
// effGetProgramName and effMainsChanged. The audio thread also automates the
// host parameters now and then, as hosts that play automation on it do. Built with ThreadSanitizer (see
// short.sh) any data race is a report and fails the run; in the normal build it
// still checks that nothing crashes and the audio stays finite.
// BRISORA_STRESS_SECONDS sets the time per plug-in (default 1).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/robustness/HostHarness.h"

namespace {

using hardening::Instance;
using hardening::ParameterKind;
using hardening::PluginKind;

double secondsWanted() {
    const char* text = std::getenv("BRISORA_STRESS_SECONDS");
    const double seconds = text ? std::atof(text) : 1.0;
    return seconds > 0.0 ? seconds : 1.0;
}

float valueFor(const PluginKind& kind, std::int32_t index, std::uint32_t round) {
    switch (kind.kindOf(index)) {
        case ParameterKind::switchValue: return round % 3 == 0 ? 1.0f : 0.0f;
        case ParameterKind::unitRange:
        case ParameterKind::unitDerived: return static_cast<float>(round % 11) / 10.0f;
        case ParameterKind::ownUnits: return index == 0 ? static_cast<float>(425 + round % 29) : static_cast<float>(round % 3);
        case ParameterKind::command:
            if (index == 50) return static_cast<float>(5 + round % 900);
            if (index == 57) return round % 2 ? 1.25f : 0.8f;
            if (index == 23) return static_cast<float>(1 + round % 4);
            return 1.0f;
        case ParameterKind::none: return 0.5f;
    }
    return 0.0f;
}

class Stress : public ::testing::TestWithParam<int> {
protected:
    const PluginKind& kind() const { return hardening::plugins()[static_cast<std::size_t>(GetParam())]; }
};

TEST_P(Stress, AudioThreadAgainstUserInterfaceThread) {
    hardening::HarnessServices services;
    Instance instance(kind(), services.get());
    ASSERT_TRUE(instance.valid());
    instance.dispatch(effOpen);
    instance.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    instance.dispatch(effSetBlockSize, 0, 256);
    instance.dispatch(effMainsChanged, 0, 1);

    std::atomic<bool> running{true};
    std::atomic<bool> audioFinite{true};
    std::atomic<std::uint64_t> blocks{0};
    std::thread audio([&] {
        hardening::StereoBlock input(256), output(256);
        std::uint32_t seed = 0;
        while (running.load(std::memory_order_relaxed)) {
            input.fillSignal(seed++);
            instance.processReplacing(input.channels(), output.channels(), 256);
            if (!output.finite()) audioFinite.store(false, std::memory_order_relaxed);
            if (seed % 8 == 0) instance.process(input.channels(), output.channels(), 256);
            if (seed % 16 == 0)
                for (std::int32_t index = 0; index < kind().numParams; ++index)
                    instance.set(index, valueFor(kind(), index, seed / 16 + static_cast<std::uint32_t>(index)));
            blocks.fetch_add(1, std::memory_order_relaxed);
        }
    });

    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(secondsWanted());
    std::uint32_t round = 0;
    char name[256];
    bool editorOpen = false;
    while (std::chrono::steady_clock::now() < until) {
        ++round;
        for (std::int32_t index : kind().settingIndices) {
            instance.set(index, valueFor(kind(), index, round + static_cast<std::uint32_t>(index)));
            (void)instance.get(index);
        }
        if (round % 4 == 1) {
            instance.openEditor();
            editorOpen = true;
        }
        for (int i = 0; i < 3; ++i) {
            services.clock.advance(65);
            services.idleWindows();
            instance.idleEditor();
        }
        instance.dispatch(effGetProgramName, 0, 0, name);
        if (round % 4 == 3) {
            instance.closeEditor();
            editorOpen = false;
        }
        if (round % 16 == 0) {
            instance.dispatch(effMainsChanged, 0, 0);
            instance.dispatch(effMainsChanged, 0, 1);
        }
    }
    running.store(false);
    audio.join();
    if (editorOpen) instance.closeEditor();
    instance.close();
    EXPECT_TRUE(audioFinite.load());
    EXPECT_GT(blocks.load(), 0u);
    RecordProperty("audioBlocks", static_cast<int>(blocks.load()));
    RecordProperty("userInterfaceRounds", static_cast<int>(round));
}

INSTANTIATE_TEST_SUITE_P(BothPlugins, Stress, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(hardening::plugins()[static_cast<std::size_t>(info.param)].name);
                         });

}  // namespace
