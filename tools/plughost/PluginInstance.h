// PluginInstance.h — one effect created through a library's main.
//
//   PluginInstance   load + main + checks, in the order a host does them;
//                    typed wrappers around the dispatcher; effClose on close()
//                    or destruction
//   openInstance     prints the reason and gives the exit status on failure
//   openAudioInstance  the same, also refusing channel counts no audio call can serve
#pragma once

#include <memory>
#include <string>

#include "framework/DAEffect.h"
#include "tools/plughost/PluginLibrary.h"

namespace plughost {

enum ExitStatus { kExitOk = 0, kExitFailure = 1, kExitUsage = 2, kExitNoLibrary = 3, kExitRefused = 4, kExitBadMagic = 5 };

class PluginInstance {
public:
    PluginInstance(std::unique_ptr<PluginLibrary> library, AEffect* effect);
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    AEffect* effect() const { return record; }
    VstIntPtr dispatch(std::int32_t opcode, std::int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);
    // A text request with a generous, zero-filled buffer; the result is cut at
    // the first zero.
    std::string text(std::int32_t opcode, std::int32_t index = 0);
    void setParameter(std::int32_t index, float value);
    float getParameter(std::int32_t index);
    bool hasFlag(std::int32_t flag) const { return (record->flags & flag) != 0; }
    // effClose once; the record is gone afterwards. Returns the dispatcher's answer.
    VstIntPtr close();
    bool isClosed() const { return record == nullptr; }

private:
    std::unique_ptr<PluginLibrary> library;
    AEffect* record;
};

// Loads `path` and calls its main. On failure prints "plughost: ..." on stderr,
// sets `status` and returns null.
std::unique_ptr<PluginInstance> openInstance(const std::string& path, int& status);
// openInstance for the commands that run audio: 0 to 64 inputs and 1 to 64 outputs.
std::unique_ptr<PluginInstance> openAudioInstance(const std::string& path, int& status);

}  // namespace plughost
