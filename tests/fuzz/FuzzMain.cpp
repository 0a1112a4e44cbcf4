// FuzzMain.cpp — the libFuzzer entry for the host-boundary fuzzer.
//
// BRISORA_FUZZ_PLUGIN (tonemark or widefield) names the plug-in under test. At
// exit the run prints how many inputs it played and how many distinct host-call
// sequences they made (hashes of the calls, not of the bytes).
#include <cstdio>
#include <cstdlib>
#include <unordered_set>

#include "tests/fuzz/HostCallSequence.h"

namespace {

const hardening::PluginKind* plugin = nullptr;
std::unordered_set<std::uint64_t>* sequences = nullptr;
unsigned long long executions = 0;

void printFigures() {
    std::fprintf(stderr, "host-call fuzz: %s: %llu executions, %zu distinct host-call sequences\n", plugin->name,
                 executions, sequences ? sequences->size() : 0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    plugin = hostfuzz::findPlugin(std::getenv("BRISORA_FUZZ_PLUGIN"));
    if (plugin == nullptr) {
        std::fprintf(stderr, "set BRISORA_FUZZ_PLUGIN to tonemark or widefield\n");
        std::exit(2);
    }
    sequences = new std::unordered_set<std::uint64_t>();
    std::atexit(printFigures);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::uint64_t hash = hostfuzz::runHostCallSequence(*plugin, data, size);
    ++executions;
    if (sequences->size() < 20'000'000) sequences->insert(hash);
    return 0;
}
