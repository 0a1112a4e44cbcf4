// MeterReadings.h — peaks with hold and the phase reading of the output.
//
//   MeterReadings  the seven values the panel draws, in the order it is handed them
//   MeterAnalysis  the readings as relaxed atomics and the analysis over a window
//                  of the sample rings
//
// Threads: only the audio thread writes the readings. A reset from another
// thread is a request that the next analysis carries out before it reads them
// (a reset written beside a running analysis could leave a hold below its peak,
// or a range that misses the reading); until then the snapshot shows the
// readings as the reset leaves them.
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

    // Any thread.
    void resetPhaseRange() { phaseRangeResetPending.store(true, std::memory_order_relaxed); }
    void resetPeakHolds() { peakHoldResetPending.store(true, std::memory_order_relaxed); }
    // Audio thread: readings that are no longer finite go back to 0.
    void clearIfNotFinite();
    // Any thread: the readings, with the resets still waiting carried out.
    MeterReadings snapshot() const;

    std::atomic<float> phaseCorrelation{0.0f};
    std::atomic<float> phaseMax{0.0f};
    std::atomic<float> phaseMin{0.0f};
    std::atomic<float> peakLeft{0.0f};
    std::atomic<float> peakRight{0.0f};
    std::atomic<float> peakHoldLeft{0.0f};
    std::atomic<float> peakHoldRight{0.0f};

private:
    void takeResetRequests();

    std::atomic<bool> phaseRangeResetPending{false};
    std::atomic<bool> peakHoldResetPending{false};
};

}  // namespace widefield
