// AudioInput.cpp — sound files through libsndfile, raw floats from a stream.
#include "AudioInput.h"

#include <cerrno>
#include <cstring>
#include <vector>

#if defined(TONEMARK_CLI_HAVE_SNDFILE)
#include <sndfile.h>
#endif

namespace tonemarkcli {

namespace {

#if defined(TONEMARK_CLI_HAVE_SNDFILE)
class SoundFileInput final : public AudioInput {
public:
    SoundFileInput(SNDFILE* file, const SF_INFO& info) : file(file), info(info) {}
    ~SoundFileInput() override { sf_close(file); }
    double sampleRate() const override { return static_cast<double>(info.samplerate); }
    int channels() const override { return info.channels; }
    std::size_t read(float* interleaved, std::size_t frames) override {
        const sf_count_t got = sf_readf_float(file, interleaved, static_cast<sf_count_t>(frames));
        return got > 0 ? static_cast<std::size_t>(got) : 0;
    }

private:
    SNDFILE* file;
    SF_INFO info;
};
#endif

class RawInput final : public AudioInput {
public:
    RawInput(std::FILE* stream, double rate, int channelCount) : stream(stream), rate(rate), channelCount(channelCount) {}
    double sampleRate() const override { return rate; }
    int channels() const override { return channelCount; }
    std::size_t read(float* interleaved, std::size_t frames) override {
        const std::size_t frameBytes = sizeof(float) * static_cast<std::size_t>(channelCount);
        bytes.resize(frames * frameBytes);
        // Keep a partial frame from the last read, so that pipes delivering odd
        // byte counts lose nothing.
        std::size_t have = carried.size();
        std::memcpy(bytes.data(), carried.data(), have);
        while (have < frameBytes * frames) {
            const std::size_t got = std::fread(bytes.data() + have, 1, bytes.size() - have, stream);
            if (got == 0) break;
            have += got;
        }
        const std::size_t whole = have / frameBytes;
        carried.assign(bytes.begin() + static_cast<std::ptrdiff_t>(whole * frameBytes),
                       bytes.begin() + static_cast<std::ptrdiff_t>(have));
        std::memcpy(interleaved, bytes.data(), whole * frameBytes);
        return whole;
    }

private:
    std::FILE* stream;
    double rate;
    int channelCount;
    std::vector<unsigned char> bytes;
    std::vector<unsigned char> carried;
};

}  // namespace

std::unique_ptr<AudioInput> openSoundFile(const std::string& path, std::string& error) {
#if defined(TONEMARK_CLI_HAVE_SNDFILE)
    // A missing or unreadable file first, in the system's words; libsndfile's
    // own message then only has to explain what it could not make of the rest.
    if (std::FILE* probe = std::fopen(path.c_str(), "rb")) {
        std::fclose(probe);
    } else {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        error = "cannot read " + path + " as a sound file: " + sf_strerror(nullptr);
        return nullptr;
    }
    if (info.channels < 1 || info.samplerate < 1) {
        sf_close(file);
        error = path + " holds no audio channels";
        return nullptr;
    }
    // Float reads of integer formats land in -1..1, as a host would deliver them.
    sf_command(file, SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
    return std::make_unique<SoundFileInput>(file, info);
#else
    error = "this tonemark-cli was built without libsndfile and cannot read " + path +
            "; pipe raw 32-bit floats to its standard input instead";
    return nullptr;
#endif
}

std::unique_ptr<AudioInput> openRawInput(std::FILE* stream, double sampleRate, int channels) {
    return std::make_unique<RawInput>(stream, sampleRate, channels);
}

}  // namespace tonemarkcli
