// CliOptions.cpp — parsing of tonemark-cli's arguments.
#include "CliOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace tonemarkcli {

namespace {

bool parseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size() && std::isfinite(value);
}

bool parseWhole(const std::string& text, long minimum, long maximum, int& value) {
    double number = 0.0;
    if (!parseNumber(text, number) || number != std::floor(number)) return false;
    if (number < static_cast<double>(minimum) || number > static_cast<double>(maximum)) return false;
    value = static_cast<int>(number);
    return true;
}

bool parseAccuracy(const std::string& text, int& accuracy) {
    if (text == "economy" || text == "0") accuracy = 0;
    else if (text == "normal" || text == "1") accuracy = 1;
    else if (text == "super" || text == "2") accuracy = 2;
    else return false;
    return true;
}

}  // namespace

bool parseCliOptions(const std::vector<std::string>& arguments, CliOptions& options, std::string& error) {
    bool haveInput = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        // Options take their value as the next argument or after '='.
        std::string name = argument;
        std::string value;
        bool inlineValue = false;
        const std::size_t equals = argument.find('=');
        if (argument.rfind("--", 0) == 0 && equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
            inlineValue = true;
        }
        auto takeValue = [&](std::string& out) {
            if (inlineValue) {
                out = value;
                return true;
            }
            if (i + 1 >= arguments.size()) {
                error = name + " needs a value";
                return false;
            }
            out = arguments[++i];
            return true;
        };

        if ((name == "--help" || name == "--json") && inlineValue) {
            error = name + " takes no value";
            return false;
        }
        if (name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "--json") {
            options.json = true;
        } else if (name == "--accuracy") {
            std::string text;
            if (!takeValue(text)) return false;
            if (!parseAccuracy(text, options.accuracy)) {
                error = "--accuracy takes economy, normal or super, not \"" + text + "\"";
                return false;
            }
        } else if (name == "--ref") {
            std::string text;
            if (!takeValue(text)) return false;
            if (!parseWhole(text, 425, 453, options.referencePitch)) {
                error = "--ref takes a whole number of hertz from 425 to 453, not \"" + text + "\"";
                return false;
            }
        } else if (name == "--rate") {
            std::string text;
            double rate = 0.0;
            if (!takeValue(text)) return false;
            if (!parseNumber(text, rate) || rate < 8000.0 || rate > 768000.0) {
                error = "--rate takes a sample rate in hertz from 8000 to 768000, not \"" + text + "\"";
                return false;
            }
            options.rawRate = rate;
            options.rawFormatGiven = true;
        } else if (name == "--channels") {
            std::string text;
            if (!takeValue(text)) return false;
            if (!parseWhole(text, 1, 64, options.rawChannels)) {
                error = "--channels takes a count from 1 to 64, not \"" + text + "\"";
                return false;
            }
            options.rawFormatGiven = true;
        } else if (name == "--block") {
            std::string text;
            if (!takeValue(text)) return false;
            if (!parseWhole(text, 1, 65536, options.blockSize)) {
                error = "--block takes a frame count from 1 to 65536, not \"" + text + "\"";
                return false;
            }
        } else if (argument.size() > 1 && argument[0] == '-') {
            error = "unknown option " + argument;
            return false;
        } else {
            if (haveInput) {
                error = "one input at a time (got \"" + options.inputPath + "\" and \"" + argument + "\")";
                return false;
            }
            options.inputPath = argument;
            haveInput = true;
        }
    }
    return true;
}

std::string cliUsage() {
    return "usage: tonemark-cli [options] [FILE | -]\n"
           "\n"
           "Tunes a recording with Tonemark's own code: the sound runs through the plug-in\n"
           "in host-sized blocks with its panel open, timed by the sound itself, and each\n"
           "reading the panel takes (one every 60 ms or so) is printed as one line:\n"
           "\n"
           "     0.975 s     440.00 Hz  A   3  MIDI  69      +0 cents  LED on\n"
           "\n"
           "time into the sound, frequency, note with sharp sign, octave, MIDI number,\n"
           "cents off the note, and the lamp, written as the panel writes them: hertz with\n"
           "1, 2 or 3 decimals and cents whole, whole or to a tenth at economy, normal\n"
           "and super accuracy. Octaves count as on the panel: A3 is the reference\n"
           "(440 Hz unless --ref says otherwise) and middle C is C3.\n"
           "\n"
           "LED off means that reading found no note (silence, noise, or above E7). The\n"
           "panel then keeps showing the last note it found, and so does the line; before\n"
           "the first note the texts are dashes (null in JSON).\n"
           "\n"
           "The first channel is measured, as in a host. FILE is any sound file that\n"
           "libsndfile reads (WAV, AIFF, FLAC, ...); without FILE, or with -, raw 32-bit\n"
           "float samples (native byte order, interleaved) come from standard input.\n"
           "\n"
           "  --accuracy economy|normal|super   analysis setting (default normal)\n"
           "  --ref HZ          reference pitch of A3, 425 to 453 (default 440)\n"
           "  --rate HZ         sample rate of raw input, 8000 to 768000 (default 44100)\n"
           "  --channels N      interleaved channels of raw input (default 1)\n"
           "  --block N         frames per process call (default 512)\n"
           "  --json            one JSON object per line instead of columns:\n"
           "                    {\"time\":0.975,\"frequency\":\"440.00\",\"note\":\"A\",\"sharp\":false,\n"
           "                     \"octave\":3,\"midi\":69,\"cents\":\"+0\",\"led\":true}\n"
           "  --help            this text\n"
           "\n"
           "Exit status: 0 done, 1 input that cannot be read, 2 a mistake in the options.\n"
           "\n"
           "examples:\n"
           "  tonemark-cli --accuracy super violin-a.wav\n"
           "  sox guitar.flac -t f32 -c 1 -r 44100 - | tonemark-cli --rate 44100 --json\n";
}

}  // namespace tonemarkcli
