// Sections.cpp — the steps of the input, balance and output sections.
#include "stereo/Sections.h"

#include <cmath>
#include <utility>

namespace widefield {

namespace {
constexpr double kPi = 3.14159265358979323846;
}

void applyWidth(float& left, float& right, float width) {
    if (width == 0.5f) return;
    const double w = width, l = left, r = right;
    left = static_cast<float>((0.5 + w) * l + (0.5 - w) * r);
    right = static_cast<float>((0.5 + w) * r + (0.5 - w) * l);
}

void applyRotation(float& left, float& right, float position) {
    if (position == 0.5f) return;
    const double angle = (static_cast<double>(position) - 0.5) * kPi;
    const double c = static_cast<float>(std::cos(angle));
    const double s = static_cast<float>(std::sin(angle));
    const double l = left, r = right;
    left = static_cast<float>(l * c - r * s);
    right = static_cast<float>(l * s + r * c);
}

void InputSection::apply(float& left, float& right) const {
    if (invertLeft) left = -left;
    if (invertRight) right = -right;
    if (swapChannels) std::swap(left, right);
    applyWidth(left, right, width);
    applyRotation(left, right, rotation);
}

void BalanceSection::apply(float& left, float& right) const {
    if (centreCut != 0.5f) {
        // 1 removes the common part (L - R), 0 leaves only it ((L + R) / 2).
        const double k = 2.0 * (static_cast<double>(centreCut) - 0.5);
        const double l = left, r = right;
        left = static_cast<float>(l - k * r);
        right = static_cast<float>(r - k * l);
        if (k < 0.0) {
            left = static_cast<float>(left / (1.0 - k));
            right = static_cast<float>(right / (1.0 - k));
        }
    }
    if (asymmetry != 0.5f) {
        // 1. Weights of the two sides, then a rotation that keeps the power.
        const double a = asymmetry;
        const float p = static_cast<float>(2.0 - 2.0 * a);
        const float q = static_cast<float>(2.0 * a);
        const double rr = static_cast<double>(p) * p + static_cast<double>(q) * q;
        // 2. g and s with g^2 + s^2 = 1.
        const double g = static_cast<float>(std::sqrt(2.0 / rr));
        double s = static_cast<float>(std::sqrt((rr - 2.0) / rr));
        if (a > 0.5) s = -s;
        // 3. Weigh, then rotate.
        const float l1 = static_cast<float>(p * static_cast<double>(left) * g);
        const float r1 = static_cast<float>(q * static_cast<double>(right) * g);
        left = static_cast<float>(l1 * g - r1 * s);
        right = static_cast<float>(l1 * s + r1 * g);
    }
}

void OutputSection::apply(float& left, float& right) const {
    applyRotation(left, right, rotation);
    applyWidth(left, right, width);
    if (mono) {
        const float sum = static_cast<float>((static_cast<double>(left) + right) * 0.5);
        left = right = sum;
    }
    left = static_cast<float>(static_cast<double>(left) * gainLeft);
    right = static_cast<float>(static_cast<double>(right) * gainRight);
}

}  // namespace widefield
