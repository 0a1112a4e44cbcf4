// StereoPair.h — the sample loop's view of a stereo pair: both channels side by
// side in one SSE2 register (lane 0 left, lane 1 right), always holding values
// that a 32-bit float can store.
//
//   Pair, makePair, leftOf, rightOf, asFloats   building and taking apart
//   roundPair          the float store of both channels (to float and back)
//   PairMatrix         a section matrix: (m11 L + m12 R, m21 L + m22 R)
//   DcFilterPair       DcFilter for both channels
//   BassFilterPair     BassChannel for both channels, coefficients broadcast
//   bassBlend          the balance output with the low band added on top
//
// Every kernel performs, lane by lane, exactly the operations of its one-channel
// counterpart (DcFilter.h, BassFilter.h, StereoMatrix.h, StereoDelay.h), so both
// give the same bits; the pair form halves the instructions of the loop.
#pragma once

#include <emmintrin.h>

#include "stereo/BassFilter.h"
#include "stereo/DcFilter.h"
#include "stereo/StereoMatrix.h"

namespace widefield {

using Pair = __m128d;

inline Pair makePair(double left, double right) { return _mm_set_pd(right, left); }
inline Pair roundPair(Pair v) { return _mm_cvtps_pd(_mm_cvtpd_ps(v)); }
inline Pair swapPair(Pair v) { return _mm_shuffle_pd(v, v, 1); }
inline __m128 asFloats(Pair v) { return _mm_cvtpd_ps(v); }
inline float leftOf(__m128 f) { return _mm_cvtss_f32(f); }
inline float rightOf(__m128 f) { return _mm_cvtss_f32(_mm_shuffle_ps(f, f, 1)); }

struct PairMatrix {
    Pair column1, column2;  // (m11, m21) and (m12, m22)
    bool identity;

    explicit PairMatrix(const StereoMatrix& m)
        : column1(makePair(m.m11, m.m21)), column2(makePair(m.m12, m.m22)), identity(m.isIdentity()) {}

    Pair apply(Pair x) const {
        const Pair left = _mm_unpacklo_pd(x, x), right = _mm_unpackhi_pd(x, x);
        return roundPair(_mm_add_pd(_mm_mul_pd(column1, left), _mm_mul_pd(column2, right)));
    }
};

struct DcFilterPair {
    Pair mean, slope;

    DcFilterPair(const DcFilter& left, const DcFilter& right)
        : mean(makePair(left.mean, right.mean)), slope(makePair(left.slope, right.slope)) {}

    Pair process(Pair x) {
        slope = roundPair(_mm_add_pd(slope, _mm_mul_pd(_mm_sub_pd(x, mean), _mm_set1_pd(0.000004567))));
        mean = roundPair(_mm_add_pd(mean, slope));
        slope = roundPair(_mm_mul_pd(slope, _mm_set1_pd(0.96)));
        return roundPair(_mm_sub_pd(x, mean));
    }

    void storeInto(DcFilter& left, DcFilter& right) const {
        const __m128 m = asFloats(mean), s = asFloats(slope);
        left.mean = leftOf(m);
        right.mean = rightOf(m);
        left.slope = leftOf(s);
        right.slope = rightOf(s);
    }
};

struct BassFilterPair {
    Pair b0, b1, b2, a0, a1, a2;
    Pair x1, x2, y1, y2;

    BassFilterPair(const BassCoefficients& c, const BassChannel& left, const BassChannel& right)
        : b0(_mm_set1_pd(c.b0)), b1(_mm_set1_pd(c.b1)), b2(_mm_set1_pd(c.b2)), a0(_mm_set1_pd(c.a0)),
          a1(_mm_set1_pd(c.a1)), a2(_mm_set1_pd(c.a2)), x1(makePair(left.x1, right.x1)),
          x2(makePair(left.x2, right.x2)), y1(makePair(left.y1, right.y1)), y2(makePair(left.y2, right.y2)) {}

    // b0 x + b1 x1 + b2 x2 - a1 y1 - a2 y2, in that order, divided by a0.
    Pair process(Pair x) {
        Pair sum = _mm_add_pd(_mm_mul_pd(b0, x), _mm_mul_pd(b1, x1));
        sum = _mm_add_pd(sum, _mm_mul_pd(b2, x2));
        sum = _mm_sub_pd(sum, _mm_mul_pd(a1, y1));
        sum = _mm_sub_pd(sum, _mm_mul_pd(a2, y2));
        const Pair y = roundPair(_mm_div_pd(sum, a0));
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

    void storeInto(BassChannel& left, BassChannel& right) const {
        const __m128 fx1 = asFloats(x1), fx2 = asFloats(x2), fy1 = asFloats(y1), fy2 = asFloats(y2);
        left.x1 = leftOf(fx1);
        right.x1 = rightOf(fx1);
        left.x2 = leftOf(fx2);
        right.x2 = rightOf(fx2);
        left.y1 = left.low = leftOf(fy1);
        right.y1 = right.low = rightOf(fy1);
        left.y2 = leftOf(fy2);
        right.y2 = rightOf(fy2);
    }
};

// (0.5 + W) x low x (0.1 + B) + (0.5 - W) x opposite low + balanced, per channel.
inline Pair bassBlend(Pair low, Pair balanced, double width, double boost) {
    const Pair own = _mm_mul_pd(_mm_mul_pd(_mm_set1_pd(0.5 + width), low), _mm_set1_pd(0.1 + boost));
    const Pair other = _mm_mul_pd(_mm_set1_pd(0.5 - width), swapPair(low));
    return roundPair(_mm_add_pd(_mm_add_pd(own, other), balanced));
}

}  // namespace widefield
