// TestSignals.cpp — the built-in stereo signals and the looping file.
#include "tools/plughost/TestSignals.h"

#include <cmath>
#include <cstring>

namespace plughost {
namespace {

struct Named {
    const char* name;
    SignalSource::Kind kind;
};
constexpr Named kSignals[] = {{"sine", SignalSource::Kind::sine},
                              {"mono", SignalSource::Kind::mono},
                              {"left", SignalSource::Kind::left},
                              {"antiphase", SignalSource::Kind::antiphase},
                              {"quadrature", SignalSource::Kind::quadrature}};

}  // namespace

const char* signalNames() { return "sine, mono, left, antiphase, quadrature"; }

const char* SignalSource::name() const {
    if (kind == Kind::silence) return "silence";
    if (kind == Kind::file) return "file";
    for (const Named& named : kSignals)
        if (named.kind == kind) return named.name;
    return "silence";
}

bool makeSignalSource(const Options& options, SignalSource& source, std::string& error) {
    source = SignalSource{};
    source.rate = options.rate;
    source.amplitude = options.sineAmplitude;
    if (options.sineHz > 0.0) {
        source.hz = options.sineHz;
        source.kind = SignalSource::Kind::sine;
    }
    if (!options.wavPath.empty()) {
        if (!readAudio(options.wavPath, options.raw, options.rate, source.file, error)) return false;
        if (source.file.frames() == 0) return error = "the sound file holds no audio", false;
        source.kind = SignalSource::Kind::file;
        return true;
    }
    if (options.signal.empty()) return true;
    for (const Named& named : kSignals)
        if (options.signal == named.name) {
            source.kind = named.kind;
            return true;
        }
    error = "unknown --signal '" + options.signal + "' (" + signalNames() + ")";
    return false;
}

void SignalSource::fill(float** channels, int count, int frames, long long frame) const {
    for (int c = 0; c < count; ++c) std::memset(channels[c], 0, sizeof(float) * static_cast<std::size_t>(frames));
    if (kind == Kind::silence || count <= 0) return;
    if (kind == Kind::file) {
        const long long length = file.frames();
        for (int i = 0; i < frames; ++i) {
            const long long at = (frame + i) % length;
            for (int c = 0; c < count; ++c)
                channels[c][i] = file.samples[static_cast<std::size_t>(at * file.channels + c % file.channels)];
        }
        return;
    }
    // Half a sample off the zero crossings, so that no sample is a rounding
    // error away from either sign: the phase reading of a period that divides
    // the analysis window is then exact.
    const double step = 2.0 * 3.14159265358979323846 * hz / rate;
    for (int i = 0; i < frames; ++i) {
        const double t = step * (static_cast<double>(frame + i) + 0.5);
        const float value = static_cast<float>(amplitude * std::sin(t));
        float right = value;
        if (kind == Kind::left) right = 0.0f;
        if (kind == Kind::antiphase) right = -value;
        if (kind == Kind::quadrature) right = static_cast<float>(amplitude * std::cos(t));
        channels[0][i] = value;
        for (int c = 1; c < count; ++c) channels[c][i] = kind == Kind::sine || c > 1 ? value : right;
    }
}

}  // namespace plughost
