// main.cpp — tonemark-cli: a recording through Tonemark with its panel open on
// the headless backend, one printed line for every reading the panel takes.
//
// The effect gets the sound in host-sized blocks; after each block the clock is
// set to the sound's own time and the editor gets its idle call, so the panel
// takes its readings every 60 ms of sound exactly as it would in a host playing
// the file in real time. What is printed is read back from the panel's labels
// and lamp, so it is what a user of the plug-in would see.
//
// The program never calls setlocale: the panel's decimal separator is that of
// the "C" locale, a full stop, whatever the user's region.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Services.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "tools/tonemark-cli/AudioInput.h"
#include "tools/tonemark-cli/CliOptions.h"
#include "tuner/ReadingText.h"
#include "tuner/uDoubler.h"
#include "tuner/uFFT.h"

namespace {

using tonemarkcli::AudioInput;
using tonemarkcli::CliOptions;

constexpr int kExitOk = 0;
constexpr int kExitUnreadable = 1;
constexpr int kExitUsage = 2;

VstIntPtr VSTCALLBACK hostCallback(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// One reading as the panel shows it. `anyNote` is false until the panel has
// shown a note: its labels then still hold their start texts, which mean nothing.
struct Reading {
    double seconds = 0.0;
    bool anyNote = false;
    std::string frequency, note, sharp, octave, midi, cents;
    bool led = false;
};

Reading readPanel(const tonemark::TuFFTForm& form, double seconds, bool anyNote) {
    Reading r;
    r.seconds = seconds;
    r.anyNote = anyNote;
    r.frequency = form.freqLbl.text();
    r.note = form.notelbl.text();
    r.sharp = form.sharplbl.text();
    r.octave = form.octaveLbl.text();
    r.midi = form.midiLbl.text();
    r.cents = form.centslbl.text();
    r.led = form.ledLit();
    return r;
}

bool isSharp(const Reading& r) { return r.sharp == "#"; }

void printTextLine(const Reading& r) {
    const std::string dash = "-";
    const std::string note = r.anyNote ? r.note + (isSharp(r) ? "#" : " ") : "- ";
    std::printf("%8.3f s  %9s Hz  %s %2s  MIDI %3s  %6s cents  LED %s\n", r.seconds,
                (r.anyNote ? r.frequency : dash).c_str(), note.c_str(), (r.anyNote ? r.octave : dash).c_str(),
                (r.anyNote ? r.midi : dash).c_str(), (r.anyNote ? r.cents : dash).c_str(), r.led ? "on" : "off");
}

// The labels hold digits, signs and separators only; quoting is enough, but
// escape anyway so that the line stays valid JSON whatever they hold.
std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// A whole-number label as a JSON number (the panel writes them with to_string).
std::string jsonWhole(const std::string& text) {
    if (text.empty()) return "null";
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!((text[i] >= '0' && text[i] <= '9') || (i == 0 && text[i] == '-' && text.size() > 1))) return "null";
    return text;
}

void printJsonLine(const Reading& r) {
    if (r.anyNote) {
        std::printf("{\"time\":%.3f,\"frequency\":%s,\"note\":%s,\"sharp\":%s,\"octave\":%s,\"midi\":%s,"
                    "\"cents\":%s,\"led\":%s}\n",
                    r.seconds, jsonString(r.frequency).c_str(), jsonString(r.note).c_str(),
                    isSharp(r) ? "true" : "false", jsonWhole(r.octave).c_str(), jsonWhole(r.midi).c_str(),
                    jsonString(r.cents).c_str(), r.led ? "true" : "false");
    } else {
        std::printf("{\"time\":%.3f,\"frequency\":null,\"note\":null,\"sharp\":null,\"octave\":null,\"midi\":null,"
                    "\"cents\":null,\"led\":%s}\n",
                    r.seconds, r.led ? "true" : "false");
    }
}

int usageError(const std::string& message) {
    std::fprintf(stderr, "tonemark-cli: %s\nTry 'tonemark-cli --help' for more information.\n", message.c_str());
    return kExitUsage;
}

std::string formatRate(double rate) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", rate);
    return text;
}

int run(const CliOptions& options) {
    const bool rawInput = options.inputPath.empty() || options.inputPath == "-";
    if (!rawInput && options.rawFormatGiven)
        return usageError("--rate and --channels describe raw input; " + options.inputPath +
                          " brings its own rate and channels");
    if (options.inputPath.empty() && isatty(STDIN_FILENO))
        return usageError("no input: name a sound file, or pipe raw 32-bit float samples in (with - or no FILE)");

    std::unique_ptr<AudioInput> input;
    const std::string inputName = rawInput ? "standard input" : options.inputPath;
    if (rawInput) {
        input = tonemarkcli::openRawInput(stdin, options.rawRate, options.rawChannels);
    } else {
        std::string error;
        input = tonemarkcli::openSoundFile(options.inputPath, error);
        if (!input) {
            std::fprintf(stderr, "tonemark-cli: %s\n", error.c_str());
            return kExitUnreadable;
        }
    }
    const double rate = input->sampleRate();
    const int channels = input->channels();
    if (!(rate >= 8000.0 && rate <= 768000.0)) {
        std::fprintf(stderr, "tonemark-cli: %s is at %s Hz; Tonemark works at 8000 to 768000 Hz\n",
                     inputName.c_str(), formatRate(rate).c_str());
        return kExitUnreadable;
    }
    if (isatty(STDERR_FILENO)) {
        std::fprintf(stderr, "tonemark-cli: %s, %s Hz, %d channel%s; accuracy %s, A3 = %d Hz\n", inputName.c_str(),
                     formatRate(rate).c_str(), channels, channels == 1 ? "" : "s",
                     tonemark::accuracyName(options.accuracy), options.referencePitch);
    }

    // The plug-in as a host would set it up, on a clock of the sound's own time.
    platform::ManualClock clock;
    platform::HeadlessWindowSystem windows{clock};
    platform::Services services;
    services.clock = &clock;
    services.windows = &windows;
    tonemark::ADoubler effect(hostCallback, services);
    const std::int32_t block = options.blockSize;
    effect.dispatcher(effOpen, 0, 0, nullptr, 0.0f);
    effect.dispatcher(effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
    effect.dispatcher(effSetBlockSize, 0, block, nullptr, 0.0f);
    effect.dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
    effect.setParameter(0, static_cast<float>(options.referencePitch));
    effect.setParameter(1, static_cast<float>(options.accuracy));
    effect.dispatcher(effEditOpen, 0, 0, nullptr, 0.0f);
    tonemark::ADoublerEditor* editor = effect.getDoublerEditor();
    const tonemark::TuFFTForm* form = editor ? editor->getForm() : nullptr;
    if (form == nullptr) {
        std::fprintf(stderr, "tonemark-cli: Tonemark's panel did not open\n");
        return kExitUnreadable;
    }

    std::vector<float> interleaved(static_cast<std::size_t>(block) * static_cast<std::size_t>(channels));
    std::vector<float> left(block), right(block), outLeft(block), outRight(block);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    std::uint64_t framesDone = 0;
    std::uint64_t readings = 0;
    // Two analyses lie at least 60 ms apart, and the first cannot happen before
    // 60 ms, so a changed time always means exactly one new reading.
    std::uint32_t lastAnalysis = editor->getLastAnalysisTime();
    bool anyNote = false;

    for (;;) {
        const std::size_t frames = input->read(interleaved.data(), static_cast<std::size_t>(block));
        if (frames == 0) break;
        for (std::size_t i = 0; i < frames; ++i) {
            const float* frame = &interleaved[i * static_cast<std::size_t>(channels)];
            left[i] = frame[0];
            right[i] = channels > 1 ? frame[1] : frame[0];
        }
        effect.processReplacing(inputs, outputs, static_cast<std::int32_t>(frames));
        framesDone += frames;
        const double seconds = static_cast<double>(framesDone) / rate;
        // GetTickCount-style milliseconds: 32 bits that wrap.
        clock.set(static_cast<std::uint32_t>(static_cast<std::uint64_t>(std::floor(seconds * 1000.0))));
        effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
        if (editor->getLastAnalysisTime() == lastAnalysis) continue;
        lastAnalysis = editor->getLastAnalysisTime();
        ++readings;
        if (form->ledLit()) anyNote = true;
        const Reading reading = readPanel(*form, seconds, anyNote);
        if (options.json)
            printJsonLine(reading);
        else
            printTextLine(reading);
    }
    effect.dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    effect.dispatcher(effMainsChanged, 0, 0, nullptr, 0.0f);

    if (rawInput && std::ferror(stdin)) {
        std::fprintf(stderr, "tonemark-cli: reading standard input failed\n");
        return kExitUnreadable;
    }
    if (readings == 0) {
        std::fprintf(stderr,
                     "tonemark-cli: no readings: the panel measures every %d ms of sound, and %s holds %.0f ms\n",
                     static_cast<int>(tonemark::ADoublerEditor::kAnalysisSpacing), inputName.c_str(),
                     static_cast<double>(framesDone) * 1000.0 / rate);
    }
    std::fflush(stdout);
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    CliOptions options;
    std::string error;
    if (!tonemarkcli::parseCliOptions(arguments, options, error)) return usageError(error);
    if (options.help) {
        std::fputs(tonemarkcli::cliUsage().c_str(), stdout);
        return kExitOk;
    }
    // Lines go out as they are made, so a pipe or a live feed sees each reading at once.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    return run(options);
}
