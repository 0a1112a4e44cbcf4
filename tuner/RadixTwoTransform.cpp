// RadixTwoTransform.cpp — in-place radix-2 FFT on separate real and imaginary arrays.
//
// Arithmetic: stored values are floats; the twiddle products are formed and
// differenced in double and rounded once to a float (tr, ti). The sums
// re[j] ± tr are plain float operations, which equal the double expression
// rounded to a float, so they can run four at a time.
#include "tuner/RadixTwoTransform.h"

#include <cmath>

#include "tuner/fourier2.h"

namespace tonemark {

RadixTwoTransform::RadixTwoTransform() {
    for (std::int32_t i = 0; i < kMaxSize; ++i) {
        bitReversed[i] = 0;
        twiddleRe[i] = twiddleIm[i] = 0.0f;
    }
    configure(1);
}

void RadixTwoTransform::configure(std::int32_t order) {
    if (order < 1) order = 1;
    if (order > kMaxOrder) order = kMaxOrder;
    if (order == currentOrder) return;
    currentOrder = order;
    const std::int32_t n = 1 << order;
    for (std::int32_t i = 0; i < n; ++i)
        bitReversed[i] = static_cast<std::int32_t>(reverseBits(static_cast<std::uint32_t>(i), order));
    // One recurrence per stage, exactly as each block would run it.
    const double pi = 3.14159265358979323846;
    for (std::int32_t half = 1, size = 2; size <= n; half = size, size *= 2) {
        const float theta = static_cast<float>(2.0 * pi / size);
        const float halfSine = static_cast<float>(std::sin(static_cast<double>(theta) / 2.0));
        const float alpha = static_cast<float>(2.0 * (static_cast<double>(halfSine) * halfSine));
        const float beta = static_cast<float>(std::sin(static_cast<double>(theta)));
        float wr = 1.0f, wi = 0.0f;
        for (std::int32_t j = 0; j < half; ++j) {
            twiddleRe[half + j] = wr;
            twiddleIm[half + j] = wi;
            const float t = static_cast<float>(static_cast<double>(alpha) * wr + static_cast<double>(beta) * wi);
            wi = static_cast<float>(wi - (static_cast<double>(alpha) * wi - static_cast<double>(beta) * wr));
            wr = static_cast<float>(static_cast<double>(wr) - t);
        }
    }
}

void RadixTwoTransform::transform(float* __restrict re, float* __restrict im) const {
    const std::int32_t n = size();
    for (std::int32_t half = 1, size = 2; size <= n; half = size, size *= 2) {
        const float* __restrict wrs = twiddleRe + half;
        const float* __restrict wis = twiddleIm + half;
        for (std::int32_t k = 0; k < n; k += size) {
            float* __restrict reLow = re + k;
            float* __restrict imLow = im + k;
            float* __restrict reHigh = re + k + half;
            float* __restrict imHigh = im + k + half;
            for (std::int32_t j = 0; j < half; ++j) {
                const double wr = wrs[j], wi = wis[j];
                const double hr = reHigh[j], hi = imHigh[j];
                const float tr = static_cast<float>(wr * hr - wi * hi);
                const float ti = static_cast<float>(wr * hi + wi * hr);
                const float lr = reLow[j], li = imLow[j];
                reHigh[j] = lr - tr;
                imHigh[j] = li - ti;
                reLow[j] = lr + tr;
                imLow[j] = li + ti;
            }
        }
    }
}

}  // namespace tonemark
