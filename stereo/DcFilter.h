// DcFilter.h — the DC filter of one input channel.
//
// A running mean with a slope term, both held as 32-bit floats (so a constant
// input settles at a small residue rather than at 0); the arithmetic is double.
// The state stays in float variables: kept widened in doubles, GCC 12's
// vectoriser dropped the rounding of packed state, so the store to float is
// the rounding. The chain copies the two channels into locals for a block and
// back after it.
#pragma once

#include <cmath>

namespace widefield {

struct DcFilter {
    float mean = 0.0f;
    float slope = 0.0f;

    float process(float x) {
        slope = static_cast<float>(slope + (static_cast<double>(x) - mean) * 0.000004567);
        mean = static_cast<float>(static_cast<double>(mean) + slope);
        slope = static_cast<float>(static_cast<double>(slope) * 0.96);
        return static_cast<float>(static_cast<double>(x) - mean);
    }

    // State that a non-finite input has reached is cleared, so one bad sample
    // does not silence the channel for ever.
    void clearIfNotFinite() {
        if (!std::isfinite(mean) || !std::isfinite(slope)) mean = slope = 0.0f;
    }
};

}  // namespace widefield
