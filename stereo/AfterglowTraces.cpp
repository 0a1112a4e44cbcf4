// AfterglowTraces.cpp — the span of a drain and the traces that cover it.
#include "stereo/AfterglowTraces.h"

#include <algorithm>
#include <limits>

#include "stereo/StereoCapture.h"

namespace widefield {

namespace {

// Two traces join when the older one starts where the newer one's line ends.
constexpr std::int32_t kReach = kTraceLength - 1;
// The oldest point a trace at age a draws is a + kDrawnBack.
constexpr std::int32_t kDrawnBack = kTraceLength - 2;

// How far a position lies behind the newest, in samples. Positions ahead of
// it (a display clock re-anchored a little backwards) come out at half the
// ring or more, and take no part in covering the span.
std::int32_t ageOf(std::int32_t position, std::int32_t newest, std::int32_t ringSize) {
    std::int32_t age = (newest - position) % ringSize;
    return age < 0 ? age + ringSize : age;
}

// The age of the oldest sample the drain has to leave in the afterglow.
std::int32_t spanOf(const std::int32_t* positions, std::size_t count, std::int32_t previousNewest,
                    std::int32_t ringSize) {
    const std::int32_t newest = positions[count - 1], half = ringSize / 2;
    std::int32_t span = ageOf(positions[0], newest, ringSize);
    if (previousNewest >= 0) {
        const std::int32_t previous = ageOf(previousNewest, newest, ringSize);
        if (previous > 0 && previous < half) span = previous - 1;
    }
    return span < half ? span : 0;
}

// True when the traces at these positions leave no sample of the span out.
bool covers(const std::int32_t* positions, std::size_t count, std::int32_t newest, std::int32_t ringSize,
            std::int32_t span) {
    std::array<std::int32_t, kMaxAfterglowTraces> ages{};
    for (std::size_t i = 0; i < count; ++i) ages[i] = ageOf(positions[i], newest, ringSize);
    std::sort(ages.begin(), ages.begin() + static_cast<std::ptrdiff_t>(count));
    std::int32_t reached = 0;
    for (std::size_t i = 0; i < count && ages[i] < ringSize / 2; ++i) {
        if (ages[i] > reached + kReach) return false;
        reached = ages[i];
    }
    return reached + kDrawnBack >= span;
}

}  // namespace

AfterglowChoice chooseAfterglowTraces(const std::int32_t* positions, std::size_t count, std::int32_t previousNewest,
                                      std::int32_t ringSize) {
    AfterglowChoice choice;
    if (positions == nullptr || count == 0 || ringSize <= 0) return choice;
    const std::int32_t newest = positions[count - 1];
    const std::int32_t span = spanOf(positions, count, previousNewest, ringSize);

    // The newest 16, in the order they came, when they leave nothing out.
    const std::size_t first = count > kMaxAfterglowTraces ? count - kMaxAfterglowTraces : 0;
    if (covers(positions + first, count - first, newest, ringSize, span)) {
        for (std::size_t i = first; i < count; ++i) choice.positions[choice.count++] = positions[i];
        return choice;
    }

    // Otherwise back from the newest, each trace the oldest that still joins
    // the one before it (or, past a gap no trace bridges, the nearest beyond).
    std::array<std::int32_t, kMaxAfterglowTraces> backwards{};
    std::size_t chosen = 0;
    backwards[chosen++] = newest;
    std::int32_t reached = 0;
    while (chosen < kMaxAfterglowTraces && reached + kDrawnBack < span) {
        std::int32_t joining = -1, beyond = std::numeric_limits<std::int32_t>::max();
        std::size_t joiningIndex = 0, beyondIndex = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const std::int32_t age = ageOf(positions[i], newest, ringSize);
            if (age <= reached || age >= ringSize / 2) continue;
            if (age <= reached + kReach && age > joining) {
                joining = age;
                joiningIndex = i;
            } else if (age > reached + kReach && age < beyond) {
                beyond = age;
                beyondIndex = i;
            }
        }
        if (joining < 0 && beyond == std::numeric_limits<std::int32_t>::max()) break;
        const std::size_t next = joining >= 0 ? joiningIndex : beyondIndex;
        backwards[chosen++] = positions[next];
        reached = joining >= 0 ? joining : beyond;
    }
    for (std::size_t k = chosen; k > 0; --k) choice.positions[choice.count++] = backwards[k - 1];
    return choice;
}

}  // namespace widefield
