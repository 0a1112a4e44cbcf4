// StereoCapture.h — the rings that the output is captured into.
//
//   ScopePoint     one scope point in the pixels of a 256 x 256 square, (0, 0) top
//                  left, 16 bits a coordinate; relaxed atomics, since the panel
//                  reads the ring while the audio thread writes it
//   scopePointOf   the point of a pair: x = 128 - round(64 (L - R)),
//                  y = 128 - round(64 (L + R)), ties to even; offsets beyond
//                  kScopeReach pixels (or of a non-finite pair) are held there
//   StereoCapture  the scope ring ((150, 150) until written) and the two sample
//                  rings the meters analyse, all kRingSize entries long
//   limitedLatency the display latency that the rings can serve at a rate
//
// Ring size: the display position lies up to 1000 ms behind the newest entry;
// behind it come the 1024 points of a trace, and the panel draws a trace some
// time after its position was published (its idle or timer may come late). At
// 192 kHz that is 192000 + 1024 + 48000 (250 ms of lag) + two blocks of
// analysis, and 2^18 entries hold it with room for blocks of 8192 frames.
#pragma once

#include <atomic>
#include <cmath>
#include <cstdint>
#include <emmintrin.h>

namespace widefield {

struct ScopePoint {
    std::atomic<std::int16_t> x{150};
    std::atomic<std::int16_t> y{150};
};

// Far outside the square, yet within 16 bits and safe for any drawing coordinate.
constexpr double kScopeReach = 16384.0;

// Both coordinates at once in one pair of doubles.
inline void scopePointOf(float left, float right, std::int32_t& x, std::int32_t& y) {
    const __m128d l = _mm_set1_pd(left);
    const __m128d r = _mm_set_pd(right, -static_cast<double>(right));  // lanes: L - R, L + R
    __m128d scaled = _mm_mul_pd(_mm_add_pd(l, r), _mm_set1_pd(64.0));
    // The processor's max and min: max gives its second operand for NaN, so NaN
    // lands on the lower limit.
    scaled = _mm_min_pd(_mm_max_pd(scaled, _mm_set1_pd(-kScopeReach)), _mm_set1_pd(kScopeReach));
    const __m128i offsets = _mm_cvtpd_epi32(scaled);
    x = 128 - _mm_cvtsi128_si32(offsets);
    y = 128 - _mm_cvtsi128_si32(_mm_srli_si128(offsets, 4));
}

constexpr std::int32_t kRingSize = 1 << 18;
constexpr std::int32_t kTraceLength = 1024;
// Kept free behind the oldest point a trace reads: the drawing lag (at least
// 250 ms) and two blocks of analysis.
constexpr double kDrawingLagSeconds = 0.25;
constexpr std::int32_t kAnalysisReserve = 2 * 8192;

// latencyMs limited to 0 and to what the rings hold behind the display position
// at sampleRate: no limit up to 1000 ms at rates up to 192 kHz; 387 ms at 384 kHz.
inline std::int32_t limitedLatency(std::int32_t latencyMs, double sampleRate) {
    if (latencyMs < 0) return 0;
    if (!(sampleRate > 0.0) || !std::isfinite(sampleRate)) return latencyMs;
    const double free = kRingSize - kTraceLength - kAnalysisReserve - std::ceil(kDrawingLagSeconds * sampleRate);
    const double limit = free > 0.0 ? std::floor(free * 1000.0 / sampleRate) : 0.0;
    return latencyMs > limit ? static_cast<std::int32_t>(limit) : latencyMs;
}

class StereoCapture {
public:
    static constexpr std::int32_t kScopeSize = kRingSize;
    static constexpr std::int32_t kSampleSize = kRingSize;

    // One pair; the write positions are the block's locals (published by
    // publish() at the end of the block).
    void capture(float left, float right, std::int32_t& scopeIndex, std::int32_t& sampleIndex) {
        if (++scopeIndex >= kScopeSize) scopeIndex = 0;
        std::int32_t x, y;
        scopePointOf(left, right, x, y);
        scopePoints[scopeIndex].x.store(static_cast<std::int16_t>(x), std::memory_order_relaxed);
        scopePoints[scopeIndex].y.store(static_cast<std::int16_t>(y), std::memory_order_relaxed);
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
        scopePoints[scopeIndex].x.store(static_cast<std::int16_t>(128 - _mm_cvtsi128_si32(offsets)),
                                        std::memory_order_relaxed);
        scopePoints[scopeIndex].y.store(static_cast<std::int16_t>(128 - _mm_cvtsi128_si32(_mm_srli_si128(offsets, 4))),
                                        std::memory_order_relaxed);
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
