// BenchCommand.cpp — `plughost bench`: the cost of the audio call per frame.
//
// A sine at 440 Hz, half amplitude, fills the inputs once; a tenth of the
// blocks (at least one) warm up untimed, then --blocks calls are timed as one
// stretch with the steady clock.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

#include "tools/plughost/AudioFiles.h"
#include "tools/plughost/ChannelBlocks.h"
#include "tools/plughost/Commands.h"
#include "tools/plughost/PluginInstance.h"
#include "tools/plughost/Report.h"

namespace plughost {

int runBench(const Options& options) {
    if (options.positional.size() != 1) {
        std::fprintf(stderr, "plughost: bench takes one plug-in path\n");
        return kExitUsage;
    }
    const std::string& path = options.positional[0];
    int status = kExitOk;
    auto instance = openAudioInstance(path, status);
    if (!instance) return status;
    AEffect* e = instance->effect();
    bool replacing = !options.accumulate && instance->hasFlag(effFlagsCanReplacing);

    instance->dispatch(effOpen);
    instance->dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(options.rate));
    instance->dispatch(effSetBlockSize, 0, options.block);
    for (const ParameterSetting& setting : options.parameters) instance->setParameter(setting.index, setting.value);
    instance->dispatch(effMainsChanged, 0, 1);

    double hz = options.sineHz > 0 ? options.sineHz : 440.0;
    AudioData sine = makeSine(hz, options.sineAmplitude, static_cast<double>(options.block) / options.rate,
                              options.rate, 1);
    ChannelBlocks in(e->numInputs, options.block), out(e->numOutputs, options.block);
    in.fill(sine.samples.data(), 1, 0, options.block);
    auto run = [&](int blocks) {
        for (int b = 0; b < blocks; ++b) {
            if (replacing)
                e->processReplacing(e, in.data(), out.data(), options.block);
            else
                e->process(e, in.data(), out.data(), options.block);
        }
    };
    run(std::max(1, options.blocks / 10));
    auto start = std::chrono::steady_clock::now();
    run(options.blocks);
    auto stop = std::chrono::steady_clock::now();
    instance->dispatch(effMainsChanged, 0, 0);
    VstIntPtr closed = instance->close();

    double seconds = std::chrono::duration<double>(stop - start).count();
    double frames = static_cast<double>(options.blocks) * options.block;
    double nsPerFrame = seconds * 1e9 / frames;
    Report report;
    report.text("plugin", path);
    report.text("call", replacing ? "processReplacing" : "process");
    report.number("rate", options.rate);
    report.integer("block", options.block);
    report.integer("blocks", options.blocks);
    report.number("seconds", seconds);
    report.number("nsPerFrame", nsPerFrame);
    // How many times faster than the audio itself: 1e9 / rate ns per frame are available.
    report.number("realtimeFactor", nsPerFrame > 0 ? 1e9 / options.rate / nsPerFrame : 0.0);
    report.integer("close", static_cast<long long>(closed));
    report.print(options.json);
    return kExitOk;
}

}  // namespace plughost
