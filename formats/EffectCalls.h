// EffectCalls.h — the effect's record called as a VST 2 host calls it, the
// same way by every format adapter.
//
//   kAdapterHostVersion  what an adapter answers the effect's audioMasterVersion
//   answerVersionOnly    a host callback for an effect nobody hears (texts, facts)
//   processInCalls       processReplacing over any frame count, in calls whose
//                        int32 count carries them
#pragma once

#include <cstdint>

#include "framework/DAEffect.h"

namespace formats {

constexpr VstIntPtr kAdapterHostVersion = 2400;

inline VstIntPtr VSTCALLBACK answerVersionOnly(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? kAdapterHostVersion : 0;
}

// From frame `offset` of each channel on. The record's entry runs with
// denormals flushed for the call, as a VST 2 host calls it.
inline void processInCalls(AEffect& record, float* const* inputs, float* const* outputs, std::uint32_t offset,
                           std::uint32_t frames) {
    constexpr std::uint32_t kLargestCall = 1u << 20;
    while (frames > 0) {
        const std::uint32_t count = frames < kLargestCall ? frames : kLargestCall;
        float* in[2] = {inputs[0] + offset, inputs[1] + offset};
        float* out[2] = {outputs[0] + offset, outputs[1] + offset};
        record.processReplacing(&record, in, out, static_cast<std::int32_t>(count));
        offset += count;
        frames -= count;
    }
}

}  // namespace formats
