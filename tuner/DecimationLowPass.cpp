// DecimationLowPass.cpp — low-passes the first input channel into the ring.
//
// The recursion's latency chain (each output is rounded to a float and feeds the
// next) bounds its speed, so a block keeps the whole state in locals and adds
// the previous output's term last.
#include "tuner/DecimationLowPass.h"

#include <cmath>

namespace tonemark {

namespace {

void flatten(const DecimationCoefficients& c, double* values) {
    for (int k = 0; k < 6; ++k) values[k] = c.feedback[k];
    for (int k = 0; k < 3; ++k) {
        values[6 + 3 * k] = c.sections[k].gain;
        values[7 + 3 * k] = c.sections[k].feedback1;
        values[8 + 3 * k] = c.sections[k].feedback2;
    }
    values[15] = c.ringScale;
}

// Advances the decimation phase; every factor-th output goes into the ring, scaled.
inline void emit(float y, double scale, std::int32_t factor, std::int32_t& count, std::int32_t& index,
                 DecimatedRing& ring) {
    if (++count >= factor) {
        count = 0;
        index = index + 1 == DecimatedRing::kLength ? 0 : index + 1;
        ring.store(index, static_cast<float>(static_cast<double>(y) * scale));
        ring.publish(index);
    }
}

}  // namespace

DecimationLowPass::DecimationLowPass() {
    // Before any thread runs: the classic set, published and applied.
    const DecimationCoefficients classic = designDecimationLowPass(44100.0);
    setCoefficients(classic);
    flatten(classic, applied.values);
    applied.structure = static_cast<std::int32_t>(classic.structure);
    applied.factor = classic.factor < 1 ? 1 : classic.factor;
    appliedSequence = sequence.load(std::memory_order_relaxed);
    clearState();
    decimationCount = 0;
}

void DecimationLowPass::clearState() {
    for (int k = 0; k < 10; ++k) filterIn[k] = filterOut[k] = 0.0f;
    for (float& value : sectionState) value = 0.0f;
}

void DecimationLowPass::clearHistory() {
    clearState();
    decimationCount = 0;
}

void DecimationLowPass::setCoefficients(const DecimationCoefficients& coefficients) {
    double values[kValueCount];
    flatten(coefficients, values);
    const std::uint32_t start = sequence.load(std::memory_order_relaxed);
    sequence.store(start + 1, std::memory_order_relaxed);  // odd: a write is under way
    std::atomic_thread_fence(std::memory_order_release);   // ... and seen before any of its values
    for (int k = 0; k < kValueCount; ++k) published.values[k].store(values[k], std::memory_order_relaxed);
    published.structure.store(static_cast<std::int32_t>(coefficients.structure), std::memory_order_relaxed);
    published.factor.store(coefficients.factor < 1 ? 1 : coefficients.factor, std::memory_order_relaxed);
    sequence.store(start + 2, std::memory_order_release);
}

void DecimationLowPass::takePublished() {
    const std::uint32_t before = sequence.load(std::memory_order_acquire);
    if (before == appliedSequence || (before & 1u) != 0) return;
    Applied copy;
    for (int k = 0; k < kValueCount; ++k) copy.values[k] = published.values[k].load(std::memory_order_relaxed);
    copy.structure = published.structure.load(std::memory_order_relaxed);
    copy.factor = published.factor.load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (sequence.load(std::memory_order_relaxed) != before) return;  // written meanwhile: next block
    applied = copy;
    appliedSequence = before;
    // A new coefficient set starts from a clean state: the old outputs belong to another filter.
    clearState();
    decimationCount = 0;
}

DecimationCoefficients DecimationLowPass::appliedCoefficients() const {
    DecimationCoefficients c{};
    c.structure = static_cast<FilterStructure>(applied.structure);
    for (int k = 0; k < 6; ++k) c.feedback[k] = applied.values[k];
    for (int k = 0; k < 3; ++k)
        c.sections[k] = {applied.values[6 + 3 * k], applied.values[7 + 3 * k], applied.values[8 + 3 * k]};
    c.ringScale = applied.values[kScaleValue];
    c.factor = applied.factor;
    return c;
}

void DecimationLowPass::process(const float* input, std::int32_t frames, DecimatedRing& ring) {
    takePublished();
    if (applied.structure == static_cast<std::int32_t>(FilterStructure::Sections))
        processSections(input, frames, ring);
    else
        processDirect(input, frames, ring);

    // A non-finite input leaves the recursion non-finite for ever: start afresh.
    // The ring entries already written age out of the analysed window; the
    // decimation phase runs on.
    bool finite = true;
    for (int k = 0; k < 7; ++k) finite = finite && std::isfinite(filterIn[k]) && std::isfinite(filterOut[k]);
    for (float value : sectionState) finite = finite && std::isfinite(value);
    if (!finite) clearState();
}

void DecimationLowPass::processDirect(const float* input, std::int32_t frames, DecimatedRing& ring) {
    const double* v = applied.values;
    const double c0 = v[5];  // oldest output
    const double c1 = v[4];
    const double c2 = v[3];
    const double c3 = v[2];
    const double c4 = v[1];
    const double c5 = v[0];  // previous output
    const double scale = v[kScaleValue];
    const std::int32_t factor = applied.factor;

    float x0 = filterIn[0], x1 = filterIn[1], x2 = filterIn[2], x3 = filterIn[3], x4 = filterIn[4], x5 = filterIn[5],
          x6 = filterIn[6];
    float y0 = filterOut[0], y1 = filterOut[1], y2 = filterOut[2], y3 = filterOut[3], y4 = filterOut[4],
          y5 = filterOut[5], y6 = filterOut[6];
    std::int32_t count = decimationCount;
    std::int32_t index = ring.newestIndex();

    for (std::int32_t i = 0; i < frames; ++i) {
        // 1. Shift both histories by one; the new sample becomes x6.
        x0 = x1; x1 = x2; x2 = x3; x3 = x4; x4 = x5; x5 = x6;
        x6 = input[i];
        y0 = y1; y1 = y2; y2 = y3; y3 = y4; y4 = y5; y5 = y6;
        // 2. The recursion in double, stored as a float.
        const double feedForward = ((static_cast<double>(x0) + x6) + 6.0 * (static_cast<double>(x1) + x5)) +
                                   15.0 * (static_cast<double>(x2) + x4) + 20.0 * static_cast<double>(x3);
        y6 = static_cast<float>(feedForward + c0 * y0 + c1 * y1 + c2 * y2 + c3 * y3 + c4 * y4 + c5 * y5);
        // 3. and 4. Into the ring every factor-th sample.
        emit(y6, scale, factor, count, index, ring);
    }

    filterIn[0] = x0; filterIn[1] = x1; filterIn[2] = x2; filterIn[3] = x3;
    filterIn[4] = x4; filterIn[5] = x5; filterIn[6] = x6;
    filterOut[0] = y0; filterOut[1] = y1; filterOut[2] = y2; filterOut[3] = y3;
    filterOut[4] = y4; filterOut[5] = y5; filterOut[6] = y6;
    decimationCount = count;
}

void DecimationLowPass::processSections(const float* input, std::int32_t frames, DecimatedRing& ring) {
    const double* v = applied.values;
    const double ga = v[6], fa1 = v[7], fa2 = v[8];
    const double gb = v[9], fb1 = v[10], fb2 = v[11];
    const double gc = v[12], fc1 = v[13], fc2 = v[14];
    const double scale = v[kScaleValue];
    const std::int32_t factor = applied.factor;

    float x1 = sectionState[0], x2 = sectionState[1];
    float a1 = sectionState[2], a2 = sectionState[3];
    float b1 = sectionState[4], b2 = sectionState[5];
    float c1 = sectionState[6], c2 = sectionState[7];
    std::int32_t count = decimationCount;
    std::int32_t index = ring.newestIndex();

    for (std::int32_t i = 0; i < frames; ++i) {
        const float x = input[i];
        const float a = static_cast<float>(ga * ((static_cast<double>(x) + 2.0 * x1) + x2) + fa2 * a2 + fa1 * a1);
        x2 = x1; x1 = x;
        const float b = static_cast<float>(gb * ((static_cast<double>(a) + 2.0 * a1) + a2) + fb2 * b2 + fb1 * b1);
        a2 = a1; a1 = a;
        const float c = static_cast<float>(gc * ((static_cast<double>(b) + 2.0 * b1) + b2) + fc2 * c2 + fc1 * c1);
        b2 = b1; b1 = b;
        c2 = c1; c1 = c;
        emit(c, scale, factor, count, index, ring);
    }

    sectionState[0] = x1; sectionState[1] = x2;
    sectionState[2] = a1; sectionState[3] = a2;
    sectionState[4] = b1; sectionState[5] = b2;
    sectionState[6] = c1; sectionState[7] = c2;
    decimationCount = count;
}

}  // namespace tonemark
