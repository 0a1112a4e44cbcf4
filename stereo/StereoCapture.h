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
#include <emmintrin.h>

#include "stereo/RoundToInt.h"

namespace widefield {

struct ScopePoint {
    std::atomic<std::int32_t> x{150};
    std::atomic<std::int32_t> y{150};
};

// Far outside the square, yet safe for any drawing coordinate.
constexpr double kScopeReach = 16384.0;

inline std::int32_t scopeOffset(double scaled) {
    // The processor's max and min, without a branch; max gives its second
    // operand for NaN, so NaN lands on the lower limit.
    const __m128d held = _mm_min_sd(_mm_max_sd(_mm_set_sd(scaled), _mm_set_sd(-kScopeReach)), _mm_set_sd(kScopeReach));
    return _mm_cvtsd_si32(held);
}

// Both coordinates at once in one pair of doubles: the same operations per
// lane as scopeOffset, half the instructions.
inline void scopePointOf(float left, float right, std::int32_t& x, std::int32_t& y) {
    const __m128d l = _mm_set1_pd(left);
    const __m128d r = _mm_set_pd(right, -static_cast<double>(right));  // lanes: L - R, L + R
    __m128d scaled = _mm_mul_pd(_mm_add_pd(l, r), _mm_set1_pd(64.0));
    scaled = _mm_min_pd(_mm_max_pd(scaled, _mm_set1_pd(-kScopeReach)), _mm_set1_pd(kScopeReach));
    const __m128i offsets = _mm_cvtpd_epi32(scaled);
    x = 128 - _mm_cvtsi128_si32(offsets);
    y = 128 - _mm_cvtsi128_si32(_mm_srli_si128(offsets, 4));
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

    // The same for the sample loop's pair (lane 0 left, lane 1 right, float values).
    void capturePair(__m128d pair, std::int32_t& scopeIndex, std::int32_t& sampleIndex) {
        if (++scopeIndex >= kScopeSize) scopeIndex = 0;
        // Lanes L + (-R) and L + R, times 64, held, rounded.
        const __m128d left = _mm_unpacklo_pd(pair, pair);
        const __m128d right = _mm_mul_pd(_mm_unpackhi_pd(pair, pair), _mm_set_pd(1.0, -1.0));
        __m128d scaled = _mm_mul_pd(_mm_add_pd(left, right), _mm_set1_pd(64.0));
        scaled = _mm_min_pd(_mm_max_pd(scaled, _mm_set1_pd(-kScopeReach)), _mm_set1_pd(kScopeReach));
        const __m128i offsets = _mm_cvtpd_epi32(scaled);
        scopePoints[scopeIndex].x.store(128 - _mm_cvtsi128_si32(offsets), std::memory_order_relaxed);
        scopePoints[scopeIndex].y.store(128 - _mm_cvtsi128_si32(_mm_srli_si128(offsets, 4)), std::memory_order_relaxed);
        if (++sampleIndex >= kSampleSize) sampleIndex = 0;
        const __m128 f = _mm_cvtpd_ps(pair);
        sampleLeft[sampleIndex] = _mm_cvtss_f32(f);
        sampleRight[sampleIndex] = _mm_cvtss_f32(_mm_shuffle_ps(f, f, 1));
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
