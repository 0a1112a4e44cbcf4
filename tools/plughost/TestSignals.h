// TestSignals.h — what the editor command plays: stereo test signals or a file.
//
//   SignalSource        one of the built-in signals at a frequency and amplitude,
//                       or a sound file that loops; fills blocks frame by frame
//   makeSignalSource    the source the options ask for (--signal, --wav, --sine)
//   signalNames         the names --signal takes, for the help text
//
// Built-in signals, each a sine of --sine's frequency and amplitude, sampled half
// a sample after its zero crossing:
//   sine        the same on every channel (as --sine alone)
//   mono        the same in left and right
//   left        left only, right silent
//   antiphase   right is the inverted left
//   quadrature  right 90 degrees ahead of left (a circle on a goniometer)
#pragma once

#include <string>

#include "tools/plughost/AudioFiles.h"
#include "tools/plughost/Options.h"

namespace plughost {

struct SignalSource {
    enum class Kind { silence, sine, mono, left, antiphase, quadrature, file };
    Kind kind = Kind::silence;
    double hz = 441.0;
    double amplitude = 0.5;
    double rate = 44100.0;
    AudioData file;

    // Frames [frame, frame + frames) into each of `count` channels.
    void fill(float** channels, int count, int frames, long long frame) const;
    const char* name() const;
};

bool makeSignalSource(const Options& options, SignalSource& source, std::string& error);
const char* signalNames();

}  // namespace plughost
