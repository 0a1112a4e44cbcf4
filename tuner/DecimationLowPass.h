// DecimationLowPass.h — low-passes the first input channel into the ring.
//
//   DecimationLowPass  the 7-tap/6-pole recursion (or its three sections) with
//                      its state (filterIn, filterOut, decimationCount), the
//                      coefficients it runs on and the published set
//
// Threads: process runs on the audio thread and owns the state and the
// coefficients it runs on. A rate change (setCoefficients, host thread) writes
// the published set between two counts of a sequence: odd while the write is
// under way, even once done, stored with release. At the start of a block the
// audio thread copies a set whose count it has not seen yet, and keeps the copy
// only when the count, read with acquire, was even and the same before and
// after; otherwise it runs on with the set it has and tries again at the next
// block. So however quickly rates change, no block reads coefficients that are
// being written, nor a mixture of two sets, and the state is cleared with each
// new set.
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
    // Audio thread: the filter's histories and the decimation phase start afresh.
    void clearHistory();

    // Audio thread: the set the last block ran on (for tests).
    DecimationCoefficients appliedCoefficients() const;

    // Audio-thread state, for tests.
    const float* inputHistory() const { return filterIn; }
    const float* outputHistory() const { return filterOut; }
    const float* sectionHistory() const { return sectionState; }
    std::int32_t samplesSinceRingWrite() const { return decimationCount; }

private:
    // Every coefficient as a relaxed atomic: direct feedback 0-5, then the
    // sections' gain, feedback1, feedback2 at 6 + 3k, then the ring scale.
    static constexpr int kScaleValue = 15;
    static constexpr int kValueCount = kScaleValue + 1;
    struct Published {
        std::atomic<double> values[kValueCount];
        std::atomic<std::int32_t> structure;
        std::atomic<std::int32_t> factor;
    };
    struct Applied {
        double values[kValueCount];
        std::int32_t structure;
        std::int32_t factor;
    };
    void takePublished();
    void clearState();  // the filter histories; the decimation phase is separate
    void processDirect(const float* input, std::int32_t frames, DecimatedRing& ring);
    void processSections(const float* input, std::int32_t frames, DecimatedRing& ring);

    // Written by setCoefficients only.
    Published published;
    std::atomic<std::uint32_t> sequence{0};

    // Audio thread only. Direct structure: oldest first, entry 6 the newest,
    // entries 7 to 9 unused. Sections: the chain's input x1 x2, then y1 y2 of
    // each section.
    Applied applied;
    std::uint32_t appliedSequence = 0;
    float filterIn[10];
    float filterOut[10];
    float sectionState[8];
    std::int32_t decimationCount = 0;
};

}  // namespace tonemark
