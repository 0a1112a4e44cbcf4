// StereoDelay.h — the inter-channel delay and the pseudo-stereo comb.
//
// Two rings of 1000 samples written on every sample whatever the delay, so a
// change of the delay or mode uses samples already there. The chain keeps the
// write position in a local for the block (process takes it by reference).
// D < 0 acts on the left channel, D > 0 on the right; |D| <= kMaxDelay.
// process() takes one channel value each; processPair() the sample loop's pair
// (StereoPair.h), with the same operations lane by lane.
#pragma once

#include <cstdint>
#include <emmintrin.h>

namespace widefield {

class StereoDelay {
public:
    static constexpr std::int32_t kRingSize = 1000;
    static constexpr std::int32_t kMaxDelay = 120;

    void process(float& left, float& right, std::int32_t delay, bool pseudoStereo, std::int32_t& index) {
        // 1. Newest pair into the rings.
        if (++index > kRingSize - 1) index = 0;
        ring[2 * index] = left;
        ring[2 * index + 1] = right;
        if (delay == 0) return;
        // 2. The pair |D| samples ago.
        const std::int32_t j = tap(index, delay);
        const double ld = ring[2 * j], rd = ring[2 * j + 1];
        if (pseudoStereo) {
            // 3. The comb: each side gets a third of a delayed side, with opposite signs.
            if (delay < 0) {
                left = static_cast<float>(left + 0.33 * rd);
                right = static_cast<float>(right - 0.33 * ld);
            } else {
                left = static_cast<float>(left - 0.33 * ld);
                right = static_cast<float>(right + 0.33 * rd);
            }
        } else if (delay < 0) {
            // 4. Plain delay of the left channel.
            left = static_cast<float>(ld);
        } else {
            // Plain delay of the right channel; the left keeps the undelayed sum L + R.
            right = static_cast<float>(rd);
            left = static_cast<float>(2.0 * left - rd);
        }
    }

    // x holds float values (lane 0 left, lane 1 right).
    __m128d processPair(__m128d x, std::int32_t delay, bool pseudoStereo, std::int32_t& index) {
        if (++index > kRingSize - 1) index = 0;
        _mm_storel_pi(reinterpret_cast<__m64*>(&ring[2 * index]), _mm_cvtpd_ps(x));
        if (delay == 0) return x;
        const std::int32_t j = tap(index, delay);
        const __m128d d = _mm_cvtps_pd(_mm_loadl_pi(_mm_setzero_ps(), reinterpret_cast<const __m64*>(&ring[2 * j])));
        if (pseudoStereo) {
            // L + 0.33 Rd and R + (-(0.33 Ld)) for D < 0; L + (-(0.33 Ld)) and R + 0.33 Rd for D > 0.
            const __m128d taps = delay < 0 ? _mm_shuffle_pd(d, d, 1) : d;
            const __m128d signs = delay < 0 ? _mm_set_pd(-1.0, 1.0) : _mm_set_pd(1.0, -1.0);
            const __m128d comb = _mm_mul_pd(_mm_mul_pd(taps, _mm_set1_pd(0.33)), signs);
            return _mm_cvtps_pd(_mm_cvtpd_ps(_mm_add_pd(x, comb)));
        }
        if (delay < 0) return _mm_move_sd(x, d);  // (Ld, R)
        // (2 L - Rd, Rd)
        const __m128d twice = _mm_sub_pd(_mm_mul_pd(_mm_set1_pd(2.0), x), _mm_shuffle_pd(d, d, 1));
        return _mm_cvtps_pd(_mm_cvtpd_ps(_mm_move_sd(d, twice)));
    }

    // After a block: when one of the `count` newest pairs (up to `index`) is not
    // finite, the whole ring is cleared, so a NaN or infinity from the host does
    // not return |D| samples later into audio that is finite again.
    void clearIfNonFinite(std::int32_t index, std::int32_t count) {
        if (count > kRingSize) count = kRingSize;
        float probe = 0.0f;  // x - x is 0 for every finite x and NaN otherwise
        for (std::int32_t k = 0, j = index; k < count; ++k, j = j == 0 ? kRingSize - 1 : j - 1)
            probe += (ring[2 * j] - ring[2 * j]) + (ring[2 * j + 1] - ring[2 * j + 1]);
        if (probe == 0.0f) return;
        for (float& value : ring) value = 0.0f;
    }

    // Both rings silent again (a restart of the audio).
    void clear() {
        for (float& value : ring) value = 0.0f;
    }

    std::int32_t writeIndex = 0;

private:
    static std::int32_t tap(std::int32_t index, std::int32_t delay) {
        std::int32_t j = index - (delay < 0 ? -delay : delay);
        return j < 0 ? j + kRingSize : j;
    }

    float ring[2 * kRingSize] = {};  // left and right of each position side by side
};

}  // namespace widefield
