// LifetimeTests.cpp — instances come and go without a trace and never share state.
//
//   Cycles       create / effOpen / editor open / process / idle / editor close /
//                effClose, BRISORA_LIFETIME_CYCLES times (1000 by default); the
//                leak check itself is the sanitizer's or valgrind's
//   Independence 16 instances of each plug-in in one process: the same input gives
//                bit-identical output and readings, and changing one instance's
//                settings leaves every other one exactly as a lone instance
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/robustness/HostHarness.h"

namespace {

using hardening::Instance;
using hardening::PluginKind;
using hardening::StereoBlock;

constexpr std::int32_t kBlock = 512;
constexpr int kInstances = 16;
constexpr int kBlocks = 40;
constexpr int kChanged = 5;  // the instance whose settings move

int cyclesWanted() {
    const char* text = std::getenv("BRISORA_LIFETIME_CYCLES");
    const int cycles = text ? std::atoi(text) : 1000;
    return cycles > 0 ? cycles : 1000;
}

class Lifetime : public ::testing::TestWithParam<int> {
protected:
    const PluginKind& kind() const { return hardening::plugins()[static_cast<std::size_t>(GetParam())]; }
};

TEST_P(Lifetime, Cycles) {
    hardening::HarnessServices services;
    StereoBlock input(kBlock), output(kBlock);
    const int cycles = cyclesWanted();
    for (int cycle = 0; cycle < cycles; ++cycle) {
        Instance instance(kind(), services.get());
        ASSERT_TRUE(instance.valid()) << "cycle " << cycle;
        instance.dispatch(effOpen);
        instance.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        instance.dispatch(effSetBlockSize, 0, kBlock);
        instance.dispatch(effMainsChanged, 0, 1);
        instance.openEditor();
        input.fillSignal(static_cast<std::uint32_t>(cycle));
        for (int i = 0; i < 3; ++i) {
            instance.processReplacing(input.channels(), output.channels(), kBlock);
            services.clock.advance(100);
            services.idleWindows();
            instance.idleEditor();
        }
        instance.process(input.channels(), output.channels(), kBlock);
        ASSERT_TRUE(output.finite());
        if (cycle % 2 == 0) instance.closeEditor();  // otherwise effClose closes it
        instance.dispatch(effMainsChanged, 0, 0);
        instance.close();
        ASSERT_EQ(services.liveWindows(), 0u) << "cycle " << cycle << ": a window outlived its instance";
        ASSERT_EQ(services.liveTimers(), 0u) << "cycle " << cycle << ": a timer outlived its instance";
    }
}

// Audio and, for Tonemark, the detector's reading after each block.
struct Trace {
    std::vector<float> samples;
    std::vector<float> readings;
};

void changeSettings(const PluginKind& kind, Instance& instance) {
    if (kind.numParams == 2) {
        instance.set(hardening::Tuner::kReferencePitch, 430.0f);
        instance.set(hardening::Tuner::kAccuracy, 2.0f);
        return;
    }
    using Stereo = hardening::Stereo;
    for (std::int32_t index : {Stereo::kInvertLeft, Stereo::kMonoOut, Stereo::kSwapChannels, Stereo::kDcFilter,
                               Stereo::kBassOn, Stereo::kPseudoStereo})
        instance.set(index, 1.0f);  // not bypass
    for (std::int32_t index : {Stereo::kOutputWidth, Stereo::kInputRotation, Stereo::kOutputRotation,
                               Stereo::kCentreCut, Stereo::kDelay, Stereo::kGainLeft, Stereo::kAsymmetry,
                               Stereo::kInputWidth, Stereo::kBassFrequency, Stereo::kBassBoost, Stereo::kBassWidth})
        instance.set(index, 0.8f);
}

void recordBlock(const PluginKind& kind, Instance& instance, const StereoBlock& output, Trace& trace) {
    trace.samples.insert(trace.samples.end(), output.left.begin(), output.left.end());
    trace.samples.insert(trace.samples.end(), output.right.begin(), output.right.end());
    if (kind.numParams == 2) {
        auto* tuner = static_cast<tonemark::ADoubler*>(instance.record()->object);
        const tonemark::PitchReading reading = tuner->measure();
        (void)reading;
        trace.readings.push_back(tuner->getDetectedFrequency());
        trace.readings.push_back(tuner->getNoReading());
    }
    for (std::int32_t index = 0; index < 24; ++index) trace.readings.push_back(instance.get(index));
}

bool bitIdentical(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

TEST_P(Lifetime, SixteenInstancesAreIndependent) {
    hardening::HarnessServices services;
    StereoBlock input(kBlock), output(kBlock);

    // A lone instance, untouched, then one whose settings move at block 10.
    auto runAlone = [&](bool changed) {
        Trace trace;
        Instance lone(kind(), services.get());
        lone.dispatch(effMainsChanged, 0, 1);
        for (int b = 0; b < kBlocks; ++b) {
            if (changed && b == 10) changeSettings(kind(), lone);
            input.fillSignal(static_cast<std::uint32_t>(b));
            lone.processReplacing(input.channels(), output.channels(), kBlock);
            recordBlock(kind(), lone, output, trace);
        }
        return trace;
    };
    const Trace reference = runAlone(false);
    const Trace changedReference = runAlone(true);

    std::vector<std::unique_ptr<Instance>> instances;
    for (int i = 0; i < kInstances; ++i) {
        instances.push_back(std::make_unique<Instance>(kind(), services.get()));
        ASSERT_TRUE(instances.back()->valid());
        instances.back()->dispatch(effMainsChanged, 0, 1);
        if (i % 3 == 0) instances.back()->openEditor();
    }
    std::vector<Trace> traces(kInstances);
    for (int b = 0; b < kBlocks; ++b) {
        if (b == 10) changeSettings(kind(), *instances[kChanged]);
        for (int i = 0; i < kInstances; ++i) {
            input.fillSignal(static_cast<std::uint32_t>(b));
            instances[static_cast<std::size_t>(i)]->processReplacing(input.channels(), output.channels(), kBlock);
            recordBlock(kind(), *instances[static_cast<std::size_t>(i)], output, traces[static_cast<std::size_t>(i)]);
        }
        for (auto& instance : instances) instance->idleEditor();
    }
    for (int i = 0; i < kInstances; ++i) {
        const Trace& expected = i == kChanged ? changedReference : reference;
        EXPECT_TRUE(bitIdentical(traces[static_cast<std::size_t>(i)].samples, expected.samples))
            << kind().name << " instance " << i << " audio differs from a lone instance";
        EXPECT_TRUE(bitIdentical(traces[static_cast<std::size_t>(i)].readings, expected.readings))
            << kind().name << " instance " << i << " readings differ from a lone instance";
    }
    if (kind().numParams == 15) {
        EXPECT_FALSE(bitIdentical(reference.samples, changedReference.samples))
            << "the changed settings should change Widefield's output";
    }
}

INSTANTIATE_TEST_SUITE_P(BothPlugins, Lifetime, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(hardening::plugins()[static_cast<std::size_t>(info.param)].name);
                         });

}  // namespace
