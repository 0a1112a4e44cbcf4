// LatencyStore.h — the display latency kept per host program.
//
// The value "Latency" (decimal text) under software \ Brisora \ <host file name>
// of the user's settings store. Failures are absorbed: loading falls back to the
// default, saving leaves the value in memory as it is.
//
//   latencyKey    the key path of a host program
//   parseLatency  a signed decimal integer: optional sign, digits only, within int32
//   loadLatency   steps of LoadLatency: read; a missing or not-a-number value is
//                 replaced by "750"; the result is limited to 5..1000 (the stored
//                 text is not rewritten for that limit)
//   saveLatency   writes the decimal text; false when the store refused
#pragma once

#include <cstdint>
#include <string>

#include "platform/SettingsStore.h"

namespace widefield {

constexpr std::int32_t kDefaultLatencyMs = 750;
constexpr std::int32_t kMinLatencyMs = 5;
constexpr std::int32_t kMaxLatencyMs = 1000;

platform::KeyPath latencyKey(const std::string& hostProgram);
bool parseLatency(const std::string& text, std::int32_t& value);
std::int32_t loadLatency(platform::SettingsStore& store, const std::string& hostProgram);
bool saveLatency(platform::SettingsStore& store, const std::string& hostProgram, std::int32_t latencyMs);

}  // namespace widefield
