// MeterReadings.h — peaks with hold and the phase reading of the output.
//
//   MeterReadings  the seven values the panel draws, in the order it is handed
//                  them, and how many peak-hold resets they include
//   MeterAnalysis  the readings as relaxed atomics and the analysis over a window
//                  of the sample rings
//
// Threads: only the audio thread writes the readings. A reset from another
// thread is a request that the next analysis carries out before it reads them
// (a reset written beside a running analysis could leave a hold below its peak,
// or a range that misses the reading); until then the snapshot shows the
// readings as the reset leaves them. Requests are counted, not flagged, so the
// audio thread takes them with plain loads and stores and none is lost, and a
// reading says how many hold resets it includes: the panel tells a reading made
// before its reset from one made after it.
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
    // The peak-hold resets asked for when the readings were taken; the holds
    // include every one of them.
    std::uint32_t peakHoldResets = 0;
};

class MeterAnalysis {
public:
    // Walks count pairs ending at position in rings of ringSize samples. count
    // is limited to the ring; a count of 0 analyses nothing and returns false.
    bool analyse(const float* left, const float* right, std::int32_t ringSize, std::int32_t position,
                 std::int32_t count);

    // Any thread but the audio thread (a count that several may raise).
    void resetPhaseRange() { phaseRangeResetRequests.fetch_add(1, std::memory_order_release); }
    void resetPeakHolds() { peakHoldResetRequests.fetch_add(1, std::memory_order_release); }
    // The peak-hold resets asked for so far; a reading that includes fewer was
    // made before the last of them.
    std::uint32_t peakHoldResetsAsked() const { return peakHoldResetRequests.load(std::memory_order_acquire); }
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

    // Asked by any thread; done, the count last carried out, by the audio thread.
    std::atomic<std::uint32_t> phaseRangeResetRequests{0};
    std::atomic<std::uint32_t> phaseRangeResetsDone{0};
    std::atomic<std::uint32_t> peakHoldResetRequests{0};
    std::atomic<std::uint32_t> peakHoldResetsDone{0};
};

}  // namespace widefield
