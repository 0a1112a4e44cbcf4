// ClapEditor.cpp — `plughost editor PLUGIN.clap` (see runClapEditor).
#include <cstdio>

#include "tools/plughost/ClapCommands.h"
#include "tools/plughost/PluginInstance.h"

namespace plughost {

int runClapEditor(const Options&) {
    std::fprintf(stderr, "plughost: editor on a .clap file is not there yet\n");
    return kExitUsage;
}

}  // namespace plughost
