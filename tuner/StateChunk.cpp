// StateChunk.cpp — Tonemark's two settings and its program name as one chunk
// (the ADoubler overrides getChunk and setChunk), in the chunk format both
// plug-ins share.
//
// A VST 2 host keeps Tonemark's two host parameters itself, so the record does
// not offer chunks; formats whose hosts keep only the state (CLAP) ask for it.
#include <cmath>

#include "framework/SettingsChunk.h"
#include "tuner/uDoubler.h"

namespace tonemark {

namespace {
constexpr std::int32_t kStateIndices[] = {ADoubler::kReferencePitch, ADoubler::kAccuracy};

bool isStateIndex(std::int32_t index) { return index == ADoubler::kReferencePitch || index == ADoubler::kAccuracy; }

// Only what a chunk of ours can hold: a reference of 425 to 453 Hz, an
// accuracy setting of 0 to 2.
bool isUsable(const ChunkSetting& setting) {
    if (!std::isfinite(setting.value)) return false;
    if (setting.index == ADoubler::kReferencePitch) return setting.value >= 425.0f && setting.value <= 453.0f;
    return setting.value >= 0.0f && setting.value <= 2.0f;
}
}  // namespace

std::int32_t ADoubler::getChunk(void** data, bool) {
    ChunkSetting state[2];
    std::size_t count = 0;
    for (std::int32_t index : kStateIndices) state[count++] = ChunkSetting{index, getParameter(index)};
    chunk = writeSettingsChunk(getAeffect()->uniqueID, state, count, programName);
    *data = chunk.data();
    return static_cast<std::int32_t>(chunk.size());
}

std::int32_t ADoubler::setChunk(void* data, std::int32_t byteSize, bool) {
    ChunkContents contents;
    if (!readOwnChunk(data, byteSize, getAeffect()->uniqueID, isStateIndex, contents)) return 0;
    for (std::size_t i = 0; i < contents.count; ++i)
        if (isUsable(contents.settings[i])) setParameter(contents.settings[i].index, contents.settings[i].value);
    setProgramName(contents.programName);
    return 1;
}

}  // namespace tonemark
