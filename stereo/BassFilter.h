// BassFilter.h — the low-pass of the bass adjustment.
//
//   BassCoefficients  an unnormalised second-order low-pass with Q = 1 for a
//                     crossover frequency and sample rate; `ready` stays false
//                     until computed once, and the chain never filters before
//   BassChannel       Direct Form I history of one channel and its last output
//
// Coefficients are 32-bit float values kept widened to double (constant for a
// block, so converted once); the history is held in floats, whose stores are
// the rounding (see DcFilter.h).
#pragma once

#include <cmath>

namespace widefield {

struct BassCoefficients {
    double b0 = 0.0, b1 = 0.0, b2 = 0.0, a0 = 0.0, a1 = 0.0, a2 = 0.0;
    bool ready = false;

    // crossoverHz = 1000 x bassFrequency + 100. A rate that is not a positive
    // finite number gives 44100 Hz.
    static BassCoefficients lowPass(double crossoverHz, double sampleRate);
};

struct BassChannel {
    float low = 0.0f;
    float x1 = 0.0f, x2 = 0.0f, y1 = 0.0f, y2 = 0.0f;

    // The division by a0 is made for every sample, as the section is unnormalised.
    float process(float x, const BassCoefficients& c) {
        low = static_cast<float>((c.b0 * x + c.b1 * x1 + c.b2 * x2 - c.a1 * y1 - c.a2 * y2) / c.a0);
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = low;
        return low;
    }

    void clearIfNotFinite() {
        if (!std::isfinite(low) || !std::isfinite(x1) || !std::isfinite(x2) || !std::isfinite(y1) ||
            !std::isfinite(y2))
            *this = BassChannel{};
    }
};

}  // namespace widefield
