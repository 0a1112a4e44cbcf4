// SettingsChunk.cpp — writing and checking the chunk's bytes.
#include "framework/SettingsChunk.h"

#include <cstring>

namespace {

constexpr std::uint8_t kMagic[4] = {'B', 'r', 'S', 't'};
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kSettingSize = 8;

void putWord(std::vector<std::uint8_t>& bytes, std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(word >> shift));
}

std::uint32_t wordAt(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// The id's four characters, first in front, as fourCharCode packs them.
void idBytes(std::int32_t uniqueId, std::uint8_t out[4]) {
    const auto id = static_cast<std::uint32_t>(uniqueId);
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(id >> (24 - 8 * i));
}

}  // namespace

std::vector<std::uint8_t> writeSettingsChunk(std::int32_t uniqueId, const ChunkSetting* settings, std::size_t count,
                                             const char* programName) {
    if (count > ChunkContents::kMaxSettings) count = ChunkContents::kMaxSettings;
    std::size_t nameLength = 0;
    if (programName != nullptr)
        while (nameLength < ChunkContents::kMaxNameLength && programName[nameLength] != '\0') ++nameLength;

    std::vector<std::uint8_t> bytes;
    bytes.reserve(kHeaderSize + kSettingSize * count + 4 + nameLength);
    bytes.insert(bytes.end(), kMagic, kMagic + 4);
    std::uint8_t id[4];
    idBytes(uniqueId, id);
    bytes.insert(bytes.end(), id, id + 4);
    putWord(bytes, kSettingsChunkVersion);
    putWord(bytes, static_cast<std::uint32_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &settings[i].value, sizeof bits);
        putWord(bytes, static_cast<std::uint32_t>(settings[i].index));
        putWord(bytes, bits);
    }
    putWord(bytes, static_cast<std::uint32_t>(nameLength));
    bytes.insert(bytes.end(), programName, programName + nameLength);
    return bytes;
}

ChunkVerdict readSettingsChunk(const void* data, std::size_t size, std::int32_t uniqueId, ChunkContents& contents) {
    contents.count = 0;
    contents.programName[0] = '\0';
    if (data == nullptr || size < 8) return ChunkVerdict::notOurs;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::uint8_t id[4];
    idBytes(uniqueId, id);
    if (std::memcmp(bytes, kMagic, 4) != 0 || std::memcmp(bytes + 4, id, 4) != 0) return ChunkVerdict::notOurs;
    if (size < kHeaderSize) return ChunkVerdict::damaged;
    const std::uint32_t version = wordAt(bytes + 8);
    if (version > kSettingsChunkVersion) return ChunkVerdict::tooNew;
    if (version == 0) return ChunkVerdict::damaged;

    // Every size is checked against what is there before anything is read from it.
    const std::uint32_t count = wordAt(bytes + 12);
    if (count > ChunkContents::kMaxSettings) return ChunkVerdict::damaged;
    const std::size_t nameAt = kHeaderSize + kSettingSize * count;
    if (size < nameAt + 4) return ChunkVerdict::damaged;
    const std::uint32_t nameLength = wordAt(bytes + nameAt);
    if (nameLength > ChunkContents::kMaxNameLength || size != nameAt + 4 + nameLength) return ChunkVerdict::damaged;

    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = bytes + kHeaderSize + kSettingSize * i;
        const auto index = static_cast<std::int32_t>(wordAt(entry));
        const std::uint32_t bits = wordAt(entry + 4);
        for (std::uint32_t k = 0; k < i; ++k)
            if (contents.settings[k].index == index) return ChunkVerdict::damaged;
        contents.settings[i].index = index;
        std::memcpy(&contents.settings[i].value, &bits, sizeof bits);
    }
    const char* name = reinterpret_cast<const char*>(bytes + nameAt + 4);
    for (std::uint32_t i = 0; i < nameLength; ++i)
        if (name[i] == '\0') return ChunkVerdict::damaged;
    contents.count = count;
    std::memcpy(contents.programName, name, nameLength);
    contents.programName[nameLength] = '\0';
    return ChunkVerdict::accepted;
}

bool readOwnChunk(const void* data, std::int32_t byteSize, std::int32_t uniqueId, bool (*keeps)(std::int32_t index),
                  ChunkContents& contents) {
    if (data == nullptr || byteSize <= 0) return false;
    if (readSettingsChunk(data, static_cast<std::size_t>(byteSize), uniqueId, contents) != ChunkVerdict::accepted)
        return false;
    for (std::size_t i = 0; i < contents.count; ++i)
        if (!keeps(contents.settings[i].index)) return false;
    return true;
}
