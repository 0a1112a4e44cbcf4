// ClapExtensions.cpp — the small extensions and the lookup of all of them.
//
//   audio-ports   one stereo input and one stereo output, main, 32-bit
//   state         the effect's chunk (effGetChunk / effSetChunk), the same
//                 bytes as a VST 2 host keeps
//   latency       none
//   extension     the table a host's get_extension reads
#include <cstdio>
#include <cstring>
#include <vector>

#include "clap/ClapPlugin.h"
#include "platform/FloatingPoint.h"

namespace clapadapter {

extern const clap_plugin_params_t kParamsExtension;
extern const clap_plugin_gui_t kGuiExtension;
extern const clap_plugin_timer_support_t kTimerExtension;

namespace {

// A chunk is a few hundred bytes; a stream longer than this is not ours.
constexpr std::size_t kLargestState = 64 * 1024;

std::uint32_t CLAP_ABI portCount(const clap_plugin_t*, bool) { return 1; }

bool CLAP_ABI portInfo(const clap_plugin_t*, std::uint32_t index, bool isInput, clap_audio_port_info_t* info) {
    if (index != 0 || info == nullptr) return false;
    *info = clap_audio_port_info_t{};
    info->id = 0;
    std::snprintf(info->name, sizeof info->name, "%s", isInput ? "Stereo In" : "Stereo Out");
    info->flags = CLAP_AUDIO_PORT_IS_MAIN;
    info->channel_count = 2;
    info->port_type = CLAP_PORT_STEREO;
    info->in_place_pair = 0;  // the effect allows its outputs on its inputs
    return true;
}

const clap_plugin_audio_ports_t kAudioPortsExtension{portCount, portInfo};

bool CLAP_ABI saveState(const clap_plugin_t* p, const clap_ostream_t* stream) {
    platform::FloatingPointStateGuard keep;
    return ClapPlugin::of(p)->saveState(stream);
}
bool CLAP_ABI loadState(const clap_plugin_t* p, const clap_istream_t* stream) {
    platform::FloatingPointStateGuard keep;
    return ClapPlugin::of(p)->loadState(stream);
}
const clap_plugin_state_t kStateExtension{saveState, loadState};

std::uint32_t CLAP_ABI latency(const clap_plugin_t*) { return 0; }
const clap_plugin_latency_t kLatencyExtension{latency};

}  // namespace

bool ClapPlugin::saveState(const clap_ostream_t* stream) {
    if (stream == nullptr || stream->write == nullptr || state_ == State::created || !onMainThreadOrUnknown())
        return false;
    void* data = nullptr;
    const VstIntPtr size = record_->dispatcher(record_, effGetChunk, 0, 0, &data, 0.0f);
    if (size <= 0 || data == nullptr) return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::uint64_t written = 0;
    while (written < static_cast<std::uint64_t>(size)) {
        const std::int64_t n = stream->write(stream, bytes + written, static_cast<std::uint64_t>(size) - written);
        if (n <= 0) return false;
        written += static_cast<std::uint64_t>(n);
    }
    return true;
}

bool ClapPlugin::loadState(const clap_istream_t* stream) {
    if (stream == nullptr || stream->read == nullptr || state_ == State::created || !onMainThreadOrUnknown())
        return false;
    std::vector<unsigned char> bytes;
    unsigned char block[4096];
    for (;;) {
        const std::int64_t n = stream->read(stream, block, sizeof block);
        if (n < 0 || n > static_cast<std::int64_t>(sizeof block)) return false;
        if (n == 0) break;
        if (bytes.size() + static_cast<std::size_t>(n) > kLargestState) return false;
        bytes.insert(bytes.end(), block, block + n);
    }
    if (bytes.empty()) return false;
    if (record_->dispatcher(record_, effSetChunk, 0, static_cast<VstIntPtr>(bytes.size()), bytes.data(), 0.0f) != 1)
        return false;
    // The host reads the loaded values again; they are not the panel's changes.
    forgetPanelChanges();
    if (const auto* params = hostExtension<clap_host_params_t>(CLAP_EXT_PARAMS); params && params->rescan)
        params->rescan(host_, CLAP_PARAM_RESCAN_VALUES | CLAP_PARAM_RESCAN_TEXT);
    return true;
}

const void* ClapPlugin::extension(const char* id) const {
    if (id == nullptr) return nullptr;
    if (std::strcmp(id, CLAP_EXT_AUDIO_PORTS) == 0) return &kAudioPortsExtension;
    if (std::strcmp(id, CLAP_EXT_PARAMS) == 0) return &kParamsExtension;
    if (std::strcmp(id, CLAP_EXT_STATE) == 0) return &kStateExtension;
    if (std::strcmp(id, CLAP_EXT_LATENCY) == 0) return &kLatencyExtension;
    if (std::strcmp(id, CLAP_EXT_GUI) == 0) return &kGuiExtension;
    if (std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0) return &kTimerExtension;
    return nullptr;
}

}  // namespace clapadapter
