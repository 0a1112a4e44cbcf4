// main.cpp — plughost, a command-line VST 2 host: picks the command.
#include <cstdio>
#include <string>

#include "tools/plughost/ClapCommands.h"
#include "tools/plughost/ClapHost.h"
#include "tools/plughost/Commands.h"
#include "tools/plughost/HostCallback.h"
#include "tools/plughost/Options.h"
#include "tools/plughost/PluginInstance.h"

int main(int argc, char** argv) {
    using namespace plughost;
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "plughost: %s (see plughost --help)\n", error.c_str());
        return kExitUsage;
    }
    if (options.help || options.command == "help") {
        std::fputs(usageText(), stdout);
        return kExitOk;
    }
    return runCommand(options);
}

namespace plughost {

int runCommand(const Options& options) {
    configureHost(options.hostVersion, options.logHostCalls);
    // A .clap file is driven through its clap_entry, as a CLAP host does.
    if (!options.positional.empty() && isClapPath(options.positional[0])) {
        if (options.command == "info") return runClapInfo(options);
        if (options.command == "process") return runClapProcess(options);
        if (options.command == "editor") return runClapEditor(options);
    }
    if (options.command == "info") return runInfo(options);
    if (options.command == "process") return runProcess(options);
    if (options.command == "bench") return runBench(options);
    if (options.command == "editor") return runEditor(options);
    if (options.command == "batch") return runBatch(options);
    std::fprintf(stderr, options.command.empty() ? "plughost: no command given\n%s"
                                                 : "plughost: unknown command\n%s",
                 usageText());
    return kExitUsage;
}

}  // namespace plughost
