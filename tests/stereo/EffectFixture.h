// EffectFixture.h — a Widefield effect on test services, and block helpers.
//
// Manual clock, in-memory settings store, host program "host.exe", headless windows; the effect is
// on the heap (its rings make it large). Blocks are stereo vectors.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/Clock.h"
#include "platform/HostProgram.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "stereo/uDoubler.h"

namespace widefield::testing {

struct StereoBlock {
    std::vector<float> left, right;
    explicit StereoBlock(std::size_t frames, float l = 0.0f, float r = 0.0f) : left(frames, l), right(frames, r) {}
    std::size_t size() const { return left.size(); }
};

class EffectTest : public ::testing::Test {
protected:
    EffectTest() : host("host.exe") { effect = makeEffect(); }

    std::unique_ptr<ADoubler> makeEffect() {
        platform::Services services;
        services.clock = &clock;
        services.settings = &store;
        services.hostProgram = &host;
        services.windows = &windows;
        return std::make_unique<ADoubler>(nullptr, services);
    }

    // Runs processReplacing on a copy of input and returns the output.
    StereoBlock run(const StereoBlock& input) {
        StereoBlock in = input, out(input.size());
        float* ins[2] = {in.left.data(), in.right.data()};
        float* outs[2] = {out.left.data(), out.right.data()};
        effect->processReplacing(ins, outs, static_cast<std::int32_t>(input.size()));
        return out;
    }

    // One pair through the full chain.
    std::pair<float, float> runPair(float l, float r) {
        StereoBlock in(1, l, r);
        const StereoBlock out = run(in);
        return {out.left[0], out.right[0]};
    }

    // processReplacing on an impulse block: in each channel 1.0 at sample 0.
    StereoBlock runImpulse(std::size_t frames, float left, float right) {
        StereoBlock in(frames);
        in.left[0] = left;
        in.right[0] = right;
        return run(in);
    }

    void set(std::int32_t index, float value) { effect->setParameter(index, value); }

    platform::ManualClock clock{1000};
    platform::MemorySettingsStore store;
    platform::FixedHostProgram host;
    platform::HeadlessWindowSystem windows{clock};
    std::unique_ptr<ADoubler> effect;
};

}  // namespace widefield::testing
