// LatencyStore.cpp — reading and writing the display latency.
#include "stereo/LatencyStore.h"

namespace widefield {

namespace {
const char kValueName[] = "Latency";
}

platform::KeyPath latencyKey(const std::string& hostProgram) { return {"software", "Brisora", hostProgram}; }

bool parseLatency(const std::string& text, std::int32_t& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > 2147483648LL) return false;
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > 2147483647LL) return false;
    value = static_cast<std::int32_t>(signedValue);
    return true;
}

std::int32_t loadLatency(platform::SettingsStore& store, const std::string& hostProgram) {
    const platform::KeyPath key = latencyKey(hostProgram);
    std::string text;
    std::int32_t latency = kDefaultLatencyMs;
    // Missing, unreadable, of another type or not a number: the default, written back.
    if (!store.readText(key, kValueName, text) || !parseLatency(text, latency)) {
        latency = kDefaultLatencyMs;
        store.writeText(key, kValueName, std::to_string(kDefaultLatencyMs));
    }
    if (latency < kMinLatencyMs) latency = kMinLatencyMs;
    if (latency > kMaxLatencyMs) latency = kMaxLatencyMs;
    return latency;
}

bool saveLatency(platform::SettingsStore& store, const std::string& hostProgram, std::int32_t latencyMs) {
    return store.writeText(latencyKey(hostProgram), kValueName, std::to_string(latencyMs));
}

}  // namespace widefield
