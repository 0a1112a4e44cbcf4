// DecimationDesign.h — the decimation low-pass for a given host sample rate.
//
//   DecimationCoefficients   feedback terms, ring scale and decimation factor
//   designDecimationLowPass  sixth-order Butterworth, -3 dB at 2000 Hz; at
//                            44100 Hz exactly the tuner's classic constants
//   decimationFactorFor      input samples per ring entry
//   isSupportedSampleRate    the rates the tuner follows
#pragma once

#include <cstdint>

namespace tonemark {

struct DecimationCoefficients {
    // feedback[k] multiplies the output k + 1 samples back: feedback[0] the
    // previous output, feedback[5] the oldest. The numerator is always the
    // binomial 1 6 15 20 15 6 1.
    double feedback[6];
    double ringScale;          // ring value = output × ringScale
    std::int32_t factor;       // one ring entry per `factor` input samples
};

constexpr double kDecimationCutoff = 2000.0;
constexpr double kDecimatedRate = 11025.0;  // the ring's rate at 44100 Hz

bool isSupportedSampleRate(double rate);
// One ring entry per this many input samples, so the ring runs near 11 kHz.
std::int32_t decimationFactorFor(double rate);
// Only for supported rates.
DecimationCoefficients designDecimationLowPass(double rate);

}  // namespace tonemark
