// BatchCommand.cpp — plughost batch FILE: many commands in one process.
//
// Where every process start is expensive (a 32-bit Windows build under Wine on
// an emulated CPU takes about a minute to start), the tests hand plughost one
// file of cases and read each case's output back by name. The file:
//
//   case NAME        starts a case; every following line is one argument
//   info             (the command line of that case, without "plughost")
//   --json
//   C:\path\Tonemark.dll
//
// Lines starting with '#' and empty lines are skipped. Each case's output is
// framed on both streams: "@@case NAME" before it, and "@@exit NAME CODE" on
// standard output after it (both streams flushed), so that the reader can cut
// the two streams apart. The batch's own exit status is 0 when the file was
// read, whatever the cases returned.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/plughost/Commands.h"
#include "tools/plughost/PluginInstance.h"

namespace plughost {
namespace {

struct BatchCase {
    std::string name;
    std::vector<std::string> arguments;
};

bool readCases(const std::string& path, std::vector<BatchCase>& cases) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line.compare(0, 5, "case ") == 0) {
            cases.push_back({line.substr(5), {}});
        } else if (!cases.empty()) {
            cases.back().arguments.push_back(line);
        } else {
            return false;  // an argument before the first case
        }
    }
    return true;
}

int runCase(const BatchCase& batchCase) {
    std::vector<std::string> storage;
    storage.reserve(batchCase.arguments.size() + 1);
    storage.push_back("plughost");
    for (const std::string& argument : batchCase.arguments) storage.push_back(argument);
    std::vector<char*> argv;
    for (std::string& argument : storage) argv.push_back(argument.data());
    argv.push_back(nullptr);
    Options options;
    std::string error;
    if (!parseOptions(static_cast<int>(storage.size()), argv.data(), options, error)) {
        std::fprintf(stderr, "plughost: %s\n", error.c_str());
        return kExitUsage;
    }
    if (options.command == "batch") {
        std::fprintf(stderr, "plughost: a batch cannot hold a batch\n");
        return kExitUsage;
    }
    return runCommand(options);
}

}  // namespace

int runBatch(const Options& options) {
    if (options.positional.size() != 1) {
        std::fprintf(stderr, "plughost: batch takes one file of cases\n");
        return kExitUsage;
    }
    std::vector<BatchCase> cases;
    if (!readCases(options.positional[0], cases)) {
        std::fprintf(stderr, "plughost: cannot read the cases in %s\n", options.positional[0].c_str());
        return kExitFailure;
    }
    for (const BatchCase& batchCase : cases) {
        std::fprintf(stdout, "@@case %s\n", batchCase.name.c_str());
        std::fprintf(stderr, "@@case %s\n", batchCase.name.c_str());
        std::fflush(stdout);
        std::fflush(stderr);
        const int code = runCase(batchCase);
        std::fflush(stderr);
        std::fprintf(stdout, "\n@@exit %s %d\n", batchCase.name.c_str(), code);
        std::fflush(stdout);
    }
    return kExitOk;
}

}  // namespace plughost
