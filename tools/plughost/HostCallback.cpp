// HostCallback.cpp — the answers plughost gives a plug-in, and the call log.
//
// The callback may be called from any thread (setParameterAutomated from the
// editor, anything from the audio thread), so its state is atomic and each log
// line is written with one call.
#include "tools/plughost/HostCallback.h"

#include <atomic>
#include <cstdio>

namespace plughost {
namespace {

std::atomic<int> versionAnswer{1};
std::atomic<bool> logCalls{false};
std::atomic<long> callCount{0};

}  // namespace

void configureHost(int answer, bool log) {
    versionAnswer.store(answer, std::memory_order_relaxed);
    logCalls.store(log, std::memory_order_relaxed);
}

long hostCallCount() { return callCount.load(std::memory_order_relaxed); }

const char* opcodeName(std::int32_t opcode) {
    switch (opcode) {
        case audioMasterAutomate: return "audioMasterAutomate";
        case audioMasterVersion: return "audioMasterVersion";
        case audioMasterCurrentId: return "audioMasterCurrentId";
        case audioMasterIdle: return "audioMasterIdle";
        case audioMasterPinConnected: return "audioMasterPinConnected";
        default: return "unknown";
    }
}

VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, std::int32_t opcode, std::int32_t index, VstIntPtr value,
                                   void* ptr, float opt) {
    callCount.fetch_add(1, std::memory_order_relaxed);
    VstIntPtr result = 0;
    switch (opcode) {
        case audioMasterVersion: result = versionAnswer.load(std::memory_order_relaxed); break;
        case audioMasterCurrentId: result = 0; break;          // no shell plug-ins here
        case audioMasterPinConnected: result = 0; break;       // 0 means connected
        case audioMasterAutomate: result = 0; break;
        case audioMasterIdle: result = 0; break;
        default: result = 0; break;
    }
    if (logCalls.load(std::memory_order_relaxed)) {
        char line[256];
        std::snprintf(line, sizeof line, "host call: %s (%d) effect=%s index=%d value=%lld ptr=%s opt=%.9g -> %lld\n",
                      opcodeName(opcode), static_cast<int>(opcode), effect ? "record" : "null", static_cast<int>(index),
                      static_cast<long long>(value), ptr ? "set" : "null", static_cast<double>(opt),
                      static_cast<long long>(result));
        std::fputs(line, stderr);
        std::fflush(stderr);
    }
    return result;
}

}  // namespace plughost
