// MeterReadings.h — peaks with hold and the phase reading of the output.
//
//   MeterReadings  the seven values the panel draws, in the order it is handed them
//   MeterAnalysis  the readings as relaxed atomics (written by the audio thread's
//                  analysis and by the reset commands of the control thread) and
//                  the analysis over a window of the sample rings
#pragma once

#include <atomic>
#include <cstdint>

namespace widefield {

struct MeterReadings {
    float phaseCorrelation = 0.0f;
    float phaseMax = 0.0f;
    float phaseMin = 0.0f;
    float peakLeft = 0.0f;
    float peakRight = 0.0f;
    float peakHoldLeft = 0.0f;
    float peakHoldRight = 0.0f;
};

class MeterAnalysis {
public:
    // Walks count pairs ending at position in rings of ringSize samples. count
    // is limited to the ring; a count of 0 analyses nothing and returns false.
    bool analyse(const float* left, const float* right, std::int32_t ringSize, std::int32_t position,
                 std::int32_t count);

    void resetPhaseRange();
    void resetPeakHolds();
    // Readings that are no longer finite go back to 0.
    void clearIfNotFinite();
    MeterReadings snapshot() const;

    std::atomic<float> phaseCorrelation{0.0f};
    std::atomic<float> phaseMax{0.0f};
    std::atomic<float> phaseMin{0.0f};
    std::atomic<float> peakLeft{0.0f};
    std::atomic<float> peakRight{0.0f};
    std::atomic<float> peakHoldLeft{0.0f};
    std::atomic<float> peakHoldRight{0.0f};
};

}  // namespace widefield
