// DisplayClock.cpp — the display position.
#include "stereo/DisplayClock.h"

#include <cmath>

namespace widefield {

std::int32_t displayPosition(std::int32_t elapsedMs, std::int32_t latencyMs, double sampleRate, std::int32_t ringSize,
                             std::int32_t anchor) {
    if (ringSize <= 0) return 0;
    if (!(sampleRate > 0.0) || !std::isfinite(sampleRate)) sampleRate = 44100.0;
    // Both terms fit 32 bits, so the product stays far inside the int64 range.
    const double offset =
        std::nearbyint((static_cast<double>(elapsedMs) - static_cast<double>(latencyMs)) * sampleRate / 1000.0);
    const double limit = 9.0e18;
    const double held = offset > limit ? limit : (offset < -limit ? -limit : offset);
    std::int64_t position = static_cast<std::int64_t>(held) % ringSize + anchor % ringSize;
    position %= ringSize;
    if (position < 0) position += ringSize;
    return static_cast<std::int32_t>(position);
}

}  // namespace widefield
