// CliOptions.h — the command line of tonemark-cli.
//
//   Accuracy names   "economy", "normal", "super" → 0, 1, 2
//   CliOptions       what the user asked for
//   parseCliOptions  argv → CliOptions, or a message for the user
//   cliUsage         the --help text
#pragma once

#include <string>
#include <vector>

namespace tonemarkcli {

struct CliOptions {
    std::string inputPath;    // a sound file, or "-" / empty for raw float32 on standard input
    int accuracy = 1;         // 0 Economy, 1 Normal, 2 Super
    int referencePitch = 440; // A3 in whole hertz, 425 to 453
    double rawRate = 44100.0; // sample rate of raw input
    int rawChannels = 1;      // interleaved channels of raw input
    bool rawFormatGiven = false;  // --rate or --channels was on the command line
    int blockSize = 512;      // frames per process call, as a host would send them
    bool json = false;
    bool help = false;
};

// Fills `options`; on a mistake returns false and puts a one-line message in `error`.
bool parseCliOptions(const std::vector<std::string>& arguments, CliOptions& options, std::string& error);

std::string cliUsage();

}  // namespace tonemarkcli
