// PluginInstance.cpp — the DSP side of the adapter.
//
//   create, destructor    createInstance with the real services, effOpen, the
//                         host's rate and block size; effClose
//   connect, activate, deactivate, run
//   hostCallback          the effect's calls to its host, turned into the panel's
//   describePlugin        the C entry points of LV2_Descriptor
#include "lv2/PluginInstance.h"

#include <lv2/buf-size/buf-size.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <cmath>
#include <cstring>
#include <new>

#include "formats/EffectCalls.h"
#include "platform/FloatingPoint.h"

namespace lv2adapter {

namespace {

const void* featureData(const LV2_Feature* const* features, const char* uri) {
    if (features == nullptr) return nullptr;
    for (const LV2_Feature* const* f = features; *f != nullptr; ++f)
        if ((*f)->URI != nullptr && std::strcmp((*f)->URI, uri) == 0) return (*f)->data;
    return nullptr;
}

// The host's nominal (or else largest) block length from its options; 0 when
// it tells neither.
std::int32_t blockLengthFrom(const LV2_Feature* const* features) {
    const auto* map = static_cast<const LV2_URID_Map*>(featureData(features, LV2_URID__map));
    const auto* options = static_cast<const LV2_Options_Option*>(featureData(features, LV2_OPTIONS__options));
    if (map == nullptr || map->map == nullptr || options == nullptr) return 0;
    const LV2_URID intType = map->map(map->handle, "http://lv2plug.in/ns/ext/atom#Int");
    const LV2_URID nominal = map->map(map->handle, LV2_BUF_SIZE__nominalBlockLength);
    const LV2_URID largest = map->map(map->handle, LV2_BUF_SIZE__maxBlockLength);
    std::int32_t found = 0;
    for (const LV2_Options_Option* o = options; o->key != 0 || o->value != nullptr; ++o) {
        if (o->type != intType || o->size != sizeof(std::int32_t) || o->value == nullptr) continue;
        std::int32_t length = 0;
        std::memcpy(&length, o->value, sizeof length);
        if (length <= 0) continue;
        if (o->key == nominal) return length;
        if (o->key == largest) found = length;
    }
    return found;
}

std::uint32_t bitsOf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace

PluginInstance* PluginInstance::create(const PluginIdentity& identity, double sampleRate,
                                       const LV2_Feature* const* features, const platform::Services& services) {
    // The effect masks floating-point exceptions as it is made, as VST 2 hosts
    // expect; an LV2 host gets its thread's own state back.
    const platform::FloatingPointStateGuard hostState;
    if (!servesRate(identity, sampleRate)) return nullptr;
    if (identity.controls.size() > kMaxControlPorts) return nullptr;
    AEffect* record = identity.create(hostCallback, services);
    if (record == nullptr) return nullptr;
    auto* instance = new (std::nothrow) PluginInstance(identity, record);
    if (instance == nullptr) {
        record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
        return nullptr;
    }
    record->dispatcher(record, effOpen, 0, 0, nullptr, 0.0f);
    record->dispatcher(record, effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    if (const std::int32_t block = blockLengthFrom(features); block > 0)
        record->dispatcher(record, effSetBlockSize, 0, block, nullptr, 0.0f);
    return instance;
}

PluginInstance::PluginInstance(const PluginIdentity& identity, AEffect* record) : identity_(identity), record_(record) {
    record_->user = this;
}

PluginInstance::~PluginInstance() {
    // effClose makes the effect close and destroy itself, its editor included.
    if (panel_ != nullptr) panel_->instanceDestroyed();
    record_->user = nullptr;
    record_->dispatcher(record_, effClose, 0, 0, nullptr, 0.0f);
}

void PluginInstance::connect(std::uint32_t port, void* data) {
    if (port < kFirstControlPort) {
        audio_[port] = static_cast<float*>(data);
        return;
    }
    const std::size_t control = port - kFirstControlPort;
    if (control < identity_.controls.size()) controls_[control] = static_cast<const float*>(data);
}

void PluginInstance::activate() {
    record_->dispatcher(record_, effMainsChanged, 0, 1, nullptr, 0.0f);
    active_.store(true, std::memory_order_relaxed);
}

void PluginInstance::deactivate() {
    active_.store(false, std::memory_order_relaxed);
    record_->dispatcher(record_, effMainsChanged, 0, 0, nullptr, 0.0f);
}

void PluginInstance::applyControlPorts() {
    for (std::size_t i = 0; i < identity_.controls.size(); ++i) {
        if (controls_[i] == nullptr) continue;
        const float value = *controls_[i];
        const std::uint32_t bits = bitsOf(value);
        if (seen_[i] && bits == seenBits_[i]) continue;
        seen_[i] = true;
        seenBits_[i] = bits;
        float effectValue = 0.0f;
        const ControlPort& port = identity_.controls[i];
        if (!effectValueOf(port, value, effectValue)) continue;
        record_->setParameter(record_, port.parameter, effectValue);
        hostValues_.applied(i, record_->getParameter(record_, port.parameter));
    }
}

void PluginInstance::silenceConnectedOutputs(std::uint32_t frames) {
    for (std::uint32_t port : {kOutLeft, kOutRight})
        if (audio_[port] != nullptr) std::memset(audio_[port], 0, sizeof(float) * frames);
}

void PluginInstance::run(std::uint32_t frames) {
    applyControlPorts();
    // A host that left an audio port unconnected gets silence where it can
    // take it, and the effect is not called with a missing buffer.
    for (float* buffer : audio_)
        if (buffer == nullptr) return silenceConnectedOutputs(frames);
    float* inputs[2] = {audio_[kInLeft], audio_[kInRight]};
    float* outputs[2] = {audio_[kOutLeft], audio_[kOutRight]};
    processInCalls(*record_, inputs, outputs, 0, frames);
}

int PluginInstance::controlOf(std::int32_t parameter) const {
    for (std::size_t i = 0; i < identity_.controls.size(); ++i)
        if (identity_.controls[i].parameter == parameter) return static_cast<int>(i);
    return -1;
}

bool PluginInstance::attachPanel(PanelLink* panel) {
    if (panel_ != nullptr) return false;
    panel_ = panel;
    return true;
}

void PluginInstance::detachPanel(PanelLink* panel) {
    if (panel_ == panel) panel_ = nullptr;
}

VstIntPtr VSTCALLBACK PluginInstance::hostCallback(AEffect* effect, std::int32_t opcode, std::int32_t index,
                                                   VstIntPtr value, void*, float) {
    if (opcode == audioMasterVersion) return kAdapterHostVersion;
    auto* instance = effect ? static_cast<PluginInstance*>(effect->user) : nullptr;
    // Only the panel asks for automation and gestures, on the UI thread.
    if (instance == nullptr || instance->panel_ == nullptr) return 0;
    if (opcode == audioMasterAutomate) instance->panel_->parameterAutomated(index);
    if (opcode == audioMasterBeginEdit || opcode == audioMasterEndEdit)
        instance->panel_->gesture(index, opcode == audioMasterBeginEdit);
    if (opcode == audioMasterSizeWindow)
        return instance->panel_->resizeWindow(index, static_cast<int>(value)) ? 1 : 0;
    return 0;  // audioMasterPinConnected: 0 is connected
}

// ---- The LV2_Descriptor entry points -------------------------------------------------

namespace {

PluginInstance* of(LV2_Handle handle) { return static_cast<PluginInstance*>(handle); }

LV2_Handle instantiate(const LV2_Descriptor* descriptor, double rate, const char*, const LV2_Feature* const* features) {
    const auto* described = reinterpret_cast<const DescribedPlugin*>(descriptor);
    return PluginInstance::create(*described->identity, rate, features);
}
void connectPort(LV2_Handle h, std::uint32_t port, void* data) { of(h)->connect(port, data); }
void activate(LV2_Handle h) { of(h)->activate(); }
void run(LV2_Handle h, std::uint32_t frames) { of(h)->run(frames); }
void deactivate(LV2_Handle h) { of(h)->deactivate(); }
void cleanup(LV2_Handle h) { delete of(h); }
const void* extensionData(const char*) { return nullptr; }

}  // namespace

DescribedPlugin describePlugin(const PluginIdentity& identity) {
    return DescribedPlugin{{identity.uri, instantiate, connectPort, activate, run, deactivate, cleanup, extensionData},
                           &identity};
}

}  // namespace lv2adapter
