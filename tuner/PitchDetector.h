// PitchDetector.h — the fundamental of the ring's newest entries.
//
//   AnalysisSetting  the three accuracy settings (transform size, window length)
//   PitchReading     one reading: frequency and the no-reading flag
//   interpolatePeak  the parabola's vertex between bins
//   PitchDetector    window, work arrays and transform; buildWindow,
//                    computeSpectrum and measure (configureAccuracy is the
//                    effect's, on the detector's thread)
//
// Runs on the user-interface thread only; all arrays are fixed members, so a
// measurement never allocates.
#pragma once

#include <cstdint>

#include "tuner/DecimatedRing.h"
#include "tuner/RadixTwoTransform.h"

namespace tonemark {

struct AnalysisSetting {
    std::int32_t fftSize;
    std::int32_t windowLength;
};

// Economy, Normal, Super; null for any other value.
const AnalysisSetting* analysisSettingFor(std::int32_t accuracy);

struct PitchReading {
    float frequency = 0.0f;  // hertz; 0 when there is no reading
    float noReading = 1.0f;  // 1.0 no reading, 0.0 a valid one
};

// The vertex of the parabola through (bin - 1, below), (bin, peak), (bin + 1,
// above); false for a triple without a vertex (peak equal to below, or
// 2·peak = below + above) or a non-finite one.
bool interpolatePeak(std::int32_t bin, float below, float peak, float above, float& vertex);

class PitchDetector {
public:
    static constexpr std::int32_t kCapacity = 33001;
    static constexpr float kPeakThreshold = 2.0f;

    PitchDetector();
    PitchDetector(const PitchDetector&) = delete;
    PitchDetector& operator=(const PitchDetector&) = delete;

    void buildWindow();
    // The `count` ring entries ending at `endIndex` (inclusive), windowed and
    // transformed; leaves the magnitudes of bins 0 to count/2 in magnitudes().
    void computeSpectrum(const DecimatedRing& ring, std::int32_t endIndex, std::int32_t count);
    // One measurement of the ring's newest entries. The ring holds one entry per
    // `decimationFactor` samples at `sampleRate` hertz.
    PitchReading measure(const DecimatedRing& ring, double sampleRate, std::int32_t decimationFactor);

    std::int32_t fftSize() const { return size; }
    std::int32_t fftOrder() const { return order; }
    std::int32_t windowLength() const { return length; }
    const float* magnitudes() const { return fftReal; }
    const float* window() const { return analysisWindow; }

private:
    // Only the detector's own thread reconfigures it (the effect takes a new
    // accuracy before its next measurement), so no measurement sees a size and
    // window from two settings.
    friend class ADoubler;
    friend struct PitchDetectorTestAccess;
    // Accuracy 0, 1 or 2 sets the transform size and window; other values change nothing.
    void configureAccuracy(std::int32_t accuracy);

    std::int32_t size = 16384;
    std::int32_t order = 14;
    std::int32_t length = 6000;
    RadixTwoTransform transform;
    float fftReal[kCapacity];
    float fftImag[kCapacity];
    float analysisWindow[kCapacity];
};

}  // namespace tonemark
