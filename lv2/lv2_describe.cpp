// lv2_describe.cpp — build step: writes a bundle's manifest.ttl and <Name>.ttl.
//
//   lv2_describe tonemark|widefield <bundle directory>
//
// The effect runs on private services (an in-memory settings store, headless
// windows), so the build reads and writes nothing of the user's.
#include <cstdio>
#include <cstring>
#include <fstream>

#include "lv2/Description.h"
#include "platform/Clock.h"
#include "platform/HostProgram.h"
#include "platform/SettingsStore.h"
#include "platform/headless/HeadlessWindowSystem.h"

namespace {

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    return static_cast<bool>(file.flush());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "tonemark") != 0 && std::strcmp(argv[1], "widefield") != 0)) {
        std::fprintf(stderr, "usage: lv2_describe tonemark|widefield <bundle directory>\n");
        return 2;
    }
    const lv2adapter::PluginIdentity& identity =
        std::strcmp(argv[1], "tonemark") == 0 ? lv2adapter::tonemarkIdentity() : lv2adapter::widefieldIdentity();
    platform::ManualClock clock(0);
    platform::MemorySettingsStore store;
    platform::FixedHostProgram host("lv2_describe");
    platform::HeadlessWindowSystem windows(clock);
    const platform::Services services{&clock, &store, &host, &windows};

    std::vector<lv2adapter::PortFacts> facts;
    std::string error;
    if (!lv2adapter::readPortFacts(identity, services, facts, error)) {
        std::fprintf(stderr, "lv2_describe: %s: %s\n", identity.name, error.c_str());
        return 1;
    }
    const std::string directory = argv[2];
    if (!writeFile(directory + "/manifest.ttl", lv2adapter::manifestTurtle(identity)) ||
        !writeFile(directory + "/" + identity.name + ".ttl", lv2adapter::pluginTurtle(identity, facts))) {
        std::fprintf(stderr, "lv2_describe: cannot write into %s\n", directory.c_str());
        return 1;
    }
    return 0;
}
