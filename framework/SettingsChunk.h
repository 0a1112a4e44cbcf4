// SettingsChunk.h — the bytes of a state chunk: one format for every plug-in,
// build and plug-in format (VST 2 chunks, CLAP state).
//
//   ChunkSetting        one setting: its setParameter index and the value
//                       getParameter reads for it
//   ChunkContents       what a chunk holds, in fixed storage (no allocation)
//   writeSettingsChunk  the bytes for a plug-in's settings and program name
//   readSettingsChunk   checks every byte before it answers; whatever is not a
//                       whole chunk of this plug-in in a version we know is
//                       refused and leaves `contents` unusable
//   readOwnChunk        what an effect's setChunk reads: a whole chunk of its
//                       own whose every setting is one the effect keeps
//
// Layout, every number little-endian, floats as their IEEE bits, so a chunk
// written by any build restores any other exactly:
//
//   offset  size        field
//   0       4           "BrSt", the format's magic
//   4       4           the plug-in's unique id, first character first ("WdFd")
//   8       4 (uint32)  version, 1
//   12      4 (uint32)  count of settings
//   16      8 x count   per setting: index (int32), value (float bits, uint32)
//   ...     4 (uint32)  length of the program name, 0 to 31
//   ...     length      the program name's characters, no terminating zero
//
// The size is exactly 20 + 8 x count + length; a chunk of any other size is
// damaged. Settings are keyed by index, so a later version can add some
// without moving the others.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct ChunkSetting {
    std::int32_t index;
    float value;
};

struct ChunkContents {
    static constexpr std::size_t kMaxSettings = 64;
    static constexpr std::size_t kMaxNameLength = 31;
    ChunkSetting settings[kMaxSettings];
    std::size_t count = 0;
    char programName[kMaxNameLength + 1] = {};
};

enum class ChunkVerdict {
    accepted,
    notOurs,   // another magic or another plug-in's id
    tooNew,    // a version this build does not know
    damaged,   // sizes or counts that do not add up, a repeated index
};

constexpr std::uint32_t kSettingsChunkVersion = 1;

// A name longer than 31 characters is shortened; at most kMaxSettings settings.
std::vector<std::uint8_t> writeSettingsChunk(std::int32_t uniqueId, const ChunkSetting* settings, std::size_t count,
                                             const char* programName);

ChunkVerdict readSettingsChunk(const void* data, std::size_t size, std::int32_t uniqueId, ChunkContents& contents);

// True for a chunk of the plug-in's own, read into contents, whose every
// index `keeps` accepts; a chunk with a setting this build does not keep is
// not one of ours.
bool readOwnChunk(const void* data, std::int32_t byteSize, std::int32_t uniqueId, bool (*keeps)(std::int32_t index),
                  ChunkContents& contents);
