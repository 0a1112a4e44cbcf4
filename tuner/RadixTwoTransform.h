// RadixTwoTransform.h — in-place radix-2 FFT on separate real and imaginary arrays.
//
//   RadixTwoTransform  decimation in time, natural-order output, positive
//                      exponent; sizes 2 to 32768
//
// The twiddles of each stage come from the recurrence that multiplies by
// cos θ + i·sin θ, started at 1 + 0i. Since every block of a stage starts it
// afresh, one stage's sequence serves all of its blocks: it is computed once per
// size, as is the bit-reversed order of the load. The results are bit for bit
// those of running the recurrence inside every block.
#pragma once

#include <cstdint>

namespace tonemark {

class RadixTwoTransform {
public:
    static constexpr std::int32_t kMaxOrder = 15;
    static constexpr std::int32_t kMaxSize = 1 << kMaxOrder;

    RadixTwoTransform();
    RadixTwoTransform(const RadixTwoTransform&) = delete;
    RadixTwoTransform& operator=(const RadixTwoTransform&) = delete;

    // Makes the tables for 2^order points (1 to kMaxOrder); a no-op for the current order.
    void configure(std::int32_t order);
    std::int32_t order() const { return currentOrder; }
    std::int32_t size() const { return 1 << currentOrder; }
    // Where input sample i goes for the transform: reverseBits(i, order).
    const std::int32_t* bitReversedOrder() const { return bitReversed; }

    // Transforms size() points, already loaded in bit-reversed order.
    void transform(float* re, float* im) const;

private:
    std::int32_t currentOrder = 0;
    std::int32_t bitReversed[kMaxSize];
    // Stage with half-length h keeps its twiddles at [h, 2h).
    float twiddleRe[kMaxSize];
    float twiddleIm[kMaxSize];
};

}  // namespace tonemark
