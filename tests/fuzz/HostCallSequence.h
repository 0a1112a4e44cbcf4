// HostCallSequence.h — one fuzz input played as a host's call sequence.
//
//   runHostCallSequence  creates the plug-in, plays the calls the input encodes,
//                        checks after every call, and closes it with effClose;
//                        returns a hash of the calls made (distinct sequences)
//   findPlugin           the plug-in of a name ("tonemark", "widefield")
//
// A broken rule prints what was seen and aborts, so the fuzzer keeps the input
// and a replay of it fails loudly.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tests/robustness/HostHarness.h"

namespace hostfuzz {

std::uint64_t runHostCallSequence(const hardening::PluginKind& plugin, const std::uint8_t* data, std::size_t size);
const hardening::PluginKind* findPlugin(const char* name);

}  // namespace hostfuzz
