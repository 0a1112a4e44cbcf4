// KernelChain.h — Widefield's chain written out from its one-channel kernels, a
// pair at a time: what the effect's sample loop must give bit for bit.
//
//   KernelChain  DC filters, input matrix, bass split and blend, balance, delay
//                or comb, output matrix, each with its own state; the DC and
//                bass stages may be off
#pragma once

#include <cstdint>

#include "stereo/BassFilter.h"
#include "stereo/DcFilter.h"
#include "stereo/StereoDelay.h"
#include "stereo/StereoMatrix.h"

namespace widefield::testing {

struct KernelChain {
    // `bassWidth` and `bassBoost` as the effect's 32-bit parameters hold them.
    KernelChain(const StereoMatrix& in, const StereoMatrix& balance, const StereoMatrix& out,
                const BassCoefficients& bass, float bassWidth, float bassBoost)
        : in(in), balance(balance), out(out), bass(bass), bassWidth(bassWidth), bassBoost(bassBoost) {}

    void apply(float& l, float& r, std::int32_t delaySamples, bool comb) {
        if (dcOn) {
            l = dcL.process(l);
            r = dcR.process(r);
        }
        in.apply(l, r);
        if (bassOn) {
            const double low1 = lowL.process(l, bass), low2 = lowR.process(r, bass);
            balance.apply(l, r);
            const double w = bassWidth, b = bassBoost;
            const float nl = static_cast<float>((0.5 + w) * low1 * (0.1 + b) + (0.5 - w) * low2 + l);
            const float nr = static_cast<float>((0.5 + w) * low2 * (0.1 + b) + (0.5 - w) * low1 + r);
            l = nl;
            r = nr;
        } else {
            balance.apply(l, r);
        }
        delay.process(l, r, delaySamples, comb, delayIndex);
        out.apply(l, r);
    }

    bool dcOn = true, bassOn = true;

private:
    StereoMatrix in, balance, out;
    BassCoefficients bass;
    float bassWidth, bassBoost;
    DcFilter dcL, dcR;
    BassChannel lowL, lowR;
    StereoDelay delay;
    std::int32_t delayIndex = 0;
};

}  // namespace widefield::testing
