// PluginInstance.cpp — creating, talking to and closing one effect.
#include "tools/plughost/PluginInstance.h"

#include <cstdio>
#include <cstring>

#include "tools/plughost/HostCallback.h"

namespace plughost {

PluginInstance::PluginInstance(std::unique_ptr<PluginLibrary> lib, AEffect* effect)
    : library(std::move(lib)), record(effect) {}

PluginInstance::~PluginInstance() {
    if (record) close();
}

VstIntPtr PluginInstance::dispatch(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr, float opt) {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

std::string PluginInstance::text(std::int32_t opcode, std::int32_t index) {
    // Far larger than any VST 2 text, so a plug-in that overruns the convention
    // is shown rather than crashing the host.
    char buffer[512];
    std::memset(buffer, 0, sizeof buffer);
    dispatch(opcode, index, 0, buffer);
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

void PluginInstance::setParameter(std::int32_t index, float value) { record->setParameter(record, index, value); }

float PluginInstance::getParameter(std::int32_t index) { return record->getParameter(record, index); }

VstIntPtr PluginInstance::close() {
    VstIntPtr result = dispatch(effClose);
    record = nullptr;
    return result;
}

std::unique_ptr<PluginInstance> openInstance(const std::string& path, int& status) {
    auto library = std::make_unique<PluginLibrary>(path);
    if (!library->entry()) {
        std::fprintf(stderr, "plughost: %s\n", library->error().c_str());
        status = kExitNoLibrary;
        return nullptr;
    }
    AEffect* effect = library->entry()(hostCallback);
    if (effect == nullptr) {
        std::fprintf(stderr, "plughost: main of %s returned no effect (the instance was refused)\n", path.c_str());
        status = kExitRefused;
        return nullptr;
    }
    if (effect->magic != kEffectMagic) {
        std::fprintf(stderr, "plughost: %s returned a record with magic 0x%08X, not 0x%08X (VstP)\n", path.c_str(),
                     static_cast<unsigned>(effect->magic), static_cast<unsigned>(kEffectMagic));
        status = kExitBadMagic;
        return nullptr;  // the library stays loaded no longer; the record is not trusted
    }
    status = kExitOk;
    return std::make_unique<PluginInstance>(std::move(library), effect);
}

std::unique_ptr<PluginInstance> openAudioInstance(const std::string& path, int& status) {
    auto instance = openInstance(path, status);
    if (!instance) return nullptr;
    const AEffect* e = instance->effect();
    if (e->numInputs < 0 || e->numOutputs < 1 || e->numInputs > 64 || e->numOutputs > 64) {
        std::fprintf(stderr, "plughost: %s declares %d inputs and %d outputs\n", path.c_str(), e->numInputs,
                     e->numOutputs);
        status = kExitFailure;
        return nullptr;
    }
    return instance;
}

}  // namespace plughost
