// StereoBlock.h — two channels of samples, the block every test feeds an effect.
//
//   StereoBlock(frames, l, r)  both channels filled with one value each
//   channels()                 {left, right} as process and processReplacing take them
//   fillSignal(seed)           a deterministic test signal over the whole block
//   finite()                   no NaN or infinity in either channel
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace test_support {

struct StereoBlock {
    std::vector<float> left, right;

    explicit StereoBlock(std::size_t frames, float l = 0.0f, float r = 0.0f) : left(frames, l), right(frames, r) {}
    std::size_t size() const { return left.size(); }

    // Taken afresh on each call, so a copied block hands out its own channels.
    float** channels() {
        pointers[0] = left.data();
        pointers[1] = right.data();
        return pointers;
    }

    // Two detuned sines with a little noise; the seed picks the phase and the noise.
    void fillSignal(std::uint32_t seed) {
        std::uint32_t state = seed * 2654435761u + 1u;
        for (std::size_t i = 0; i < size(); ++i) {
            state = state * 1664525u + 1013904223u;
            const double noise = (static_cast<double>(state >> 8) / 16777216.0 - 0.5) * 0.01;
            const double t = static_cast<double>(seed % 1000u) * 977.0 + static_cast<double>(i);
            left[i] = static_cast<float>(0.5 * std::sin(t * 0.0627) + noise);
            right[i] = static_cast<float>(0.4 * std::sin(t * 0.0411 + 0.3) - noise);
        }
    }

    bool finite() const {
        for (std::size_t i = 0; i < size(); ++i)
            if (!std::isfinite(left[i]) || !std::isfinite(right[i])) return false;
        return true;
    }

private:
    float* pointers[2] = {nullptr, nullptr};
};

}  // namespace test_support
