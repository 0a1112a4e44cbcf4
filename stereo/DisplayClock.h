// DisplayClock.h — which ring position the panel shows as "now".
//
// The audio thread runs ahead of what is heard by the host's buffering; the
// display latency compensates. The clock is anchored to a tick count and to the
// two ring write positions; a display position is the anchor advanced by the
// ticks since, less the latency, in samples, brought into the ring.
//
//   displayPosition  the pure conversion
//   DisplayClock     the anchor: three fields with one writer, the audio thread
//                    (the effect's constructor before it), which is also the
//                    reader, so no position is computed from a torn anchor;
//                    the panel's timer only asks for a re-anchoring
#pragma once

#include <atomic>
#include <cstdint>

namespace widefield {

// round((elapsedMs - latencyMs) x sampleRate / 1000) + anchor, in 0..ringSize-1.
// elapsedMs is the signed 32-bit difference of two tick counts, so the counter's
// wrap after 49 days changes nothing.
std::int32_t displayPosition(std::int32_t elapsedMs, std::int32_t latencyMs, double sampleRate, std::int32_t ringSize,
                             std::int32_t anchor);

class DisplayClock {
public:
    void anchor(std::uint32_t now, std::int32_t scopeIndex, std::int32_t sampleIndex) {
        syncTime.store(now, std::memory_order_relaxed);
        syncScopeIndex.store(scopeIndex, std::memory_order_relaxed);
        syncSampleIndex.store(sampleIndex, std::memory_order_relaxed);
    }
    std::int32_t scopePosition(std::uint32_t now, std::int32_t latencyMs, double sampleRate, std::int32_t ringSize) const {
        return displayPosition(elapsed(now), latencyMs, sampleRate, ringSize,
                               syncScopeIndex.load(std::memory_order_relaxed));
    }
    std::int32_t samplePosition(std::uint32_t now, std::int32_t latencyMs, double sampleRate, std::int32_t ringSize) const {
        return displayPosition(elapsed(now), latencyMs, sampleRate, ringSize,
                               syncSampleIndex.load(std::memory_order_relaxed));
    }
    std::uint32_t anchorTime() const { return syncTime.load(std::memory_order_relaxed); }

private:
    std::int32_t elapsed(std::uint32_t now) const {
        return static_cast<std::int32_t>(now - syncTime.load(std::memory_order_relaxed));
    }

    std::atomic<std::uint32_t> syncTime{0};
    std::atomic<std::int32_t> syncScopeIndex{0};
    std::atomic<std::int32_t> syncSampleIndex{0};
};

}  // namespace widefield
