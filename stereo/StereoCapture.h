// StereoCapture.h — the rings that the output is captured into.
//
//   ScopePoint     one scope point in the pixels of a 256 x 256 square, (0, 0) top
//                  left; relaxed atomics, since the panel reads the ring while the
//                  audio thread writes it
//   scopePointOf   the point of a pair: x = 128 - round(64 (L - R)),
//                  y = 128 - round(64 (L + R)), ties to even; offsets beyond
//                  kScopeReach pixels (or of a non-finite pair) are held there
//   StereoCapture  the scope ring (40000 points, (150, 150) until written) and the
//                  two sample rings (100000 samples) the meters analyse
#pragma once

#include <atomic>
#include <cstdint>

#include "stereo/RoundToInt.h"

namespace widefield {

struct ScopePoint {
    std::atomic<std::int32_t> x{150};
    std::atomic<std::int32_t> y{150};
};

// Far outside the square, yet safe for any drawing coordinate.
constexpr double kScopeReach = 16384.0;

inline std::int32_t scopeOffset(double scaled) {
    // NaN fails both tests and lands on the lower limit.
    const double held = scaled < kScopeReach ? (scaled > -kScopeReach ? scaled : -kScopeReach) : kScopeReach;
    return roundToInt(held);
}

inline void scopePointOf(float left, float right, std::int32_t& x, std::int32_t& y) {
    x = 128 - scopeOffset(64.0 * (static_cast<double>(left) - right));
    y = 128 - scopeOffset(64.0 * (static_cast<double>(left) + right));
}

class StereoCapture {
public:
    static constexpr std::int32_t kScopeSize = 40000;
    static constexpr std::int32_t kSampleSize = 100000;

    // One pair; the write positions are the block's locals (published by
    // publish() at the end of the block).
    void capture(float left, float right, std::int32_t& scopeIndex, std::int32_t& sampleIndex) {
        if (++scopeIndex >= kScopeSize) scopeIndex = 0;
        std::int32_t x, y;
        scopePointOf(left, right, x, y);
        scopePoints[scopeIndex].x.store(x, std::memory_order_relaxed);
        scopePoints[scopeIndex].y.store(y, std::memory_order_relaxed);
        if (++sampleIndex >= kSampleSize) sampleIndex = 0;
        sampleLeft[sampleIndex] = left;
        sampleRight[sampleIndex] = right;
    }

    std::int32_t scopeIndex() const { return scopeWriteIndex.load(std::memory_order_relaxed); }
    std::int32_t sampleIndex() const { return sampleWriteIndex.load(std::memory_order_relaxed); }
    void publish(std::int32_t scopeIndex, std::int32_t sampleIndex) {
        scopeWriteIndex.store(scopeIndex, std::memory_order_relaxed);
        sampleWriteIndex.store(sampleIndex, std::memory_order_relaxed);
    }

    const ScopePoint* points() const { return scopePoints; }
    const float* left() const { return sampleLeft; }
    const float* right() const { return sampleRight; }

private:
    ScopePoint scopePoints[kScopeSize];
    float sampleLeft[kSampleSize] = {};
    float sampleRight[kSampleSize] = {};
    std::atomic<std::int32_t> scopeWriteIndex{0};
    std::atomic<std::int32_t> sampleWriteIndex{0};
};

}  // namespace widefield
