// StereoDelay.h — the inter-channel delay and the pseudo-stereo comb.
//
// Two rings of 1000 samples written on every sample whatever the delay, so a
// change of the delay or mode uses samples already there. The chain keeps the
// write position in a local for the block (process takes it by reference).
// D < 0 acts on the left channel, D > 0 on the right; |D| <= kMaxDelay.
#pragma once

#include <cstdint>

namespace widefield {

class StereoDelay {
public:
    static constexpr std::int32_t kRingSize = 1000;
    static constexpr std::int32_t kMaxDelay = 120;

    void process(float& left, float& right, std::int32_t delay, bool pseudoStereo, std::int32_t& index) {
        // 1. Newest pair into the rings.
        if (++index > kRingSize - 1) index = 0;
        ringLeft[index] = left;
        ringRight[index] = right;
        if (delay == 0) return;
        // 2. The pair |D| samples ago.
        std::int32_t j = index - (delay < 0 ? -delay : delay);
        if (j < 0) j += kRingSize;
        const double ld = ringLeft[j], rd = ringRight[j];
        if (pseudoStereo) {
            // 3. The comb: each side gets a third of a delayed side, with opposite signs.
            if (delay < 0) {
                left = static_cast<float>(left + 0.33 * rd);
                right = static_cast<float>(right - 0.33 * ld);
            } else {
                left = static_cast<float>(left - 0.33 * ld);
                right = static_cast<float>(right + 0.33 * rd);
            }
        } else if (delay < 0) {
            // 4. Plain delay of the left channel.
            left = static_cast<float>(ld);
        } else {
            // Plain delay of the right channel; the left keeps the undelayed sum L + R.
            right = static_cast<float>(rd);
            left = static_cast<float>(2.0 * left - rd);
        }
    }

    std::int32_t writeIndex = 0;

private:
    float ringLeft[kRingSize] = {};
    float ringRight[kRingSize] = {};
};

}  // namespace widefield
