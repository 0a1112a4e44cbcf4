// SubharmonicCheck.cpp — the chosen peak traced back to a partial it is a
// harmonic of: a search window round each quotient, then the acceptance rules.
#include "tuner/SubharmonicCheck.h"

#include <cmath>

#include "tuner/PitchDetector.h"

namespace tonemark {

namespace {

// Real partials sit within 0.4% of their harmonic ratio; body resonances and
// the smeared peaks of an attack do not.
constexpr double kRatioTolerance = 0.005;
// A lower partial weaker than this share of the chosen peak is not the note.
constexpr double kLowestShare = 0.2;

// The strongest bin (the lowest of equal ones) within half a percent, and at
// least one bin, of `quotient`, kept between `startBin` and `lastBin`; -1 when
// the window is empty.
std::int32_t strongestNear(const float* m, double quotient, std::int32_t startBin, std::int32_t lastBin) {
    const double nearest = std::nearbyint(quotient);
    const double lowest = std::fmin(std::floor((1.0 - kRatioTolerance) * quotient), nearest - 1.0);
    const double highest = std::fmax(std::ceil((1.0 + kRatioTolerance) * quotient), nearest + 1.0);
    std::int32_t low = static_cast<std::int32_t>(lowest);
    std::int32_t high = static_cast<std::int32_t>(highest);
    if (low < startBin) low = startBin;
    if (high > lastBin) high = lastBin;
    std::int32_t strongest = -1;
    for (std::int32_t j = low; j <= high; ++j)
        if (strongest < 0 || m[j] > m[strongest]) strongest = j;
    return strongest;
}

}  // namespace

std::int32_t fundamentalBelow(const float* m, std::int32_t startBin, std::int32_t bestBin) {
    const double best = m[bestBin];
    float chosenVertex = 0.0f;
    if (!interpolatePeak(bestBin, m[bestBin - 1], m[bestBin], m[bestBin + 1], chosenVertex)) return bestBin;
    for (std::int32_t divisor = 4; divisor >= 2; --divisor) {
        const std::int32_t j = strongestNear(m, static_cast<double>(bestBin) / divisor, startBin, bestBin - 1);
        if (j <= startBin) continue;
        if (!(m[j] > m[j - 1] && m[j] > m[j + 1])) continue;
        if (!(m[j] >= kLowestShare * best)) continue;
        float vertex = 0.0f;
        if (!interpolatePeak(j, m[j - 1], m[j], m[j + 1], vertex)) continue;
        if (std::fabs(chosenVertex / (divisor * static_cast<double>(vertex)) - 1.0) <= kRatioTolerance) return j;
    }
    return bestBin;
}

}  // namespace tonemark
