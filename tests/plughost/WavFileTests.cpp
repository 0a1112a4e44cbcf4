// WavFileTests.cpp — plughost's WAV reader and writer on files written here
// byte by byte: the sample formats it reads (plain and extensible), the files
// it must refuse, and the exact bytes of the file it writes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "tools/plughost/WavFile.h"

namespace {

using plughost::WavAudio;
using plughost::WavEncoding;
using Bytes = std::vector<std::uint8_t>;

// A file spelled out field by field: ids as text, numbers little-endian.
struct File {
    Bytes bytes;
    File& id(const char* text) {
        bytes.insert(bytes.end(), text, text + 4);
        return *this;
    }
    File& u16(std::uint32_t value) { return raw({value & 0xFF, value >> 8 & 0xFF}); }
    File& u32(std::uint32_t value) { return u16(value & 0xFFFF).u16(value >> 16); }
    File& raw(std::initializer_list<std::uint32_t> values) {
        for (std::uint32_t v : values) bytes.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
};

// RIFF/WAVE around `body` (the chunks), with the RIFF size it has.
Bytes riff(const File& body) {
    File file;
    file.id("RIFF").u32(static_cast<std::uint32_t>(4 + body.bytes.size())).id("WAVE");
    file.bytes.insert(file.bytes.end(), body.bytes.begin(), body.bytes.end());
    return file.bytes;
}

// The 16-byte fmt chunk.
File& fmt(File& file, int tag, int channels, std::uint32_t rate, int bits) {
    const int align = channels * bits / 8;
    return file.id("fmt ").u32(16).u16(tag).u16(channels).u32(rate).u32(rate * align).u16(align).u16(bits);
}

// The 40-byte extensible fmt chunk: sub-format GUID {tag-0000-0010-8000-00AA00389B71}.
File& extensibleFmt(File& file, int subTag, int channels, std::uint32_t rate, int bits, int validBits) {
    const int align = channels * bits / 8;
    file.id("fmt ").u32(40).u16(0xFFFE).u16(channels).u32(rate).u32(rate * align).u16(align).u16(bits);
    file.u16(22).u16(validBits).u32(channels == 2 ? 3 : 4);  // cbSize, valid bits, speaker mask
    return file.u16(subTag).raw({0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71});
}

std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::vector<std::uint32_t> bitsOf(const std::vector<float>& values) {
    std::vector<std::uint32_t> bits;
    for (float v : values) bits.push_back(bitsOf(v));
    return bits;
}

WavAudio decoded(const Bytes& bytes) {
    WavAudio audio;
    std::string error;
    EXPECT_TRUE(plughost::decodeWav(bytes, audio, error)) << error;
    return audio;
}

// 16-bit: -32768, 32767, 1, -1; 24-bit: -2^23, 2^23 - 1, 1, -1, each over 2^(bits-1).
const std::vector<float> kPcm16Values = {-1.0f, 32767.0f / 32768.0f, 1.0f / 32768.0f, -1.0f / 32768.0f};
const std::vector<float> kPcm24Values = {-1.0f, 8388607.0f / 8388608.0f, 1.0f / 8388608.0f, -1.0f / 8388608.0f};
File& pcm16Data(File& file) { return file.id("data").u32(8).raw({0x00, 0x80, 0xFF, 0x7F, 0x01, 0x00, 0xFF, 0xFF}); }
File& pcm24Data(File& file) {
    return file.id("data").u32(12).raw({0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F, 0x01, 0x00, 0x00, 0xFF, 0xFF, 0xFF});
}

TEST(WavFile, ReadsFloatAnd16And24BitPcm) {
    // Mono float past an odd-sized LIST chunk (and its pad byte): the samples'
    // bits unchanged, a NaN's payload and the sign of zero included.
    File floatBody;
    floatBody.id("LIST").u32(3).raw({'a', 'b', 'c', 0});
    fmt(floatBody, 3, 1, 96000, 32).id("data").u32(12).u32(0x3F000000).u32(0x80000000).u32(0x7FC00123);
    const WavAudio mono = decoded(riff(floatBody));
    EXPECT_EQ(mono.format.encoding, WavEncoding::float32);
    EXPECT_FALSE(mono.format.extensible);
    EXPECT_EQ(mono.channels, 1);
    EXPECT_EQ(mono.rate, 96000.0);
    EXPECT_EQ(bitsOf(mono.samples), (std::vector<std::uint32_t>{0x3F000000, 0x80000000, 0x7FC00123}));

    File pcm16Body;
    pcm16Data(fmt(pcm16Body, 1, 2, 44100, 16));
    const WavAudio pcm16 = decoded(riff(pcm16Body));
    EXPECT_EQ(pcm16.format.encoding, WavEncoding::pcm16);
    EXPECT_EQ(pcm16.channels, 2);
    EXPECT_EQ(pcm16.rate, 44100.0);
    EXPECT_EQ(pcm16.samples, kPcm16Values);

    File pcm24Body;
    pcm24Data(fmt(pcm24Body, 1, 2, 48000, 24));
    const WavAudio pcm24 = decoded(riff(pcm24Body));
    EXPECT_EQ(pcm24.format.encoding, WavEncoding::pcm24);
    EXPECT_EQ(pcm24.samples, kPcm24Values);
    EXPECT_EQ(plughost::wavFormatName(pcm24.format), "WAV PCM 24-bit");
}

TEST(WavFile, ReadsExtensibleFilesOfEachSubFormat) {
    File floatBody;
    extensibleFmt(floatBody, 3, 2, 44100, 32, 32).id("data").u32(8).u32(0xBF800000).u32(0x3E800000);
    const WavAudio floats = decoded(riff(floatBody));
    EXPECT_EQ(floats.format.encoding, WavEncoding::float32);
    EXPECT_TRUE(floats.format.extensible);
    EXPECT_EQ(floats.samples, (std::vector<float>{-1.0f, 0.25f}));

    File pcm16Body;
    pcm16Data(extensibleFmt(pcm16Body, 1, 2, 44100, 16, 16));
    EXPECT_EQ(decoded(riff(pcm16Body)).samples, kPcm16Values);

    // 20 valid bits in a 24-bit container read as 24-bit samples.
    File pcm24Body;
    pcm24Data(extensibleFmt(pcm24Body, 1, 1, 48000, 24, 20));
    const WavAudio pcm24 = decoded(riff(pcm24Body));
    EXPECT_EQ(pcm24.channels, 1);
    EXPECT_EQ(pcm24.samples, kPcm24Values);
    EXPECT_EQ(plughost::wavFormatName(pcm24.format), "WAV PCM 24-bit (extensible)");
}

TEST(WavFile, RefusesOtherFormatsAndHeadersThatDoNotFitTheFile) {
    struct Case {
        const char* what;
        Bytes bytes;
        const char* reason;  // part of the error text
    };
    auto body = [](auto build) {
        File file;
        build(file);
        return riff(file);
    };
    auto withRiffSize = [](Bytes bytes, std::uint32_t size) {
        for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<std::uint8_t>(size >> (8 * i));
        return bytes;
    };
    const Bytes good = body([](File& f) { pcm16Data(fmt(f, 1, 2, 44100, 16)); });
    Bytes truncated = good;
    truncated.resize(truncated.size() - 3);
    Bytes bigEndian = good;
    std::memcpy(bigEndian.data(), "RIFX", 4);
    Bytes avi = good;
    std::memcpy(avi.data() + 8, "AVI ", 4);
    Bytes badGuid = body([](File& f) { pcm16Data(extensibleFmt(f, 1, 2, 44100, 16, 16)); });
    badGuid[12 + 8 + 26] ^= 0x01;  // a byte of the GUID's fixed part

    const std::vector<Case> cases = {
        {"eleven bytes", Bytes(good.begin(), good.begin() + 11), "too short"},
        {"big-endian RIFX", bigEndian, "not a RIFF/WAVE file"},
        {"an AVI file", avi, "not a RIFF/WAVE file"},
        {"a file cut short", truncated, "the RIFF header claims 44 bytes, the file holds 41"},
        {"a RIFF size past the end", withRiffSize(good, 0xFFFFFFFF), "the RIFF header claims 4294967295 bytes"},
        {"a data size past the end",
         body([](File& f) { fmt(f, 1, 2, 44100, 16).id("data").u32(12).raw({0, 0, 0, 0}); }),
         "the 'data' chunk claims 12 bytes, only 4 follow"},
        {"a cut chunk header", body([](File& f) { pcm16Data(fmt(f, 1, 2, 44100, 16)).raw({'L', 'I', 'S', 'T'}); }),
         "a chunk header at byte 52 runs past the RIFF data"},
        {"no fmt chunk", body([](File& f) { pcm16Data(f); }), "no 'fmt ' chunk"},
        {"no data chunk", body([](File& f) { fmt(f, 1, 2, 44100, 16); }), "no 'data' chunk"},
        {"a short fmt chunk", body([](File& f) { pcm16Data(f.id("fmt ").u32(2).u16(1)); }), "less than 16"},
        {"8-bit PCM", body([](File& f) { fmt(f, 1, 1, 8000, 8).id("data").u32(2).raw({0x80, 0x80}); }),
         "8-bit PCM is not read"},
        {"32-bit PCM", body([](File& f) { fmt(f, 1, 1, 8000, 32).id("data").u32(4).u32(0); }), "32-bit PCM"},
        {"64-bit float", body([](File& f) { fmt(f, 3, 1, 8000, 64).id("data").u32(0); }), "64-bit float"},
        {"ADPCM", body([](File& f) { fmt(f, 2, 1, 8000, 4).id("data").u32(0); }), "format tag 0x0002"},
        {"an extensible GUID of another kind", badGuid, "sub-format"},
        {"valid bits above the container",
         body([](File& f) { pcm16Data(extensibleFmt(f, 1, 2, 44100, 16, 17)); }), "17 valid bits in 16-bit"},
        {"no channels", body([](File& f) { fmt(f, 1, 0, 44100, 16).id("data").u32(0); }), "no channels"},
        {"rate 0", body([](File& f) { pcm16Data(fmt(f, 1, 2, 0, 16)); }), "sample rate of 0"},
        {"a block align that lies",
         body([](File& f) { f.id("fmt ").u32(16).u16(1).u16(2).u32(44100).u32(176400).u16(2).u16(16); pcm16Data(f); }),
         "a block align of 2 bytes for 2 channels of 16 bits"},
        {"half a frame", body([](File& f) { fmt(f, 1, 2, 44100, 16).id("data").u32(6).raw({0, 0, 0, 0, 0, 0}); }),
         "no whole number of 4-byte frames"},
    };
    for (const Case& c : cases) {
        WavAudio audio;
        std::string error;
        EXPECT_FALSE(plughost::decodeWav(c.bytes, audio, error)) << c.what;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    }
}

TEST(WavFile, WritesFloatWithFmtAndFactChunksAndReadsItBack) {
    const std::vector<float> samples = {0.5f, -0.25f, 1.5e-45f, -0.0f};
    Bytes bytes;
    std::string error;
    ASSERT_TRUE(plughost::encodeWav(2, 48000.0, samples, bytes, error)) << error;
    File expected;
    expected.id("RIFF").u32(4 + 26 + 12 + 8 + 16).id("WAVE");
    expected.id("fmt ").u32(18).u16(3).u16(2).u32(48000).u32(384000).u16(8).u16(32).u16(0);
    expected.id("fact").u32(4).u32(2);
    expected.id("data").u32(16).u32(0x3F000000).u32(0xBE800000).u32(0x00000001).u32(0x80000000);
    EXPECT_EQ(bytes, expected.bytes);
    const WavAudio back = decoded(bytes);
    EXPECT_EQ(bitsOf(back.samples), bitsOf(samples));
    EXPECT_EQ(back.rate, 48000.0);

    EXPECT_FALSE(plughost::encodeWav(0, 48000.0, samples, bytes, error));
    EXPECT_FALSE(plughost::encodeWav(2, 0.0, samples, bytes, error));
}

}  // namespace
