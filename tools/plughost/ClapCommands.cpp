// ClapCommands.cpp — `plughost info|process PLUGIN.clap`: the CLAP plug-in as a
// CLAP host sees it.
//
//   info      descriptor, audio ports, parameters (range, default, flags, the
//             default's text and whether it reads back), latency, state size,
//             the gui's API and size
//   process   activate at the file's rate, --param ID=VALUE as events at frame 0
//             of the first block (VALUE in the parameter's own unit),
//             --chunk-in/--chunk-out load the state before and save it after, block by block
//             through process, deactivate; levels as the VST 2 command reports
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/plughost/AudioFiles.h"
#include "tools/plughost/ClapCommands.h"
#include "tools/plughost/ClapHost.h"
#include "tools/plughost/PluginInstance.h"
#include "tools/plughost/Report.h"

namespace plughost {
namespace {

struct FileStream {
    std::vector<unsigned char> bytes;
    std::size_t at = 0;
    clap_istream_t in{this, read};
    clap_ostream_t out{this, write};
    static std::int64_t CLAP_ABI read(const clap_istream_t* s, void* data, std::uint64_t size) {
        auto* self = static_cast<FileStream*>(s->ctx);
        std::size_t n = self->bytes.size() - self->at;
        if (n > size) n = static_cast<std::size_t>(size);
        std::copy(self->bytes.begin() + static_cast<long>(self->at), self->bytes.begin() + static_cast<long>(self->at + n),
                  static_cast<unsigned char*>(data));
        self->at += n;
        return static_cast<std::int64_t>(n);
    }
    static std::int64_t CLAP_ABI write(const clap_ostream_t* s, const void* data, std::uint64_t size) {
        auto* self = static_cast<FileStream*>(s->ctx);
        const auto* p = static_cast<const unsigned char*>(data);
        self->bytes.insert(self->bytes.end(), p, p + size);
        return static_cast<std::int64_t>(size);
    }
};

void reportLevels(Report& report, const std::string& prefix, const AudioData& data) {
    bool finite = true;
    for (int c = 0; c < data.channels; ++c) {
        double peak = 0.0;
        for (long long i = 0; i < data.frames(); ++i) {
            const double v = data.samples[static_cast<std::size_t>(i * data.channels + c)];
            if (!std::isfinite(v)) finite = false;
            else peak = std::fmax(peak, std::fabs(v));
        }
        report.number(prefix + ".channel." + std::to_string(c) + ".peak", peak);
    }
    report.boolean(prefix + ".finite", finite);
}

std::string featureList(const char* const* features) {
    std::string list;
    for (; features != nullptr && *features != nullptr; ++features) list += (list.empty() ? "" : " ") + std::string(*features);
    return list;
}

void reportPorts(Report& report, ClapInstance& instance) {
    const auto* ports = instance.extension<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
    report.boolean("audioPorts.offered", ports != nullptr);
    if (ports == nullptr) return;
    for (bool input : {true, false}) {
        const std::string side = input ? "audioPorts.in" : "audioPorts.out";
        const std::uint32_t count = ports->count(instance.plugin(), input);
        report.integer(side + ".count", count);
        for (std::uint32_t i = 0; i < count; ++i) {
            clap_audio_port_info_t info{};
            if (!ports->get(instance.plugin(), i, input, &info)) continue;
            const std::string key = side + ".port." + std::to_string(i);
            report.text(key + ".name", info.name);
            report.integer(key + ".channels", info.channel_count);
            report.boolean(key + ".main", (info.flags & CLAP_AUDIO_PORT_IS_MAIN) != 0);
            report.text(key + ".type", info.port_type ? info.port_type : "");
        }
    }
}

void reportParams(Report& report, ClapInstance& instance) {
    const auto* params = instance.extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    const clap_plugin_t* p = instance.plugin();
    const std::uint32_t count = params ? params->count(p) : 0;
    report.integer("paramCount", count);
    for (std::uint32_t i = 0; i < count; ++i) {
        clap_param_info_t info{};
        if (!params->get_info(p, i, &info)) continue;
        const std::string key = "param." + std::to_string(i);
        report.integer(key + ".id", info.id);
        report.text(key + ".name", info.name);
        report.number(key + ".min", info.min_value);
        report.number(key + ".max", info.max_value);
        report.number(key + ".default", info.default_value);
        report.integer(key + ".flags", info.flags);
        double value = 0.0;
        if (params->get_value(p, info.id, &value)) report.number(key + ".value", value);
        char text[256] = {};
        if (params->value_to_text(p, info.id, info.default_value, text, sizeof text)) report.text(key + ".text", text);
        double back = -1.0;
        report.boolean(key + ".textReadsBack",
                       params->text_to_value(p, info.id, text, &back) && back == info.default_value);
    }
}

bool readFile(const std::string& path, std::vector<unsigned char>& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace

int runClapInfo(const Options& options) {
    if (options.positional.size() != 1) {
        std::fprintf(stderr, "plughost: info takes one plug-in path\n");
        return kExitUsage;
    }
    int status = kExitOk;
    auto instance = ClapInstance::open(options.positional[0], status);
    if (!instance) return status;
    const clap_plugin_descriptor_t* d = instance->descriptor();
    Report report;
    report.text("plugin", options.positional[0]);
    report.text("format", "CLAP");
    report.integer("host.bits", static_cast<long long>(sizeof(void*) * 8));
    report.text("clapVersion", std::to_string(d->clap_version.major) + "." + std::to_string(d->clap_version.minor) +
                                   "." + std::to_string(d->clap_version.revision));
    report.text("id", d->id ? d->id : "");
    report.text("name", d->name ? d->name : "");
    report.text("vendor", d->vendor ? d->vendor : "");
    report.text("version", d->version ? d->version : "");
    report.text("features", featureList(d->features));
    reportPorts(report, *instance);
    reportParams(report, *instance);
    const clap_plugin_t* p = instance->plugin();
    const auto* latency = instance->extension<clap_plugin_latency_t>(CLAP_EXT_LATENCY);
    if (latency != nullptr && p->activate(p, options.rate, 1, static_cast<std::uint32_t>(options.block))) {
        report.integer("latency", latency->get(p));
        p->deactivate(p);
    }
    if (const auto* state = instance->extension<clap_plugin_state_t>(CLAP_EXT_STATE)) {
        FileStream saved;
        report.boolean("state.saved", state->save(p, &saved.out));
        report.integer("state.size", static_cast<long long>(saved.bytes.size()));
    }
    for (const char* id : {"clap.note-ports", "clap.render"})
        report.boolean(std::string("offers.") + id, p->get_extension(p, id) != nullptr);
    if (const auto* gui = instance->extension<clap_plugin_gui_t>(CLAP_EXT_GUI)) {
        const char* api = nullptr;
        bool floating = true;
        if (gui->get_preferred_api(p, &api, &floating)) {
            report.text("gui.api", api ? api : "");
            report.boolean("gui.floating", floating);
        }
        std::uint32_t width = 0, height = 0;
        if (gui->create(p, api, false)) {
            if (gui->get_size(p, &width, &height)) {
                report.integer("gui.width", width);
                report.integer("gui.height", height);
            }
            report.boolean("gui.canResize", gui->can_resize(p));
            gui->destroy(p);
        }
    }
    report.print(options.json);
    return kExitOk;
}

int runClapProcess(const Options& options) {
    if (options.positional.size() != 3 || options.accumulate) {
        std::fprintf(stderr, "plughost: process takes <plugin.clap> <in> <out> (CLAP has no accumulating call)\n");
        return kExitUsage;
    }
    const std::string& path = options.positional[0];
    const bool raw = options.raw;
    AudioData input;
    std::string error;
    if (!readAudio(options.positional[1], raw, options.rate, input, error)) {
        std::fprintf(stderr, "plughost: %s\n", error.c_str());
        return kExitFailure;
    }
    if (options.rateGiven) input.rate = options.rate;
    int status = kExitOk;
    auto instance = ClapInstance::open(path, status);
    if (!instance) return status;
    const clap_plugin_t* p = instance->plugin();
    const auto* state = instance->extension<clap_plugin_state_t>(CLAP_EXT_STATE);
    if (!options.chunkIn.empty()) {
        FileStream stream;
        if (state == nullptr || !readFile(options.chunkIn, stream.bytes) || !state->load(p, &stream.in)) {
            std::fprintf(stderr, "plughost: %s did not load the state %s\n", path.c_str(), options.chunkIn.c_str());
            return kExitFailure;
        }
    }
    const auto block = static_cast<std::uint32_t>(options.block);
    if (!p->activate(p, input.rate, 1, block) || !p->start_processing(p)) {
        std::fprintf(stderr, "plughost: %s refused to activate at %g Hz\n", path.c_str(), input.rate);
        return kExitRefused;
    }
    std::vector<float> channels[4];
    for (auto& c : channels) c.assign(block, 0.0f);
    float* ins[2] = {channels[0].data(), channels[1].data()};
    float* outs[2] = {channels[2].data(), channels[3].data()};
    clap_audio_buffer_t in{ins, nullptr, 2, 0, 0}, out{outs, nullptr, 2, 0, 0};
    ParamEvents first, none;
    for (const ParameterSetting& s : options.parameters) first.add(0, static_cast<clap_id>(s.index), s.value);
    OutputEvents sent;
    AudioData output;
    output.rate = input.rate;
    output.samples.assign(static_cast<std::size_t>(input.frames()) * 2, 0.0f);
    long long blocks = 0;
    bool failed = false;
    for (long long at = 0; at < input.frames(); at += block) {
        const auto count = static_cast<std::uint32_t>(std::min<long long>(block, input.frames() - at));
        for (std::uint32_t i = 0; i < count; ++i)
            for (int c = 0; c < 2; ++c)
                channels[c][i] = input.samples[static_cast<std::size_t>((at + i) * input.channels +
                                                                        std::min(c, input.channels - 1))];
        clap_process_t call{at, count, nullptr, &in, &out, 1, 1, blocks == 0 ? &first.list : &none.list, &sent.list};
        {
            const AudioThreadMark audioThread;
            failed |= p->process(p, &call) == CLAP_PROCESS_ERROR;
        }
        for (std::uint32_t i = 0; i < count; ++i)
            for (int c = 0; c < 2; ++c) output.samples[static_cast<std::size_t>((at + i) * 2 + c)] = channels[2 + c][i];
        ++blocks;
    }
    p->stop_processing(p);
    p->deactivate(p);
    if (!options.chunkOut.empty()) {
        FileStream stream;
        std::ofstream file(options.chunkOut, std::ios::binary);
        if (state == nullptr || !state->save(p, &stream.out) || !file ||
            !file.write(reinterpret_cast<const char*>(stream.bytes.data()), static_cast<std::streamsize>(stream.bytes.size()))) {
            std::fprintf(stderr, "plughost: cannot save the state of %s to %s\n", path.c_str(), options.chunkOut.c_str());
            return kExitFailure;
        }
    }
    if (!writeAudio(options.positional[2], raw, output, error)) {
        std::fprintf(stderr, "plughost: %s\n", error.c_str());
        return kExitFailure;
    }
    Report report;
    report.text("plugin", path);
    report.text("format", raw ? "raw float32 interleaved" : input.format + " in, WAV float32 out");
    report.text("call", "clap.process");
    report.number("rate", input.rate);
    report.integer("block", options.block);
    report.integer("blocks", blocks);
    report.integer("frames", input.frames());
    report.boolean("processError", failed);
    bool same = input.channels == 2 && input.samples.size() == output.samples.size();
    for (std::size_t i = 0; same && i < output.samples.size(); ++i) same = input.samples[i] == output.samples[i];
    report.boolean("outputEqualsInput", same);
    reportLevels(report, "in", input);
    reportLevels(report, "out", output);
    report.print(options.json);
    return failed ? kExitFailure : kExitOk;
}

}  // namespace plughost
