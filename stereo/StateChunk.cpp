// StateChunk.cpp — Widefield's whole session state as one chunk (the ADoubler
// overrides getChunk and setChunk).
//
// A session keeps every setting of the parameter table (the host parameters
// and the panel-only ones), the fluorescence switch and the program name; not
// the display latency, which belongs to the host program, nor the scope's
// block divider. The bytes are framework/SettingsChunk's, the same for the
// bank and the program.
#include <cmath>

#include "framework/SettingsChunk.h"
#include "stereo/uDoubler.h"

namespace widefield {

namespace {

// Besides the table's settings, the one switch of the panel's that a session keeps.
constexpr std::int32_t kExtraStateIndex = ParameterIndex::kSetFluorescence;

bool isStateIndex(std::int32_t index) { return index == kExtraStateIndex || findSetting(index) != nullptr; }

// What setParameter would take and getParameter could read back: a value of
// 0..1 (a chunk of ours holds nothing else); anything else is passed over.
bool isUsableValue(float value) { return std::isfinite(value) && value >= 0.0f && value <= 1.0f; }

}  // namespace

std::int32_t ADoubler::getChunk(void** data, bool) {
    ChunkSetting state[ChunkContents::kMaxSettings];
    std::size_t count = 0;
    for (const SettingDescription& setting : settingTable())
        state[count++] = ChunkSetting{setting.index, getParameter(setting.index)};
    state[count++] = ChunkSetting{kExtraStateIndex, getParameter(kExtraStateIndex)};
    chunk = writeSettingsChunk(getAeffect()->uniqueID, state, count, programName);
    *data = chunk.data();
    return static_cast<std::int32_t>(chunk.size());
}

std::int32_t ADoubler::setChunk(void* data, std::int32_t byteSize, bool) {
    ChunkContents contents;
    if (!readOwnChunk(data, byteSize, getAeffect()->uniqueID, isStateIndex, contents)) return 0;

    // The audio thread takes either every setting before this or every one
    // after it, never a block of both (blockContext).
    const std::uint32_t writes = stateWrites.load(std::memory_order_relaxed);
    stateWrites.store(writes + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    for (std::size_t i = 0; i < contents.count; ++i)
        if (isUsableValue(contents.settings[i].value))
            setParameter(contents.settings[i].index, contents.settings[i].value);
    stateWrites.store(writes + 2, std::memory_order_release);
    setProgramName(contents.programName);
    return 1;
}

}  // namespace widefield
