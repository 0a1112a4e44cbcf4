// EditorCommand.cpp — `plughost editor`: the plug-in's editor in a real window.
//
//   1. effOpen, rate, block size, --param settings, resume; audio starts on a
//      second thread (a test signal, a file or silence through
//      processReplacing, paced to the sample rate; --audio-seconds of it, or
//      until the editor closes)
//   2. effEditGetRect gives the window size; a top-level window is made and
//      its handle handed to effEditOpen
//   3. for --seconds (or until --audio-seconds were fed, and 100 ms more):
//      effEditIdle every 30 ms with the window system's events handled in
//      between; the --click points are pressed and released at even spacing
//      over that time, then each --drag, --control-drag and --double-click is
//      performed whole at its turn
//   4. screenshot of the client area to --screenshot, effEditClose, audio
//      stops, suspend, effClose
#include <atomic>
#include <cstdlib>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>

#include "tools/plughost/AudioFiles.h"
#include "tools/plughost/ChannelBlocks.h"
#include "tools/plughost/Commands.h"
#include "tools/plughost/EditorShared.h"
#include "tools/plughost/HostWindow.h"
#include "tools/plughost/PluginInstance.h"
#include "tools/plughost/Report.h"
#include "tools/plughost/TestSignals.h"

namespace plughost {

// One gesture at once: the steps go to the window system back to back, and the
// editor sees them at its next idle request, as it would a quick hand.
void perform(HostWindow& window, const Options::Gesture& gesture, std::string& method) {
    using Kind = Options::Gesture::Kind;
    if (gesture.kind == Kind::doubleClick) {
        window.doubleClick(gesture.from.x, gesture.from.y, method);
        return;
    }
    if (gesture.kind == Kind::wheel) {
        window.wheel(gesture.from.x, gesture.from.y, gesture.steps);
        return;
    }
    if (gesture.kind == Kind::controlDrag) window.controlKey(true);
    window.press(gesture.from.x, gesture.from.y, method);
    constexpr int kSteps = 8;
    for (int step = 1; step <= kSteps; ++step)
        window.move(gesture.from.x + (gesture.to.x - gesture.from.x) * step / kSteps,
                    gesture.from.y + (gesture.to.y - gesture.from.y) * step / kSteps);
    window.release(gesture.to.x, gesture.to.y);
    if (gesture.kind == Kind::controlDrag) window.controlKey(false);
}

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kIdleInterval = std::chrono::milliseconds(30);
constexpr int kDefaultWidth = 320, kDefaultHeight = 200;

// Feeds the effect block after block, one block's duration apart, until stopped
// or, with a frame limit, until that many frames were fed (whole blocks).
class AudioFeeder {
public:
    AudioFeeder(AEffect* effect, const Options& options, const SignalSource& source, long long frameLimit)
        : effect(effect), options(options), source(source), frameLimit(frameLimit) {
        thread = std::thread([this] { run(); });
    }
    ~AudioFeeder() { stop(); }
    void stop() {
        running.store(false, std::memory_order_relaxed);
        if (thread.joinable()) thread.join();
    }
    long long blocks() const { return blockCount.load(std::memory_order_relaxed); }
    bool finished() const { return done.load(std::memory_order_relaxed); }

private:
    void run() {
        const int block = options.block;
        ChannelBlocks in(effect->numInputs, block), out(effect->numOutputs, block);
        const auto blockTime = std::chrono::duration<double>(block / options.rate);
        long long frame = 0;
        auto next = Clock::now();
        while (running.load(std::memory_order_relaxed)) {
            if (frameLimit >= 0 && frame >= frameLimit) break;
            source.fill(in.data(), in.channels(), block, frame);
            frame += block;
            effect->processReplacing(effect, in.data(), out.data(), block);
            blockCount.store(blockCount.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
            next += std::chrono::duration_cast<Clock::duration>(blockTime);
            std::this_thread::sleep_until(next);
        }
        done.store(true, std::memory_order_relaxed);
    }

    AEffect* effect;
    const Options& options;
    const SignalSource& source;
    long long frameLimit;
    std::atomic<bool> running{true};
    std::atomic<bool> done{false};
    std::atomic<long long> blockCount{0};
    std::thread thread;
};

}  // namespace

int runEditor(const Options& options) {
    if (options.positional.size() != 1) {
        std::fprintf(stderr, "plughost: editor takes one plug-in path\n");
        return kExitUsage;
    }
    const std::string& path = options.positional[0];
    const PanelZoomEnvironment zoomEnvironment(options.zoom);
    int status = kExitOk;
    auto instance = openAudioInstance(path, status);
    if (!instance) return status;
    AEffect* e = instance->effect();
    Report report;
    report.text("plugin", path);
    report.boolean("hasEditorFlag", instance->hasFlag(effFlagsHasEditor));

    instance->dispatch(effOpen);
    instance->dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(options.rate));
    instance->dispatch(effSetBlockSize, 0, options.block);
    for (const ParameterSetting& setting : options.parameters) instance->setParameter(setting.index, setting.value);
    instance->dispatch(effMainsChanged, 0, 1);

    ERect* rect = nullptr;
    instance->dispatch(effEditGetRect, 0, 0, &rect);
    int width = kDefaultWidth, height = kDefaultHeight;
    if (rect && rect->right - rect->left > 0 && rect->bottom - rect->top > 0) {
        width = rect->right - rect->left;
        height = rect->bottom - rect->top;
        report.text("editor.rect", std::to_string(rect->left) + "," + std::to_string(rect->top) + "," +
                                       std::to_string(rect->right) + "," + std::to_string(rect->bottom));
    } else {
        report.text("editor.rect", "none");
    }
    report.integer("window.width", width);
    report.integer("window.height", height);

    std::string error;
    auto window = createHostWindow(width, height, "plughost editor", error);
    if (!window) {
        std::fprintf(stderr, "plughost: %s\n", error.c_str());
        instance->dispatch(effMainsChanged, 0, 0);
        return kExitFailure;
    }

    SignalSource source;
    if (!makeSignalSource(options, source, error)) {
        std::fprintf(stderr, "plughost: %s\n", error.c_str());
        instance->dispatch(effMainsChanged, 0, 0);
        return kExitUsage;
    }
    const long long frameLimit = audioFrameLimit(options);
    AudioFeeder feeder(e, options, source, frameLimit);
    report.text("audio", source.name());
    VstIntPtr opened = instance->dispatch(effEditOpen, 0, 0, window->handle());
    window->pump();
    bool child = window->hasChildWindow();
    report.integer("editor.open", static_cast<long long>(opened));
    report.boolean("editor.window", child);
    if (!child) std::fprintf(stderr, "plughost: editor opened no window\n");

    // Press/release of each click at even spacing over the open time.
    const double seconds = options.seconds < 0 ? 1.0 : options.seconds;
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    std::size_t nextClick = 0, nextGesture = 0;
    const std::size_t actions = options.clicks.size() + options.gestures.size();
    long long idles = 0;
    bool released = true;
    std::string clickMethod = "none";
    auto audioEnd = end;
    while (true) {
        auto now = Clock::now();
        bool clicksLeft = nextClick < options.clicks.size() || !released || nextGesture < options.gestures.size();
        if (frameLimit >= 0) {
            // After the audio, 100 ms of idles so the editor shows its end.
            if (!feeder.finished()) audioEnd = now + std::chrono::milliseconds(100);
            if (now >= audioEnd && !clicksLeft) break;
            if (window->closeRequested()) break;
        } else if ((now >= end && !clicksLeft) || window->closeRequested()) {
            break;
        }
        if (!released) {
            const Point& point = options.clicks[nextClick - 1];
            window->release(point.x, point.y);
            released = true;
        } else if (nextClick < options.clicks.size()) {
            auto due = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                                   seconds * static_cast<double>(nextClick + 1) / static_cast<double>(actions + 1)));
            if (now >= due) {
                const Point& point = options.clicks[nextClick++];
                window->press(point.x, point.y, clickMethod);
                released = false;
            }
        } else if (nextGesture < options.gestures.size()) {
            auto due = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                                   seconds * static_cast<double>(nextClick + nextGesture + 1) /
                                   static_cast<double>(actions + 1)));
            if (now >= due) perform(*window, options.gestures[nextGesture++], clickMethod);
        }
        window->pump();
        instance->dispatch(effEditIdle);
        ++idles;
        window->pump();
        std::this_thread::sleep_for(kIdleInterval);
    }
    // A last idle, so what the editor shows is up to date for the picture.
    instance->dispatch(effEditIdle);
    window->pump();
    report.integer("idleCalls", idles + 1);
    report.integer("clicks", static_cast<long long>(options.clicks.size()));
    report.integer("gestures", static_cast<long long>(options.gestures.size()));
    report.text("clickMethod", clickMethod);

    bool shotOk = true;
    if (!options.screenshot.empty()) {
        Screenshot shot;
        shotOk = window->capture(shot, error) && savePng(shot, options.screenshot);
        if (!shotOk) std::fprintf(stderr, "plughost: no screenshot: %s\n", error.empty() ? "cannot write the PNG" : error.c_str());
        report.text("screenshot", shotOk ? options.screenshot : "failed");
    }

    instance->dispatch(effEditClose);
    window->pump();
    feeder.stop();
    report.integer("audioBlocks", feeder.blocks());
    instance->dispatch(effMainsChanged, 0, 0);
    report.integer("close", static_cast<long long>(instance->close()));
    window.reset();
    report.print(options.json);
    return shotOk ? kExitOk : kExitFailure;
}

}  // namespace plughost
