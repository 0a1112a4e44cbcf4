// DecimationLowPass.h — low-passes the first input channel into the ring.
//
//   DecimationLowPass  the 7-tap/6-pole recursion (or its three sections) with
//                      its state (filterIn, filterOut, decimationCount) and two
//                      coefficient slots
//
// Threads: process runs on the audio thread and owns the state. A rate change
// (setCoefficients, host thread) writes the slot the audio thread is not using
// and then publishes its generation; the audio thread picks the new slot up at
// the start of its next block and clears its own state there, so no block ever
// sees its state or coefficients change under it.
#pragma once

#include <atomic>
#include <cstdint>

#include "tuner/DecimatedRing.h"
#include "tuner/DecimationDesign.h"

namespace tonemark {

class DecimationLowPass {
public:
    DecimationLowPass();
    DecimationLowPass(const DecimationLowPass&) = delete;
    DecimationLowPass& operator=(const DecimationLowPass&) = delete;

    // Host thread. Not for concurrent callers among themselves.
    void setCoefficients(const DecimationCoefficients& coefficients);
    // Audio thread: filters `frames` samples and writes every factor-th output.
    void process(const float* input, std::int32_t frames, DecimatedRing& ring);

    // Audio-thread state, for tests.
    const float* inputHistory() const { return filterIn; }
    const float* outputHistory() const { return filterOut; }
    const float* sectionHistory() const { return sectionState; }
    std::int32_t samplesSinceRingWrite() const { return decimationCount; }

private:
    // Every coefficient as a relaxed atomic: direct feedback 0-5, then the
    // sections' gain, feedback1, feedback2 at 6 + 3k, then the ring scale.
    static constexpr int kScaleValue = 15;
    struct Slot {
        std::atomic<double> values[kScaleValue + 1];
        std::atomic<std::int32_t> structure;
        std::atomic<std::int32_t> factor;
    };
    void clearState();  // the filter histories; the decimation phase is separate
    void processDirect(const Slot& slot, const float* input, std::int32_t frames, DecimatedRing& ring);
    void processSections(const Slot& slot, const float* input, std::int32_t frames, DecimatedRing& ring);

    Slot slots[2];
    // Counts coefficient sets handed over; its low bit selects the slot in use.
    std::atomic<std::uint32_t> generation{0};

    // Audio thread only. Direct structure: oldest first, entry 6 the newest,
    // entries 7 to 9 unused. Sections: the chain's input x1 x2, then y1 y2 of
    // each section.
    float filterIn[10];
    float filterOut[10];
    float sectionState[8];
    std::int32_t decimationCount = 0;
    std::uint32_t appliedGeneration = 0;
};

}  // namespace tonemark
