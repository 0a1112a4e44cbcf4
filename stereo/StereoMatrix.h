// StereoMatrix.h — the 2 x 2 map of a stereo pair that each section becomes
// once per block.
//
//   StereoMatrix   m11 m12 / m21 m22 as 32-bit floats; apply() evaluates in
//                  double and stores each channel as a float
//   matrixOf       applies a section to (1, 0) and (0, 1)
// The sample loop uses the pair form, PairMatrix (StereoPair.h).
#pragma once

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

}  // namespace widefield
