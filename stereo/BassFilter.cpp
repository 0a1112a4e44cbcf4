// BassFilter.cpp — the coefficients of the bass low-pass.
#include "stereo/BassFilter.h"

namespace widefield {

namespace {
double toFloat(double x) { return static_cast<double>(static_cast<float>(x)); }
}  // namespace

BassCoefficients BassCoefficients::lowPass(double crossoverHz, double sampleRate) {
    if (!(sampleRate > 0.0) || !std::isfinite(sampleRate)) sampleRate = 44100.0;
    constexpr double kPi = 3.14159265358979323846;
    // 1. Angular frequency, 2. its cosine and half its sine, 3. the section.
    const double w0 = static_cast<float>(2.0 * kPi * crossoverHz / sampleRate);
    const double c = static_cast<float>(std::cos(w0));
    const double alpha = static_cast<float>(std::sin(w0) / 2.0);
    BassCoefficients k;
    k.a0 = toFloat(1.0 + alpha);
    k.b0 = toFloat((1.0 - c) / 2.0);
    k.b1 = toFloat(1.0 - c);
    k.b2 = toFloat((1.0 - c) / 2.0);
    k.a1 = toFloat(-2.0 * c);
    k.a2 = toFloat(1.0 - alpha);
    // A crossover that is not a number gives coefficients the filter must not use.
    k.ready = std::isfinite(k.a0) && k.a0 != 0.0 && std::isfinite(k.b0) && std::isfinite(k.a1) &&
              std::isfinite(k.a2);
    return k;
}

}  // namespace widefield
