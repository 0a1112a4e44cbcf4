// ProcessCommand.cpp — `plughost process`: a file (or the sine generator)
// through the plug-in, block by block, into a file.
//
//   1. input: --sine or the <in> file; the rate is the file's unless --rate
//   2. effOpen, sample rate, block size, the --param settings, a --chunk-in,
//      a --chunk-out, resume
//   3. every block through processReplacing (or process with --accumulate,
//      onto zeroed outputs); the last block may be short
//   4. suspend, effClose, write <out>, print levels
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/plughost/AudioFiles.h"
#include "tools/plughost/ChannelBlocks.h"
#include "tools/plughost/Commands.h"
#include "tools/plughost/PluginInstance.h"
#include "tools/plughost/Report.h"

namespace plughost {
namespace {

// --chunk-in: the file's bytes to the plug-in; false (with a message) when
// the file cannot be read or the plug-in refuses them.
bool giveChunk(PluginInstance& instance, const Options& options, std::string& error) {
    std::ifstream file(options.chunkIn, std::ios::binary);
    if (!file) return error = "cannot read " + options.chunkIn, false;
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.empty()) return error = options.chunkIn + " is empty", false;
    if (instance.dispatch(effSetChunk, options.chunkIsProgram ? 1 : 0, static_cast<VstIntPtr>(bytes.size()),
                          bytes.data()) != 1)
        return error = "the plug-in refused the chunk in " + options.chunkIn, false;
    return true;
}

// --chunk-out: the plug-in's chunk into the file; its size, or -1 (with a message).
long long takeChunk(PluginInstance& instance, const Options& options, std::string& error) {
    void* data = nullptr;
    const VstIntPtr size = instance.dispatch(effGetChunk, options.chunkIsProgram ? 1 : 0, 0, &data);
    if (size <= 0 || data == nullptr) return error = "the plug-in gave no chunk", -1;
    std::ofstream file(options.chunkOut, std::ios::binary | std::ios::trunc);
    file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!file.flush()) return error = "cannot write " + options.chunkOut, -1;
    return static_cast<long long>(size);
}

void reportLevels(Report& report, const std::string& prefix, const AudioData& data) {
    long long frames = data.frames();
    bool finite = true;
    for (int c = 0; c < data.channels; ++c) {
        double peak = 0.0, sum = 0.0;
        for (long long i = 0; i < frames; ++i) {
            double v = data.samples[static_cast<std::size_t>(i * data.channels + c)];
            if (!std::isfinite(v)) {
                finite = false;
                continue;
            }
            peak = std::fmax(peak, std::fabs(v));
            sum += v * v;
        }
        std::string key = prefix + ".channel." + std::to_string(c);
        report.number(key + ".peak", peak);
        report.number(key + ".rms", frames ? std::sqrt(sum / static_cast<double>(frames)) : 0.0);
    }
    report.boolean(prefix + ".finite", finite);
}

// What was read and what was written: "WAV PCM 16-bit in, WAV float32 out".
std::string formatText(bool generated, bool raw, const AudioData& input) {
    if (raw) return "raw float32 interleaved";
    return generated ? "WAV float32" : input.format + " in, WAV float32 out";
}

bool sameSamples(const AudioData& in, const AudioData& out) {
    if (in.frames() != out.frames()) return false;
    for (long long i = 0; i < out.frames(); ++i)
        for (int c = 0; c < out.channels; ++c) {
            float a = in.samples[static_cast<std::size_t>(i * in.channels + std::min(c, in.channels - 1))];
            float b = out.samples[static_cast<std::size_t>(i * out.channels + c)];
            if (!(a == b)) return false;
        }
    return true;
}

}  // namespace

int runProcess(const Options& options) {
    bool generated = options.sineHz > 0.0;
    std::size_t wanted = generated ? 2 : 3;
    if (options.positional.size() != wanted) {
        std::fprintf(stderr, generated ? "plughost: process --sine takes <plugin> <out>\n"
                                       : "plughost: process takes <plugin> <in> <out> (or --sine HZ <plugin> <out>)\n");
        return kExitUsage;
    }
    const std::string& path = options.positional[0];
    const std::string& outPath = options.positional.back();
    const bool raw = options.raw;

    AudioData input;
    std::string error;
    if (generated) {
        input = makeSine(options.sineHz, options.sineAmplitude, options.seconds < 0 ? 1.0 : options.seconds,
                         options.rate, 2);
    } else if (!readAudio(options.positional[1], raw, options.rate, input, error)) {
        std::fprintf(stderr, "plughost: %s\n", error.c_str());
        return kExitFailure;
    }
    if (options.rateGiven) input.rate = options.rate;

    int status = kExitOk;
    auto instance = openAudioInstance(path, status);
    if (!instance) return status;
    AEffect* e = instance->effect();
    bool replacing = !options.accumulate;
    if (replacing && !instance->hasFlag(effFlagsCanReplacing)) {
        std::fprintf(stderr, "plughost: %s has no processReplacing; using process\n", path.c_str());
        replacing = false;
    }

    instance->dispatch(effOpen);
    instance->dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(input.rate));
    instance->dispatch(effSetBlockSize, 0, options.block);
    for (const ParameterSetting& setting : options.parameters) instance->setParameter(setting.index, setting.value);
    if (!options.chunkIn.empty() && !giveChunk(*instance, options, error)) {
        std::fprintf(stderr, "plughost: %s\n", error.c_str());
        return kExitFailure;
    }
    long long chunkBytes = -1;
    if (!options.chunkOut.empty() && (chunkBytes = takeChunk(*instance, options, error)) < 0) {
        std::fprintf(stderr, "plughost: %s\n", error.c_str());
        return kExitFailure;
    }
    instance->dispatch(effMainsChanged, 0, 1);

    ChannelBlocks in(e->numInputs, options.block), out(e->numOutputs, options.block);
    AudioData output;
    output.channels = out.channels();
    output.rate = input.rate;
    output.samples.assign(static_cast<std::size_t>(input.frames()) * static_cast<std::size_t>(output.channels), 0.0f);
    long long blocks = 0;
    for (long long first = 0; first < input.frames(); first += options.block) {
        int count = static_cast<int>(std::min<long long>(options.block, input.frames() - first));
        in.fill(input.samples.data(), input.channels, first, count);
        out.clear();
        if (replacing)
            e->processReplacing(e, in.data(), out.data(), count);
        else
            e->process(e, in.data(), out.data(), count);
        out.drain(output.samples.data(), first, count);
        ++blocks;
    }
    instance->dispatch(effMainsChanged, 0, 0);
    VstIntPtr closed = instance->close();

    if (!writeAudio(outPath, raw, output, error)) {
        std::fprintf(stderr, "plughost: %s\n", error.c_str());
        return kExitFailure;
    }
    Report report;
    report.text("plugin", path);
    report.text("input", generated ? "sine" : options.positional[1]);
    if (generated) {
        report.number("sine.hz", options.sineHz);
        report.number("sine.amplitude", options.sineAmplitude);
    }
    report.text("output", outPath);
    report.text("format", formatText(generated, raw, input));
    report.text("call", replacing ? "processReplacing" : "process");
    report.number("rate", input.rate);
    report.integer("block", options.block);
    report.integer("blocks", blocks);
    report.integer("frames", input.frames());
    report.integer("inputChannels", input.channels);
    report.integer("outputChannels", output.channels);
    for (std::size_t i = 0; i < options.parameters.size(); ++i) {
        report.integer("param." + std::to_string(i) + ".index", options.parameters[i].index);
        report.number("param." + std::to_string(i) + ".value", options.parameters[i].value);
    }
    if (!options.chunkIn.empty()) report.text("chunk.in", options.chunkIn);
    if (chunkBytes >= 0) report.integer("chunk.out.bytes", chunkBytes);
    reportLevels(report, "in", input);
    reportLevels(report, "out", output);
    report.boolean("outputEqualsInput", sameSamples(input, output));
    report.integer("close", static_cast<long long>(closed));
    report.print(options.json);
    return kExitOk;
}

}  // namespace plughost
