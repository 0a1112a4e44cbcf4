// BassFilter.h — the low-pass of the bass adjustment.
//
//   BassCoefficients  an unnormalised second-order low-pass with Q = 1 for a
//                     crossover frequency and sample rate; `ready` stays false
//                     until computed once, and the chain never filters before
//   BassChannel       Direct Form I history of one channel and its last output
#pragma once

#include <cmath>

namespace widefield {

struct BassCoefficients {
    float b0 = 0.0f, b1 = 0.0f, b2 = 0.0f, a0 = 0.0f, a1 = 0.0f, a2 = 0.0f;
    bool ready = false;

    // crossoverHz = 1000 x bassFrequency + 100. A rate that is not a positive
    // finite number gives 44100 Hz.
    static BassCoefficients lowPass(double crossoverHz, double sampleRate);
};

struct BassChannel {
    float low = 0.0f;
    float x1 = 0.0f, x2 = 0.0f, y1 = 0.0f, y2 = 0.0f;

    float process(float x, const BassCoefficients& c) {
        const double y = (static_cast<double>(c.b0) * x + static_cast<double>(c.b1) * x1 +
                          static_cast<double>(c.b2) * x2 - static_cast<double>(c.a1) * y1 -
                          static_cast<double>(c.a2) * y2) /
                         c.a0;
        low = static_cast<float>(y);
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
