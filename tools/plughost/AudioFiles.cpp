// AudioFiles.cpp — reading and writing sample files, and the sine generator.
#include "tools/plughost/AudioFiles.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

#include "tools/plughost/WavFile.h"

namespace plughost {
namespace {

const char* const kRawName = "raw float32 interleaved";

bool readBytes(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return error = "cannot open " + path, false;
    bytes.clear();
    std::uint8_t chunk[65536];
    std::size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + count);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return error = "cannot read " + path, false;
    return true;
}

bool writeBytes(const std::string& path, const void* bytes, std::size_t size, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return error = "cannot create " + path, false;
    bool ok = std::fwrite(bytes, 1, size, file) == size;
    ok = std::fclose(file) == 0 && ok;
    if (!ok) error = "cannot write " + path;
    return ok;
}

bool readRaw(const std::vector<std::uint8_t>& bytes, double rate, AudioData& data) {
    data.channels = 2;
    data.rate = rate;
    data.format = kRawName;
    data.samples.resize(bytes.size() / (2 * sizeof(float)) * 2);  // whole frames only
    for (std::size_t i = 0; i < data.samples.size(); ++i)
        std::memcpy(&data.samples[i], bytes.data() + i * sizeof(float), sizeof(float));
    return true;
}

}  // namespace

bool readAudio(const std::string& path, bool raw, double rawRate, AudioData& data, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!readBytes(path, bytes, error)) return false;
    if (raw) return readRaw(bytes, rawRate, data);
    WavAudio wav;
    if (!decodeWav(bytes, wav, error)) {
        error = path + ": " + error +
                "; plughost reads WAV files of 32-bit float or 16- or 24-bit PCM, and raw float32 stereo with --raw";
        return false;
    }
    data.channels = wav.channels;
    data.rate = wav.rate;
    data.samples = std::move(wav.samples);
    data.format = wavFormatName(wav.format);
    return true;
}

bool writeAudio(const std::string& path, bool raw, const AudioData& data, std::string& error) {
    if (raw) return writeBytes(path, data.samples.data(), data.samples.size() * sizeof(float), error);
    std::vector<std::uint8_t> bytes;
    if (!encodeWav(data.channels, data.rate, data.samples, bytes, error)) return error = path + ": " + error, false;
    return writeBytes(path, bytes.data(), bytes.size(), error);
}

AudioData makeSine(double hz, double amplitude, double seconds, double rate, int channels) {
    AudioData data;
    data.channels = channels;
    data.rate = rate;
    long long frames = static_cast<long long>(std::llround(seconds * rate));
    data.samples.resize(static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels));
    const double step = 2.0 * 3.14159265358979323846 * hz / rate;
    for (long long i = 0; i < frames; ++i) {
        float value = static_cast<float>(amplitude * std::sin(step * static_cast<double>(i)));
        for (int c = 0; c < channels; ++c) data.samples[static_cast<std::size_t>(i * channels + c)] = value;
    }
    return data;
}

}  // namespace plughost
