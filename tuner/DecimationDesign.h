// DecimationDesign.h — the decimation low-pass for a given host sample rate.
//
//   DecimationCoefficients   structure, feedback terms, ring scale and factor
//   designDecimationLowPass  sixth-order Butterworth, -3 dB at 2000 Hz; at
//                            44100 Hz exactly the tuner's classic constants
//   decimationFactorFor      input samples per ring entry
//   isSupportedSampleRate    the rates the tuner follows
#pragma once

#include <cstdint>

namespace tonemark {

// Up to factor 4 (rates below about 77 kHz) the filter runs as the classic
// single recursion. Its float-rounded outputs feed six poles at once, and as the
// poles crowd towards z = 1 at higher rates the rounding noise grows past the
// detector's threshold (-25 dB at 192 kHz); there it runs as three second-order
// sections, each at unity gain at 0 Hz, which stay below -100 dB.
enum class FilterStructure : std::int32_t { Direct = 0, Sections = 1 };

struct SecondOrderSection {
    // y = gain·(x + 2·x1 + x2) + feedback1·y1 + feedback2·y2
    double gain;
    double feedback1;
    double feedback2;
};

struct DecimationCoefficients {
    FilterStructure structure;
    // Direct: feedback[k] multiplies the output k + 1 samples back, feedback[0]
    // the previous output, feedback[5] the oldest; the numerator is the binomial
    // 1 6 15 20 15 6 1.
    double feedback[6];
    SecondOrderSection sections[3];  // Sections
    double ringScale;                // ring value = filter output × ringScale
    std::int32_t factor;             // one ring entry per `factor` input samples
};

constexpr double kDecimationCutoff = 2000.0;
constexpr double kDecimatedRate = 11025.0;  // the ring's rate at 44100 Hz

bool isSupportedSampleRate(double rate);
// One ring entry per this many input samples, so the ring runs near 11 kHz.
std::int32_t decimationFactorFor(double rate);
// Only for supported rates.
DecimationCoefficients designDecimationLowPass(double rate);

}  // namespace tonemark
