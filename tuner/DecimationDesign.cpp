// DecimationDesign.cpp — the decimation low-pass for a given host sample rate.
//
// Bilinear transform of the analogue Butterworth prototype with the cutoff
// pre-warped, so the -3 dB point sits at 2000 Hz at every rate. The ring scale
// keeps the overall gain at 0 Hz equal to that of the 44100 Hz constants
// (0.99749), so magnitudes, and with them the detector's threshold, do not
// depend on the rate.
#include "tuner/DecimationDesign.h"

#include <cmath>
#include <complex>

namespace tonemark {

namespace {

constexpr DecimationCoefficients kClassic = {
    FilterStructure::Direct,
    {4.8997460757, -10.087800103, 11.159762283, -6.991042561, 2.3499855439, -0.3309720426},
    {},
    5e-6,
    4};

// Gain at 0 Hz of the unscaled recursion: numerator sum 64 over the denominator at z = 1.
double unscaledGainAtZero(const double (&feedback)[6]) {
    double denominator = 1.0;
    for (double term : feedback) denominator -= term;
    return 64.0 / denominator;
}

}  // namespace

std::int32_t decimationFactorFor(double rate) {
    // round(rate / 11025), lowered to a power of two: 4 at 44.1 and 48 kHz, 8 at
    // 88.2 and 96 kHz, 16 at 176.4 and 192 kHz.
    const double nearest = std::nearbyint(rate / kDecimatedRate);
    std::int32_t factor = 1;
    while (factor * 2.0 <= nearest) factor *= 2;
    return factor;
}

bool isSupportedSampleRate(double rate) { return rate >= 8000.0 && rate <= 768000.0; }

DecimationCoefficients designDecimationLowPass(double rate) {
    if (rate == 44100.0) return kClassic;
    const double pi = 3.14159265358979323846;
    const int order = 6;
    const double twiceRate = 2.0 * rate;
    const double warped = twiceRate * std::tan(pi * kDecimationCutoff / rate);
    DecimationCoefficients result{};
    result.factor = decimationFactorFor(rate);
    result.structure = result.factor <= 4 ? FilterStructure::Direct : FilterStructure::Sections;
    // The overall gain at 0 Hz of the classic set (0.99749).
    const double overallGain = kClassic.ringScale * unscaledGainAtZero(kClassic.feedback);
    // 1. The six poles, mapped from the s-plane; k and 7 - k are conjugates.
    std::complex<double> poles[order];
    for (int k = 1; k <= order; ++k) {
        const double angle = pi * (2.0 * k + order - 1.0) / (2.0 * order);
        const std::complex<double> analogue = warped * std::complex<double>(std::cos(angle), std::sin(angle));
        poles[k - 1] = (twiceRate + analogue) / (twiceRate - analogue);
    }
    if (result.structure == FilterStructure::Direct) {
        // 2. The denominator polynomial in z^-1; feedback terms are its negated a1 .. a6.
        std::complex<double> polynomial[order + 1] = {1.0};
        for (int k = 1; k <= order; ++k)
            for (int i = k; i >= 1; --i) polynomial[i] -= poles[k - 1] * polynomial[i - 1];
        for (int k = 0; k < order; ++k) result.feedback[k] = -polynomial[k + 1].real();
        result.ringScale = overallGain / unscaledGainAtZero(result.feedback);
    } else {
        // 2. One section per conjugate pair, each scaled to unity gain at 0 Hz.
        for (int k = 0; k < 3; ++k) {
            SecondOrderSection& section = result.sections[k];
            section.feedback1 = 2.0 * poles[k].real();
            section.feedback2 = -std::norm(poles[k]);
            section.gain = (1.0 - section.feedback1 - section.feedback2) / 4.0;
        }
        result.ringScale = overallGain;
    }
    return result;
}

}  // namespace tonemark
