// ReplayMain.cpp — plays saved fuzz inputs without libFuzzer.
//
//   fuzz_replay <plugin> <file or directory>...
//
// Every regular file is one host-call sequence; a broken rule aborts with the
// file's name printed first. This is how findings stay fixed in the normal build.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/fuzz/HostCallSequence.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: fuzz_replay tonemark|widefield <file or directory>...\n");
        return 2;
    }
    const hardening::PluginKind* plugin = hostfuzz::findPlugin(argv[1]);
    if (plugin == nullptr) {
        std::fprintf(stderr, "unknown plug-in %s\n", argv[1]);
        return 2;
    }
    std::vector<std::filesystem::path> files;
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path))
                if (entry.is_regular_file()) files.push_back(entry.path());
        } else {
            files.push_back(path);
        }
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::ifstream stream(file, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
        std::fprintf(stderr, "%s\n", file.string().c_str());
        hostfuzz::runHostCallSequence(*plugin, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("%s: %zu sequences replayed\n", plugin->name, files.size());
    return 0;
}
