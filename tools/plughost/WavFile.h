// WavFile.h — RIFF/WAVE in memory, with no library: every build (Windows
// included) reads and writes the same bytes.
//
//   WavEncoding   the sample formats read: 32-bit float, 16- and 24-bit PCM
//   decodeWav     a whole file's bytes into interleaved floats, or an error
//                 that says what is wrong (not RIFF/WAVE, other formats,
//                 sizes that overrun the file)
//   encodeWav     interleaved floats as a 32-bit float WAV file
//   wavFormatName "WAV float32", "WAV PCM 16-bit (extensible)"...
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plughost {

enum class WavEncoding { float32, pcm16, pcm24 };

struct WavFormat {
    WavEncoding encoding = WavEncoding::float32;
    bool extensible = false;  // WAVE_FORMAT_EXTENSIBLE with that sub-format
};

struct WavAudio {
    WavFormat format;
    int channels = 0;
    double rate = 0.0;
    std::vector<float> samples;  // interleaved; PCM scaled to [-1, 1) by 2^(bits-1)
};

bool decodeWav(const std::vector<std::uint8_t>& bytes, WavAudio& audio, std::string& error);
// False (with the reason) only when the data do not fit a WAV file's 32-bit sizes.
bool encodeWav(int channels, double rate, const std::vector<float>& samples, std::vector<std::uint8_t>& bytes,
               std::string& error);
std::string wavFormatName(const WavFormat& format);

}  // namespace plughost
