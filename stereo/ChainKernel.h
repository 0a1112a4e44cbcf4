// ChainKernel.h — the sample loop of the full chain, one instance per set of stages.
//
//   ChainBlock     what the loop reads: the block's matrices, bass blend and delay
//   ChainState     the filter, delay and capture state the loop carries
//   runChainBlock  picks the loop for the block's stages and runs it
//
// The stages that are on for a block are template arguments, so each loop is
// straight-line code: no test of a setting inside the loop, and the compiler
// keeps the block's constants in registers.
#pragma once

#include <cstdint>

#include "stereo/StereoCapture.h"
#include "stereo/StereoDelay.h"
#include "stereo/StereoPair.h"

namespace widefield {

struct ChainBlock {
    PairMatrix input, balance, output;
    double bassWidth, bassBoost;
    std::int32_t delaySamples;
    bool bypass, dcFilterOn, bassOn, pseudoStereo, captureOn;
};

struct ChainState {
    DcFilterPair& dc;
    BassFilterPair& bass;
    StereoDelay& delay;
    std::int32_t& delayIndex;
    StereoCapture& capture;
    std::int32_t& scopeIndex;
    std::int32_t& sampleIndex;
};

namespace chain {

enum class DelayMode { none, plain, comb };

// The stages after the filters: balance (with the low band on top), delay or
// comb, output section, capture and the output itself.
template <bool kBass, DelayMode kDelay, bool kCapture>
inline void finish(const ChainBlock& b, StereoDelay& delay, StereoCapture& capture, Pair x, Pair low,
                   std::int32_t delaySamples, std::int32_t& delayIndex, std::int32_t& scopeIndex,
                   std::int32_t& sampleIndex, float* outL, float* outR) {
    if (kBass)
        x = bassBlend(low, b.balance.apply(x), b.bassWidth, b.bassBoost);
    else if (!b.balance.identity)
        x = b.balance.apply(x);
    x = delay.processPair(x, delaySamples, kDelay == DelayMode::comb, delayIndex);
    if (!b.output.identity) x = b.output.apply(x);
    // Capture, then the output (after the input pair was read: the blocks may be one).
    if (kCapture) capture.capturePair(x, scopeIndex, sampleIndex);
    const __m128 out = asFloats(x);
    *outL = leftOf(out);
    *outR = rightOf(out);
}

template <bool kDc, bool kBass, DelayMode kDelay, bool kCapture>
void run(const ChainBlock& b, ChainState& st, const float* inL, const float* inR, float* outL, float* outR,
         std::int32_t frames) {
    DcFilterPair dc = st.dc;
    BassFilterPair bass = st.bass;
    std::int32_t delayIndex = st.delayIndex, scopeIndex = st.scopeIndex, sampleIndex = st.sampleIndex;
    const std::int32_t delaySamples = kDelay == DelayMode::none ? 0 : b.delaySamples;
    if (kDc || kBass) {
        // Two passes over short stretches: the filters' recursions first, then
        // the rest of the chain. Each loop is short enough for the processor to
        // overlap many samples; one loop over every stage is not.
        constexpr std::int32_t kStretch = 128;
        Pair filtered[kStretch], lows[kStretch];
        for (std::int32_t start = 0; start < frames; start += kStretch) {
            const std::int32_t n = frames - start < kStretch ? frames - start : kStretch;
            for (std::int32_t i = 0; i < n; ++i) {
                Pair x = makePair(inL[start + i], inR[start + i]);
                if (kDc) x = dc.process(x);
                if (!b.input.identity) x = b.input.apply(x);
                filtered[i] = x;
                if (kBass) lows[i] = bass.process(x);
            }
            for (std::int32_t i = 0; i < n; ++i)
                finish<kBass, kDelay, kCapture>(b, st.delay, st.capture, filtered[i], kBass ? lows[i] : filtered[i],
                                                delaySamples, delayIndex, scopeIndex, sampleIndex, outL + start + i,
                                                outR + start + i);
        }
    } else {
        for (std::int32_t i = 0; i < frames; ++i) {
            Pair x = makePair(inL[i], inR[i]);
            if (!b.input.identity) x = b.input.apply(x);
            finish<false, kDelay, kCapture>(b, st.delay, st.capture, x, x, delaySamples, delayIndex, scopeIndex,
                                            sampleIndex, outL + i, outR + i);
        }
    }
    st.dc = dc;
    st.bass = bass;
    st.delayIndex = delayIndex;
    st.scopeIndex = scopeIndex;
    st.sampleIndex = sampleIndex;
}

// Bypassed: the input passes as it is; only the capture runs.
template <bool kCapture>
void bypass(ChainState& st, const float* inL, const float* inR, float* outL, float* outR, std::int32_t frames) {
    std::int32_t scopeIndex = st.scopeIndex, sampleIndex = st.sampleIndex;
    for (std::int32_t i = 0; i < frames; ++i) {
        const Pair x = makePair(inL[i], inR[i]);
        if (kCapture) st.capture.capturePair(x, scopeIndex, sampleIndex);
        const __m128 out = asFloats(x);
        outL[i] = leftOf(out);
        outR[i] = rightOf(out);
    }
    st.scopeIndex = scopeIndex;
    st.sampleIndex = sampleIndex;
}

template <bool kDc, bool kBass, DelayMode kDelay>
void withCapture(const ChainBlock& b, ChainState& st, const float* inL, const float* inR, float* outL, float* outR,
                 std::int32_t frames) {
    if (b.captureOn)
        run<kDc, kBass, kDelay, true>(b, st, inL, inR, outL, outR, frames);
    else
        run<kDc, kBass, kDelay, false>(b, st, inL, inR, outL, outR, frames);
}

template <bool kDc, bool kBass>
void withDelay(const ChainBlock& b, ChainState& st, const float* inL, const float* inR, float* outL, float* outR,
               std::int32_t frames) {
    if (b.delaySamples == 0)
        withCapture<kDc, kBass, DelayMode::none>(b, st, inL, inR, outL, outR, frames);
    else if (b.pseudoStereo)
        withCapture<kDc, kBass, DelayMode::comb>(b, st, inL, inR, outL, outR, frames);
    else
        withCapture<kDc, kBass, DelayMode::plain>(b, st, inL, inR, outL, outR, frames);
}

}  // namespace chain

inline void runChainBlock(const ChainBlock& b, ChainState& st, const float* inL, const float* inR, float* outL,
                          float* outR, std::int32_t frames) {
    using namespace chain;
    if (b.bypass) {
        if (b.captureOn)
            bypass<true>(st, inL, inR, outL, outR, frames);
        else
            bypass<false>(st, inL, inR, outL, outR, frames);
    } else if (b.dcFilterOn) {
        if (b.bassOn)
            withDelay<true, true>(b, st, inL, inR, outL, outR, frames);
        else
            withDelay<true, false>(b, st, inL, inR, outL, outR, frames);
    } else if (b.bassOn) {
        withDelay<false, true>(b, st, inL, inR, outL, outR, frames);
    } else {
        withDelay<false, false>(b, st, inL, inR, outL, outR, frames);
    }
}

}  // namespace widefield
