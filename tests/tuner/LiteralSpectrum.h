// LiteralSpectrum.h — the detector's spectrum computed the plain way, as the
// reference the fast transform must match bit for bit (tests and benchmarks).
//
// Bit-reversed load with reverseBits per sample, the twiddle recurrence run
// inside every block of every stage, magnitudes of bins 0 to N/2.
#pragma once

#include <cmath>
#include <cstdint>

#include "tuner/DecimatedRing.h"
#include "tuner/fourier2.h"

namespace tonemark::testing {

inline void literalSpectrum(const DecimatedRing& ring, std::int32_t endIndex, std::int32_t n, const float* window,
                            float* re, float* im) {
    const std::int32_t order = lowestSetBit(static_cast<std::uint32_t>(n));
    std::int32_t p = endIndex - n + 1;
    if (p < 0) p += DecimatedRing::kLength;
    for (std::int32_t i = 0; i < n; ++i) {
        const std::uint32_t j = reverseBits(static_cast<std::uint32_t>(i), order);
        re[j] = ring.at(p) * window[i];
        im[j] = 0.0f;
        if (++p == DecimatedRing::kLength) p = 0;
    }
    const double pi = 3.14159265358979323846;
    for (std::int32_t half = 1, size = 2; size <= n; half = size, size *= 2) {
        const float theta = static_cast<float>(2.0 * pi / size);
        const float halfSine = static_cast<float>(std::sin(static_cast<double>(theta) / 2.0));
        const float alpha = static_cast<float>(2.0 * (static_cast<double>(halfSine) * halfSine));
        const float beta = static_cast<float>(std::sin(static_cast<double>(theta)));
        for (std::int32_t k = 0; k < n; k += size) {
            float wr = 1.0f, wi = 0.0f;
            for (std::int32_t j = k; j < k + half; ++j) {
                const std::int32_t h = j + half;
                const float tr = static_cast<float>(static_cast<double>(wr) * re[h] - static_cast<double>(wi) * im[h]);
                const float ti = static_cast<float>(static_cast<double>(wr) * im[h] + static_cast<double>(wi) * re[h]);
                re[h] = static_cast<float>(static_cast<double>(re[j]) - tr);
                im[h] = static_cast<float>(static_cast<double>(im[j]) - ti);
                re[j] = static_cast<float>(static_cast<double>(re[j]) + tr);
                im[j] = static_cast<float>(static_cast<double>(im[j]) + ti);
                const float t = static_cast<float>(static_cast<double>(alpha) * wr + static_cast<double>(beta) * wi);
                wi = static_cast<float>(wi - (static_cast<double>(alpha) * wi - static_cast<double>(beta) * wr));
                wr = static_cast<float>(static_cast<double>(wr) - t);
            }
        }
    }
    for (std::int32_t b = 0; b <= n / 2; ++b)
        re[b] = static_cast<float>(std::sqrt(static_cast<double>(re[b]) * re[b] + static_cast<double>(im[b]) * im[b]));
}

}  // namespace tonemark::testing
