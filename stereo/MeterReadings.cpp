// MeterReadings.cpp — the meter analysis and its resets.
#include "stereo/MeterReadings.h"

#include <cmath>
#include <initializer_list>

namespace widefield {

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;

float load(const std::atomic<float>& value) { return value.load(kRelaxed); }
void store(std::atomic<float>& value, float x) { value.store(x, kRelaxed); }

// Instant rise, fall by the factor 0.7 per analysis; the hold keeps the highest.
void followPeak(std::atomic<float>& peak, std::atomic<float>& hold, float largest) {
    float p = load(peak);
    if (largest >= p)
        p = largest;
    else
        p = static_cast<float>((static_cast<double>(p) - largest) * 0.7 + largest);
    store(peak, p);
    if (p > load(hold)) store(hold, p);
}
}  // namespace

bool MeterAnalysis::analyse(const float* left, const float* right, std::int32_t ringSize, std::int32_t position,
                            std::int32_t count) {
    if (count > ringSize) count = ringSize;
    if (count <= 0) return false;
    takeResetRequests();
    // 1. The window ends at the display position.
    std::int32_t i = position - count + 1;
    if (i < 0) i += ringSize;
    // 2. Signs and largest magnitudes; zero counts as positive.
    std::int32_t sameSigned = 0;
    float largestLeft = 0.0f, largestRight = 0.0f;
    for (std::int32_t k = 0; k < count; ++k) {
        const float l = left[i], r = right[i];
        sameSigned += (l >= 0.0f) == (r >= 0.0f);
        const float al = std::fabs(l), ar = std::fabs(r);
        if (al > largestLeft) largestLeft = al;
        if (ar > largestRight) largestRight = ar;
        if (++i >= ringSize) i = 0;
    }
    // 3. Share of pairs with differing signs, 4. smoothed, 5. its range.
    const float d = static_cast<float>(1.0 - static_cast<double>(sameSigned) / count);
    const float phase = static_cast<float>((static_cast<double>(load(phaseCorrelation)) - d) * 0.7 + d);
    store(phaseCorrelation, phase);
    if (load(phaseMax) < phase) store(phaseMax, phase);
    if (load(phaseMin) > phase) store(phaseMin, phase);
    // 6., 7. Right channel first, then left.
    followPeak(peakRight, peakHoldRight, largestRight);
    followPeak(peakLeft, peakHoldLeft, largestLeft);
    return true;
}

void MeterAnalysis::takeResetRequests() {
    // The readings are reset first and the count published after them, so a
    // snapshot that finds a request done also finds what it did.
    const std::uint32_t phaseRequests = phaseRangeResetRequests.load(std::memory_order_acquire);
    if (phaseRequests != phaseRangeResetsDone.load(kRelaxed)) {
        const float phase = load(phaseCorrelation);
        store(phaseMax, phase);
        store(phaseMin, phase);
        phaseRangeResetsDone.store(phaseRequests, std::memory_order_release);
    }
    const std::uint32_t holdRequests = peakHoldResetRequests.load(std::memory_order_acquire);
    if (holdRequests != peakHoldResetsDone.load(kRelaxed)) {
        store(peakHoldLeft, 0.0f);
        store(peakHoldRight, 0.0f);
        peakHoldResetsDone.store(holdRequests, std::memory_order_release);
    }
}

void MeterAnalysis::clearIfNotFinite() {
    for (std::atomic<float>* value :
         {&phaseCorrelation, &phaseMax, &phaseMin, &peakLeft, &peakRight, &peakHoldLeft, &peakHoldRight})
        if (!std::isfinite(load(*value))) store(*value, 0.0f);
}

MeterReadings MeterAnalysis::snapshot() const {
    // The requests before the readings: a reset that the analysis carries out
    // between the two reads then shows either as still waiting or as done,
    // never as old readings without a request.
    const std::uint32_t phaseRequests = phaseRangeResetRequests.load(std::memory_order_acquire);
    const bool phaseWaiting = phaseRequests != phaseRangeResetsDone.load(std::memory_order_acquire);
    const std::uint32_t holdRequests = peakHoldResetRequests.load(std::memory_order_acquire);
    const bool holdWaiting = holdRequests != peakHoldResetsDone.load(std::memory_order_acquire);
    MeterReadings r{load(phaseCorrelation), load(phaseMax),     load(phaseMin),     load(peakLeft),
                    load(peakRight),        load(peakHoldLeft), load(peakHoldRight), holdRequests};
    if (phaseWaiting) r.phaseMax = r.phaseMin = r.phaseCorrelation;
    if (holdWaiting) r.peakHoldLeft = r.peakHoldRight = 0.0f;
    return r;
}

}  // namespace widefield
