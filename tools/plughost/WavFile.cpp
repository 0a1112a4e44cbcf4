// WavFile.cpp — walking the RIFF chunks, checking the fmt chunk against the
// data, and the float32 writer. Bytes are assembled by hand (little-endian
// whatever the machine), so a sample's bits pass through unchanged.
#include "tools/plughost/WavFile.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace plughost {
namespace {

constexpr std::uint16_t kTagPcm = 1;
constexpr std::uint16_t kTagFloat = 3;
constexpr std::uint16_t kTagExtensible = 0xFFFE;
// The sub-format GUID of WAVE_FORMAT_EXTENSIBLE after its first two bytes
// (which hold the plain format tag): ....0000-0010-8000-00AA00389B71.
constexpr std::uint8_t kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                             0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::uint16_t read16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t read32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}
void putId(std::vector<std::uint8_t>& out, const char* id) { out.insert(out.end(), id, id + 4); }

struct Span {
    std::size_t offset = 0;
    std::size_t size = 0;
    bool found = false;
};

std::string number(std::size_t value) { return std::to_string(static_cast<unsigned long long>(value)); }

// The fmt and data chunks of the RIFF body; other chunks are skipped.
bool findChunks(const std::vector<std::uint8_t>& bytes, Span& fmt, Span& data, std::string& error) {
    if (bytes.size() < 12) return error = "too short for a WAV file (" + number(bytes.size()) + " bytes)", false;
    if (std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return error = "not a RIFF/WAVE file", false;
    const std::size_t riffSize = read32(bytes.data() + 4);
    if (riffSize < 4 || riffSize > bytes.size() - 8)
        return error = "the RIFF header claims " + number(riffSize) + " bytes, the file holds " +
                       number(bytes.size() - 8) + " (truncated?)",
               false;
    const std::size_t end = 8 + riffSize;
    std::size_t at = 12;
    while (at < end) {
        if (end - at < 8) return error = "a chunk header at byte " + number(at) + " runs past the RIFF data", false;
        const std::string id(reinterpret_cast<const char*>(bytes.data() + at), 4);
        const std::size_t size = read32(bytes.data() + at + 4);
        if (size > end - at - 8)
            return error = "the '" + id + "' chunk claims " + number(size) + " bytes, only " +
                           number(end - at - 8) + " follow (truncated?)",
                   false;
        Span* span = id == "fmt " ? &fmt : id == "data" ? &data : nullptr;
        if (span && !span->found) *span = Span{at + 8, size, true};
        at += 8 + size + (size & 1);  // chunks are padded to even sizes
    }
    if (!fmt.found) return error = "no 'fmt ' chunk", false;
    if (!data.found) return error = "no 'data' chunk", false;
    return true;
}

// The sample format of the fmt chunk, checked against its own sizes.
bool readFormat(const std::uint8_t* fmt, std::size_t size, WavAudio& audio, std::size_t& frameBytes,
                std::string& error) {
    if (size < 16) return error = "the 'fmt ' chunk is " + number(size) + " bytes, less than 16", false;
    std::uint16_t tag = read16(fmt);
    const std::uint16_t channels = read16(fmt + 2);
    const std::uint32_t rate = read32(fmt + 4);
    const std::uint16_t blockAlign = read16(fmt + 12);
    const std::uint16_t bits = read16(fmt + 14);
    audio.format.extensible = tag == kTagExtensible;
    if (audio.format.extensible) {
        if (size < 40 || read16(fmt + 16) < 22)
            return error = "the extensible 'fmt ' chunk is too short for its sub-format", false;
        const std::uint16_t validBits = read16(fmt + 18);
        if (validBits == 0 || validBits > bits)
            return error = number(validBits) + " valid bits in " + number(bits) + "-bit samples", false;
        tag = read16(fmt + 24);
        if (std::memcmp(fmt + 26, kSubFormatTail, sizeof kSubFormatTail) != 0)
            return error = "an extensible sub-format that is not a WAV format tag", false;
    }
    if (tag == kTagFloat && bits == 32) {
        audio.format.encoding = WavEncoding::float32;
    } else if (tag == kTagPcm && (bits == 16 || bits == 24)) {
        audio.format.encoding = bits == 16 ? WavEncoding::pcm16 : WavEncoding::pcm24;
    } else {
        char tagText[8];
        std::snprintf(tagText, sizeof tagText, "0x%04X", tag);
        error = tag == kTagPcm     ? number(bits) + "-bit PCM is not read"
                : tag == kTagFloat ? number(bits) + "-bit float is not read"
                                   : "format tag " + std::string(tagText) + " (neither PCM nor float) is not read";
        return false;
    }
    if (channels == 0) return error = "the 'fmt ' chunk gives no channels", false;
    if (rate == 0) return error = "the 'fmt ' chunk gives a sample rate of 0", false;
    frameBytes = static_cast<std::size_t>(channels) * (bits / 8);
    if (blockAlign != frameBytes)
        return error = "a block align of " + number(blockAlign) + " bytes for " + number(channels) + " channels of " +
                       number(bits) + " bits",
               false;
    audio.channels = channels;
    audio.rate = rate;
    return true;
}

float decodeSample(const std::uint8_t* p, WavEncoding encoding) {
    switch (encoding) {
        case WavEncoding::pcm16:
            return static_cast<float>(static_cast<std::int16_t>(read16(p))) / 32768.0f;
        case WavEncoding::pcm24: {
            std::int32_t value = p[0] | p[1] << 8 | p[2] << 16;
            if (value & 0x800000) value -= 0x1000000;  // the sign bit of 24
            return static_cast<float>(value) / 8388608.0f;
        }
        case WavEncoding::float32:
            break;
    }
    const std::uint32_t bits = read32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

bool decodeWav(const std::vector<std::uint8_t>& bytes, WavAudio& audio, std::string& error) {
    Span fmt, data;
    std::size_t frameBytes = 0;
    audio = WavAudio{};
    if (!findChunks(bytes, fmt, data, error) || !readFormat(bytes.data() + fmt.offset, fmt.size, audio, frameBytes, error))
        return false;
    if (data.size % frameBytes != 0)
        return error = "the 'data' chunk's " + number(data.size) + " bytes are no whole number of " +
                       number(frameBytes) + "-byte frames",
               false;
    const std::size_t sampleBytes = frameBytes / static_cast<std::size_t>(audio.channels);
    audio.samples.resize(data.size / sampleBytes);
    const std::uint8_t* p = bytes.data() + data.offset;
    for (float& sample : audio.samples) {
        sample = decodeSample(p, audio.format.encoding);
        p += sampleBytes;
    }
    return true;
}

bool encodeWav(int channels, double rate, const std::vector<float>& samples, std::vector<std::uint8_t>& bytes,
               std::string& error) {
    const long long hertz = std::llround(rate);
    if (channels < 1 || channels > 0xFFFF / 4)
        return error = "a WAV file cannot hold " + std::to_string(channels) + " channels", false;
    if (hertz < 1 || hertz > 0xFFFFFFFFLL / (4LL * channels))
        return error = "a WAV file cannot hold a sample rate of " + std::to_string(rate), false;
    const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
    const std::size_t dataBytes = frames * static_cast<std::size_t>(channels) * 4;
    constexpr std::size_t kHeaderAfterRiffSize = 4 + 8 + 18 + 8 + 4 + 8;  // WAVE, fmt, fact, data's header
    if (dataBytes > 0xFFFFFFFFull - kHeaderAfterRiffSize) return error = "too long for a WAV file (4 GiB)", false;
    bytes.clear();
    bytes.reserve(8 + kHeaderAfterRiffSize + dataBytes);
    putId(bytes, "RIFF");
    put32(bytes, static_cast<std::uint32_t>(kHeaderAfterRiffSize + dataBytes));
    putId(bytes, "WAVE");
    // Float data has the 18-byte fmt chunk (with an empty extension) and a
    // fact chunk, as the format asks of every format but PCM.
    putId(bytes, "fmt ");
    put32(bytes, 18);
    put16(bytes, kTagFloat);
    put16(bytes, static_cast<std::uint32_t>(channels));
    put32(bytes, static_cast<std::uint32_t>(hertz));
    put32(bytes, static_cast<std::uint32_t>(hertz * 4 * channels));
    put16(bytes, static_cast<std::uint32_t>(4 * channels));
    put16(bytes, 32);
    put16(bytes, 0);
    putId(bytes, "fact");
    put32(bytes, 4);
    put32(bytes, static_cast<std::uint32_t>(frames));
    putId(bytes, "data");
    put32(bytes, static_cast<std::uint32_t>(dataBytes));
    for (std::size_t i = 0; i < frames * static_cast<std::size_t>(channels); ++i) {
        std::uint32_t value;
        std::memcpy(&value, &samples[i], sizeof value);
        put32(bytes, value);
    }
    return true;
}

std::string wavFormatName(const WavFormat& format) {
    std::string name = format.encoding == WavEncoding::float32 ? "WAV float32"
                       : format.encoding == WavEncoding::pcm16 ? "WAV PCM 16-bit"
                                                               : "WAV PCM 24-bit";
    return format.extensible ? name + " (extensible)" : name;
}

}  // namespace plughost
