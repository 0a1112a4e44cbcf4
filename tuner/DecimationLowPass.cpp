// DecimationLowPass.cpp — low-passes the first input channel into the ring.
//
// The recursion's latency chain (each output is rounded to a float and feeds the
// next) bounds its speed, so the block keeps the whole state in locals and adds
// the previous output's term last.
#include "tuner/DecimationLowPass.h"

#include <cmath>

namespace tonemark {

namespace {
void storeSlotValues(std::atomic<double> (&target)[6], const double (&source)[6]) {
    for (int k = 0; k < 6; ++k) target[k].store(source[k], std::memory_order_relaxed);
}
}  // namespace

DecimationLowPass::DecimationLowPass() {
    const DecimationCoefficients classic = designDecimationLowPass(44100.0);
    for (Slot& slot : slots) {
        storeSlotValues(slot.feedback, classic.feedback);
        slot.ringScale.store(classic.ringScale, std::memory_order_relaxed);
        slot.factor.store(classic.factor, std::memory_order_relaxed);
    }
    clearState();
    decimationCount = 0;
}

void DecimationLowPass::clearState() {
    for (int k = 0; k < 10; ++k) filterIn[k] = filterOut[k] = 0.0f;
}

void DecimationLowPass::setCoefficients(const DecimationCoefficients& coefficients) {
    const std::uint32_t next = generation.load(std::memory_order_relaxed) + 1;
    Slot& slot = slots[next & 1u];
    storeSlotValues(slot.feedback, coefficients.feedback);
    slot.ringScale.store(coefficients.ringScale, std::memory_order_relaxed);
    slot.factor.store(coefficients.factor < 1 ? 1 : coefficients.factor, std::memory_order_relaxed);
    generation.store(next, std::memory_order_relaxed);
}

void DecimationLowPass::process(const float* input, std::int32_t frames, DecimatedRing& ring) {
    // A new coefficient set starts from a clean state: the old outputs belong to another filter.
    const std::uint32_t current = generation.load(std::memory_order_relaxed);
    if (current != appliedGeneration) {
        appliedGeneration = current;
        clearState();
        decimationCount = 0;
    }
    const Slot& slot = slots[current & 1u];
    const double c0 = slot.feedback[5].load(std::memory_order_relaxed);  // oldest output
    const double c1 = slot.feedback[4].load(std::memory_order_relaxed);
    const double c2 = slot.feedback[3].load(std::memory_order_relaxed);
    const double c3 = slot.feedback[2].load(std::memory_order_relaxed);
    const double c4 = slot.feedback[1].load(std::memory_order_relaxed);
    const double c5 = slot.feedback[0].load(std::memory_order_relaxed);  // previous output
    const double scale = slot.ringScale.load(std::memory_order_relaxed);
    const std::int32_t factor = slot.factor.load(std::memory_order_relaxed);

    float x0 = filterIn[0], x1 = filterIn[1], x2 = filterIn[2], x3 = filterIn[3], x4 = filterIn[4], x5 = filterIn[5],
          x6 = filterIn[6];
    float y0 = filterOut[0], y1 = filterOut[1], y2 = filterOut[2], y3 = filterOut[3], y4 = filterOut[4], y5 = filterOut[5],
          y6 = filterOut[6];
    std::int32_t count = decimationCount;
    std::int32_t index = ring.newestIndex();

    for (std::int32_t i = 0; i < frames; ++i) {
        // 1. Shift both histories by one; the new sample becomes x6.
        x0 = x1;
        x1 = x2; x2 = x3; x3 = x4; x4 = x5; x5 = x6;
        x6 = input[i];
        y0 = y1;
        y1 = y2; y2 = y3; y3 = y4; y4 = y5; y5 = y6;
        // 2. The recursion in double, stored as a float.
        const double feedForward = ((static_cast<double>(x0) + x6) + 6.0 * (static_cast<double>(x1) + x5)) +
                                   15.0 * (static_cast<double>(x2) + x4) + 20.0 * static_cast<double>(x3);
        y6 = static_cast<float>(feedForward + c0 * y0 + c1 * y1 + c2 * y2 + c3 * y3 + c4 * y4 + c5 * y5);
        // 3. and 4. Every factor-th output goes into the ring, scaled.
        if (++count >= factor) {
            count = 0;
            index = index + 1 == DecimatedRing::kLength ? 0 : index + 1;
            ring.store(index, static_cast<float>(static_cast<double>(y6) * scale));
            ring.publish(index);
        }
    }

    filterIn[0] = x0; filterIn[1] = x1; filterIn[2] = x2; filterIn[3] = x3;
    filterIn[4] = x4; filterIn[5] = x5; filterIn[6] = x6;
    filterOut[0] = y0; filterOut[1] = y1; filterOut[2] = y2; filterOut[3] = y3;
    filterOut[4] = y4; filterOut[5] = y5; filterOut[6] = y6;
    decimationCount = count;

    // A non-finite input leaves the recursion non-finite for ever: start afresh.
    // The ring entries already written age out of the analysed window; the
    // decimation phase runs on.
    bool finite = true;
    for (int k = 0; k < 7; ++k) finite = finite && std::isfinite(filterIn[k]) && std::isfinite(filterOut[k]);
    if (!finite) clearState();
}

}  // namespace tonemark
