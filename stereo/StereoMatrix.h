// StereoMatrix.h — the 2 x 2 map of a stereo pair that each section becomes
// once per block.
//
//   StereoMatrix   m11 m12 / m21 m22 as 32-bit floats; apply() evaluates in
//                  double and stores each channel as a float
//   matrixOf       applies a section to (1, 0) and (0, 1)
//   BlockMatrix    the same elements widened once per block for the sample loop,
//                  with a flag to skip an identity (whose product changes nothing)
#pragma once

#include <emmintrin.h>

namespace widefield {

struct StereoMatrix {
    float m11 = 1.0f, m12 = 0.0f, m21 = 0.0f, m22 = 1.0f;

    void apply(float& left, float& right) const {
        const double l = left, r = right;
        left = static_cast<float>(static_cast<double>(m11) * l + static_cast<double>(m12) * r);
        right = static_cast<float>(static_cast<double>(m21) * l + static_cast<double>(m22) * r);
    }
    bool isIdentity() const { return m11 == 1.0f && m12 == 0.0f && m21 == 0.0f && m22 == 1.0f; }
};

// Section is anything with apply(float& left, float& right) const.
template <class Section>
StereoMatrix matrixOf(const Section& section) {
    StereoMatrix m;
    float l = 1.0f, r = 0.0f;
    section.apply(l, r);
    m.m11 = l;
    m.m21 = r;
    l = 0.0f;
    r = 1.0f;
    section.apply(l, r);
    m.m12 = l;
    m.m22 = r;
    return m;
}

// The two rows are evaluated side by side in one pair of doubles: the same
// products and sums as StereoMatrix::apply, lane by lane.
struct BlockMatrix {
    __m128d column1, column2;  // (m11, m21) and (m12, m22)
    bool identity;

    explicit BlockMatrix(const StereoMatrix& m)
        : column1(_mm_set_pd(m.m21, m.m11)), column2(_mm_set_pd(m.m22, m.m12)), identity(m.isIdentity()) {}

    void apply(float& left, float& right) const {
        const __m128d sum = _mm_add_pd(_mm_mul_pd(column1, _mm_set1_pd(left)), _mm_mul_pd(column2, _mm_set1_pd(right)));
        const __m128 result = _mm_cvtpd_ps(sum);
        left = _mm_cvtss_f32(result);
        right = _mm_cvtss_f32(_mm_shuffle_ps(result, result, 1));
    }
};

}  // namespace widefield
