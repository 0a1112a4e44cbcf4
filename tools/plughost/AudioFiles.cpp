// AudioFiles.cpp — reading and writing sample files, and the sine generator.
#include "tools/plughost/AudioFiles.h"

#include <cmath>
#include <cstdio>

#if defined(PLUGHOST_HAVE_SNDFILE)
#include <sndfile.h>
#endif

namespace plughost {
namespace {

bool readRaw(const std::string& path, double rate, AudioData& data, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return error = "cannot open " + path, false;
    data.channels = 2;
    data.rate = rate;
    data.samples.clear();
    float chunk[4096];
    std::size_t count;
    while ((count = std::fread(chunk, sizeof(float), 4096, file)) > 0) data.samples.insert(data.samples.end(), chunk, chunk + count);
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return error = "cannot read " + path, false;
    data.samples.resize(data.samples.size() / 2 * 2);  // whole frames only
    return true;
}

bool writeRaw(const std::string& path, const AudioData& data, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return error = "cannot create " + path, false;
    bool ok = std::fwrite(data.samples.data(), sizeof(float), data.samples.size(), file) == data.samples.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok) error = "cannot write " + path;
    return ok;
}

}  // namespace

bool haveSndfile() {
#if defined(PLUGHOST_HAVE_SNDFILE)
    return true;
#else
    return false;
#endif
}

bool readAudio(const std::string& path, bool raw, double rawRate, AudioData& data, std::string& error) {
#if defined(PLUGHOST_HAVE_SNDFILE)
    if (!raw) {
        SF_INFO info{};
        SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
        if (!file) return error = "cannot open " + path + " (" + sf_strerror(nullptr) + ")", false;
        if (info.channels < 1 || info.frames < 0) {
            sf_close(file);
            return error = path + " holds no audio channels", false;
        }
        data.channels = info.channels;
        data.rate = info.samplerate;
        data.samples.assign(static_cast<std::size_t>(info.frames) * static_cast<std::size_t>(info.channels), 0.0f);
        sf_count_t got = sf_readf_float(file, data.samples.data(), info.frames);
        sf_close(file);
        data.samples.resize(static_cast<std::size_t>(got) * static_cast<std::size_t>(info.channels));
        return true;
    }
#else
    (void)raw;  // raw is the only format without libsndfile
#endif
    return readRaw(path, rawRate, data, error);
}

bool writeAudio(const std::string& path, bool raw, const AudioData& data, std::string& error) {
#if defined(PLUGHOST_HAVE_SNDFILE)
    if (!raw) {
        SF_INFO info{};
        info.channels = data.channels;
        info.samplerate = static_cast<int>(std::lround(data.rate));
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;  // float keeps every sample exact
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        if (!file) return error = "cannot create " + path + " (" + sf_strerror(nullptr) + ")", false;
        sf_count_t wrote = sf_writef_float(file, data.samples.data(), data.frames());
        bool ok = sf_close(file) == 0 && wrote == data.frames();
        if (!ok) error = "cannot write " + path;
        return ok;
    }
#else
    (void)raw;
#endif
    return writeRaw(path, data, error);
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
