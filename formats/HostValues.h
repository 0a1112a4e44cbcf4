// HostValues.h — which of the effect's values a host has yet to hear.
//
//   HostValues  per control: the effect's value right after the audio thread
//               applied the host's own (handed to the UI thread), and the
//               value the host is known to hold (UI thread). The effect's
//               value is news for the host only when it is neither, so the
//               panel's changes go to the host and the host's never echo back.
//
// applied() belongs to the audio thread, everything else to the UI (main) thread.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

namespace formats {

class HostValues {
public:
    static constexpr std::size_t kMaxControls = 32;

    HostValues() {
        for (auto& value : applied_) value.store(std::numeric_limits<float>::quiet_NaN(), std::memory_order_relaxed);
    }

    // Audio thread: the effect's value right after it took the host's.
    void applied(std::size_t control, float effectValue) {
        applied_[control].store(effectValue, std::memory_order_relaxed);
        // One writer: a plain increment, published after the value.
        appliedCounts_[control].store(appliedCounts_[control].load(std::memory_order_relaxed) + 1,
                                      std::memory_order_release);
    }
    // The last value applied; NaN before the first.
    float appliedValue(std::size_t control) const { return applied_[control].load(std::memory_order_relaxed); }

    // The host holds this value now: it was told, or set it while nothing ran.
    void known(std::size_t control, float effectValue) { known_[control] = effectValue; }
    // The host holds this value and has heard of every application so far (a
    // panel starting: later differences are the panel's).
    void settled(std::size_t control, float effectValue) {
        known_[control] = effectValue;
        appliedCountSeen_[control] = appliedCounts_[control].load(std::memory_order_acquire);
    }

    // Whether the effect's value is one the host does not hold. A value the
    // audio thread has just taken from the host is the host's own, not news.
    bool isNews(std::size_t control, float effectValue) {
        const std::uint32_t count = appliedCounts_[control].load(std::memory_order_acquire);
        const bool hostApplied = count != appliedCountSeen_[control];
        appliedCountSeen_[control] = count;
        if (sameBits(effectValue, known_[control])) return false;
        if (hostApplied && sameBits(effectValue, appliedValue(control))) {
            known_[control] = effectValue;
            return false;
        }
        return true;
    }

private:
    static bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

    std::array<std::atomic<float>, kMaxControls> applied_;
    std::array<std::atomic<std::uint32_t>, kMaxControls> appliedCounts_{};
    std::array<float, kMaxControls> known_{};
    std::array<std::uint32_t, kMaxControls> appliedCountSeen_{};
};

}  // namespace formats
