// Options.h — plughost's command line.
//
//   Options       every setting a command may use, with its default
//   parseOptions  turns argv into Options; false (with a message) on bad input
//   usageText     the --help text
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace plughost {

struct ParameterSetting {
    int index = 0;
    float value = 0.0f;
};

struct Point {
    int x = 0;
    int y = 0;
};

struct Options {
    std::string command;                 // info, process, bench, editor, batch
    std::vector<std::string> positional;  // plug-in path, then files
    int hostVersion = 1;                  // answer to audioMasterVersion
    bool logHostCalls = false;
    bool json = false;
    std::vector<ParameterSetting> parameters;
    std::string chunkIn;   // process: effSetChunk with this file's bytes after the --param settings
    std::string chunkOut;  // process: effGetChunk's bytes into this file, before audio starts
    bool chunkIsProgram = false;  // the program's chunk (index 1) instead of the bank's
    int block = 512;
    int blocks = 2000;
    double rate = 44100.0;
    bool rateGiven = false;
    bool accumulate = false;
    bool raw = false;
    double sineHz = 0.0;  // 0: no generator
    double sineAmplitude = 0.5;
    double seconds = -1.0;  // negative: the command's own default
    std::string signal;           // editor: a built-in stereo test signal (TestSignals.h)
    std::string wavPath;          // editor: a sound file played in a loop
    double audioSeconds = -1.0;   // editor: screenshot after this much audio (negative: --seconds)
    std::string screenshot;
    std::string zoom;  // editor: the panel's zoom in percent (BRISORA_ZOOM); empty: the plug-in's own
    std::vector<Point> clicks;
    // Gestures after the clicks, each performed at once at its turn: a drag from
    // `from` to `to` (with the Control key held for controlDrag), a double click,
    // or `steps` notches of the wheel at `from` (positive away from the user).
    struct Gesture {
        enum class Kind { drag, controlDrag, doubleClick, wheel };
        Kind kind = Kind::drag;
        Point from;
        Point to;
        int steps = 0;
    };
    std::vector<Gesture> gestures;
    bool help = false;
};

bool parseOptions(int argc, char** argv, Options& options, std::string& error);
const char* usageText();

}  // namespace plughost
