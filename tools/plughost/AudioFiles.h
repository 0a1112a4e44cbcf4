// AudioFiles.h — audio in and out of plughost.
//
//   AudioData       interleaved 32-bit float frames with channel count and rate
//   readAudio       a WAV file (WavFile.h), or raw float32 stereo
//   writeAudio      a 32-bit float WAV file, or raw float32
//   makeSine        the built-in generator: the same sine on every channel
#pragma once

#include <string>
#include <vector>

namespace plughost {

struct AudioData {
    int channels = 2;
    double rate = 44100.0;
    std::vector<float> samples;  // frame after frame, channels interleaved
    std::string format;          // what a file held: "WAV PCM 16-bit", "raw float32 interleaved"
    long long frames() const { return channels > 0 ? static_cast<long long>(samples.size()) / channels : 0; }
};

// `raw` forces raw float32 stereo; raw data takes `rawRate` as its rate.
bool readAudio(const std::string& path, bool raw, double rawRate, AudioData& data, std::string& error);
bool writeAudio(const std::string& path, bool raw, const AudioData& data, std::string& error);
AudioData makeSine(double hz, double amplitude, double seconds, double rate, int channels);

}  // namespace plughost
