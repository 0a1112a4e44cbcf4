// AudioInput.h — where tonemark-cli's samples come from.
//
//   AudioInput      interleaved float frames from a source, read in chunks
//   openSoundFile   a sound file through libsndfile (when the build has it)
//   openRawInput    raw 32-bit little-endian floats from a stream
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

namespace tonemarkcli {

class AudioInput {
public:
    virtual ~AudioInput() = default;
    virtual double sampleRate() const = 0;
    virtual int channels() const = 0;
    // Reads up to `frames` frames into `interleaved` (frames × channels floats);
    // returns the number read, 0 at the end.
    virtual std::size_t read(float* interleaved, std::size_t frames) = 0;
};

std::unique_ptr<AudioInput> openSoundFile(const std::string& path, std::string& error);
std::unique_ptr<AudioInput> openRawInput(std::FILE* stream, double sampleRate, int channels);

}  // namespace tonemarkcli
