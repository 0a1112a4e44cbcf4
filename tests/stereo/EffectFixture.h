// EffectFixture.h — a Widefield effect on test services, and ways to run blocks through it.
//
// Manual clock at 1000 ms, in-memory settings store, host program "host.exe", headless windows; the
// effect is on the heap (its rings make it large). Blocks are the tests' StereoBlock.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "stereo/uDoubler.h"
#include "tests/support/EffectServices.h"
#include "tests/support/StereoBlock.h"

namespace widefield::testing {

using test_support::StereoBlock;

class EffectTest : public ::testing::Test, protected test_support::WindowedEffectServices {
protected:
    EffectTest() : WindowedEffectServices(1000, "host.exe") { effect = makeEffect(); }

    std::unique_ptr<ADoubler> makeEffect() { return std::make_unique<ADoubler>(nullptr, services()); }

    // Runs processReplacing on a copy of input and returns the output.
    StereoBlock run(const StereoBlock& input) {
        StereoBlock in = input, out(input.size());
        effect->processReplacing(in.channels(), out.channels(), static_cast<std::int32_t>(input.size()));
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

    std::unique_ptr<ADoubler> effect;
};

}  // namespace widefield::testing
