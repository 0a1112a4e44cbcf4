// Options.cpp — parsing plughost's command line and its help text.
#include "tools/plughost/Options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace plughost {
namespace {

bool parseInt(const std::string& text, int& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || value < -2147483647L - 1 || value > 2147483647L) return false;
    out = static_cast<int>(value);
    return true;
}

bool parseDouble(const std::string& text, double& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0') return false;
    out = value;
    return true;
}

// "A,B" split at the first comma; B may be absent when optional.
bool splitPair(const std::string& text, std::string& first, std::string& second, bool secondOptional) {
    std::size_t comma = text.find(',');
    if (comma == std::string::npos) {
        first = text;
        second.clear();
        return secondOptional;
    }
    first = text.substr(0, comma);
    second = text.substr(comma + 1);
    return true;
}

}  // namespace

const char* usageText() {
    return "usage: plughost <command> <plugin> [options]\n"
           "\n"
           "Loads a VST 2 plug-in (.so, .dll) by path, calls its exported main with\n"
           "plughost's own host callback and drives the record it returns.\n"
           "\n"
           "commands:\n"
           "  info <plugin>              record fields, identify answer, parameters\n"
           "                             (value, name, label, display), program name,\n"
           "                             editor rectangle, effClose result\n"
           "  process <plugin> <in> <out>\n"
           "                             runs audio through the plug-in; <in> may be\n"
           "                             replaced by --sine; reads WAV (32-bit float,\n"
           "                             16- or 24-bit PCM, plain or extensible; any\n"
           "                             other file is refused), writes 32-bit float WAV\n"
           "  bench <plugin>             time per frame of processReplacing (ns/frame)\n"
           "  editor <plugin>            opens the editor in a real top-level window,\n"
           "                             idles it, feeds audio, clicks, takes a screenshot\n"
           "  batch <file>               runs many command lines in this one process: the\n"
           "                             file holds cases, each a line 'case NAME' and then\n"
           "                             one argument a line; every case's output is framed\n"
           "                             by '@@case NAME' and '@@exit NAME CODE' lines\n"
           "\n"
           "options:\n"
           "  --host-version N           answer N to audioMasterVersion (default 1;\n"
           "                             0 makes the plug-in refuse the instance)\n"
           "  --log-host-calls           print every host call received on stderr\n"
           "  --json                     info, process, bench: one JSON object instead\n"
           "                             of 'key: value' lines\n"
           "  --param INDEX=VALUE        setParameter(INDEX, VALUE) before audio starts;\n"
           "                             repeatable; on a .clap file a parameter event\n"
           "                             (id INDEX, VALUE in its own unit) at frame 0\n"
           "  --chunk-in FILE            process: hand the plug-in FILE's bytes as its state\n"
           "                             chunk (effSetChunk) after the --param settings;\n"
           "                             fails when it refuses them\n"
           "  --chunk-out FILE           process: write the plug-in's state chunk\n"
           "                             (effGetChunk) to FILE before audio starts\n"
           "  --program-chunk            the chunk of the program (index 1), not the bank\n"
           "                             (--chunk-in and --chunk-out on a .clap file: its\n"
           "                             state, loaded before activate, saved after the audio)\n"
           "  --block N                  frames per process call (default 512)\n"
           "  --blocks N                 bench: number of timed blocks (default 2000)\n"
           "  --rate HZ                  sample rate (default 44100, or the input file's)\n"
           "  --accumulate               use process (adding) instead of processReplacing\n"
           "  --raw                      files are raw interleaved float32 stereo with\n"
           "                             no header (in and out), instead of WAV\n"
           "  --sine HZ[,AMP]            built-in sine input (amplitude default 0.5);\n"
           "                             process: replaces <in> (give only <out>)\n"
           "  --seconds S                length of the generated input (process, default\n"
           "                             1) or time the editor stays open (default 1)\n"
           "  --signal NAME              editor: a stereo test signal at --sine's frequency\n"
           "                             and amplitude (default 441 Hz, 0.5): sine (every\n"
           "                             channel alike), mono, left (left only), antiphase\n"
           "                             (right inverted), quadrature (right 90 degrees\n"
           "                             ahead: a circle on Widefield's scope)\n"
           "  --wav FILE                 editor: play a sound file in a loop at --rate (WAV\n"
           "                             as process reads it, or raw float32 stereo with --raw)\n"
           "  --audio-seconds S          editor: feed S seconds of audio (in whole blocks),\n"
           "                             then take the screenshot (instead of after --seconds)\n"
           "  --screenshot FILE.png      editor: save the editor area as PNG\n"
           "  --zoom PERCENT             editor: open the panel at 100, 125, 150, 175 or 200 %\n"
           "                             (others go to the nearest; sets BRISORA_ZOOM)\n"
           "  --click X,Y                editor: left click at window point; repeatable\n"
           "  --drag X1,Y1,X2,Y2         editor: press, move and release; repeatable\n"
           "  --control-drag X1,Y1,X2,Y2 editor: the same with the Control key held\n"
           "  --double-click X,Y         editor: a left double click; repeatable\n"
           "  --wheel X,Y,N              editor: N wheel notches (positive up); repeatable\n"
           "  --help                     this text\n"
           "\n"
           "exit status: 0 success, 1 failure during a command, 2 usage error,\n"
           "3 the library cannot be loaded or has no main, 4 main returned no effect\n"
           "(a refused instance), 5 the record's magic is wrong.\n";
}

bool parseOptions(int argc, char** argv, Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto needValue = [&](std::string& value) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            value = argv[++i];
            return true;
        };
        std::string value;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--log-host-calls") {
            options.logHostCalls = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--accumulate") {
            options.accumulate = true;
        } else if (arg == "--raw") {
            options.raw = true;
        } else if (arg == "--host-version") {
            if (!needValue(value) || !parseInt(value, options.hostVersion)) return error = "bad --host-version", false;
        } else if (arg == "--block") {
            if (!needValue(value) || !parseInt(value, options.block) || options.block < 1 || options.block > 1 << 20)
                return error = "bad --block (1 to 1048576)", false;
        } else if (arg == "--blocks") {
            if (!needValue(value) || !parseInt(value, options.blocks) || options.blocks < 1)
                return error = "bad --blocks", false;
        } else if (arg == "--rate") {
            if (!needValue(value) || !parseDouble(value, options.rate) || !(options.rate >= 1.0 && options.rate <= 1e6))
                return error = "bad --rate (1 to 1000000)", false;
            options.rateGiven = true;
        } else if (arg == "--seconds") {
            if (!needValue(value) || !parseDouble(value, options.seconds) ||
                !(options.seconds >= 0.0 && options.seconds <= 3600.0))
                return error = "bad --seconds (0 to 3600)", false;
        } else if (arg == "--param") {
            if (!needValue(value)) return false;
            std::size_t equals = value.find('=');
            ParameterSetting setting;
            double number = 0.0;
            if (equals == std::string::npos || !parseInt(value.substr(0, equals), setting.index) ||
                !parseDouble(value.substr(equals + 1), number))
                return error = "bad --param '" + value + "' (INDEX=VALUE)", false;
            setting.value = static_cast<float>(number);
            options.parameters.push_back(setting);
        } else if (arg == "--chunk-in") {
            if (!needValue(value)) return false;
            options.chunkIn = value;
        } else if (arg == "--chunk-out") {
            if (!needValue(value)) return false;
            options.chunkOut = value;
        } else if (arg == "--program-chunk") {
            options.chunkIsProgram = true;
        } else if (arg == "--zoom") {
            int percent = 0;
            if (!needValue(value) || !parseInt(value, percent) || percent < 100 || percent > 200)
                return error = "bad --zoom (100 to 200)", false;
            options.zoom = value;
        } else if (arg == "--sine") {
            std::string hz, amplitude;
            if (!needValue(value) || !splitPair(value, hz, amplitude, true) || !parseDouble(hz, options.sineHz) ||
                !(options.sineHz > 0.0) || (!amplitude.empty() && !parseDouble(amplitude, options.sineAmplitude)))
                return error = "bad --sine (HZ[,AMP])", false;
        } else if (arg == "--signal") {
            if (!needValue(options.signal)) return false;
        } else if (arg == "--wav") {
            if (!needValue(options.wavPath)) return false;
        } else if (arg == "--audio-seconds") {
            if (!needValue(value) || !parseDouble(value, options.audioSeconds) ||
                !(options.audioSeconds >= 0.0 && options.audioSeconds <= 3600.0))
                return error = "bad --audio-seconds (0 to 3600)", false;
        } else if (arg == "--screenshot") {
            if (!needValue(options.screenshot)) return false;
        } else if (arg == "--click") {
            std::string x, y;
            Point point;
            if (!needValue(value) || !splitPair(value, x, y, false) || !parseInt(x, point.x) || !parseInt(y, point.y))
                return error = "bad --click (X,Y)", false;
            options.clicks.push_back(point);
        } else if (arg == "--drag" || arg == "--control-drag" || arg == "--double-click" || arg == "--wheel") {
            Options::Gesture gesture;
            gesture.kind = arg == "--drag"           ? Options::Gesture::Kind::drag
                           : arg == "--control-drag" ? Options::Gesture::Kind::controlDrag
                           : arg == "--wheel"        ? Options::Gesture::Kind::wheel
                                                     : Options::Gesture::Kind::doubleClick;
            const bool twoPoints = gesture.kind == Options::Gesture::Kind::drag ||
                                   gesture.kind == Options::Gesture::Kind::controlDrag;
            const int wanted = twoPoints ? 4 : gesture.kind == Options::Gesture::Kind::wheel ? 3 : 2;
            int numbers[4] = {0, 0, 0, 0};
            int count = 0;
            if (!needValue(value)) return false;
            std::string rest = value;
            while (count < 4) {
                const std::size_t comma = rest.find(',');
                if (!parseInt(rest.substr(0, comma), numbers[count])) break;
                ++count;
                if (comma == std::string::npos) break;
                rest = rest.substr(comma + 1);
            }
            if (count != wanted) return error = "bad " + arg, false;
            gesture.from = Point{numbers[0], numbers[1]};
            gesture.to = twoPoints ? Point{numbers[2], numbers[3]} : gesture.from;
            if (gesture.kind == Options::Gesture::Kind::wheel) gesture.steps = numbers[2];
            options.gestures.push_back(gesture);
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            error = "unknown option " + arg;
            return false;
        } else if (options.command.empty()) {
            options.command = arg;
        } else {
            options.positional.push_back(arg);
        }
    }
    return true;
}

}  // namespace plughost
