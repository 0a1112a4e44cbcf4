// ClapEditor.cpp — `plughost editor PLUGIN.clap`: the CLAP gui in a real window.
//
//   1. activate, start processing on a second thread (the test signal, a file
//      or silence, paced to the rate; --param values as events in its first
//      block), for --audio-seconds or until the gui closes
//   2. gui create (the system's API, embedded), set_scale 1, get_size gives the
//      window size, a top-level window is made and set_parent hands it over
//   3. for --seconds: the host's timers fire every 30 ms with the window
//      system's events handled in between; clicks and gestures as for VST 2
//   4. screenshot, gui destroy, audio stops, deactivate; the events the panel
//      sent (gestures and values) are counted in the report
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>

#include "tools/plughost/ClapCommands.h"
#include "tools/plughost/ClapHost.h"
#include "tools/plughost/EditorShared.h"
#include "tools/plughost/HostWindow.h"
#include "tools/plughost/PluginInstance.h"
#include "tools/plughost/Report.h"
#include "tools/plughost/TestSignals.h"

namespace plughost {


namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kIdleInterval = std::chrono::milliseconds(30);

#if defined(_WIN32)
const char* const kApi = CLAP_WINDOW_API_WIN32;
#else
const char* const kApi = CLAP_WINDOW_API_X11;
#endif

// The audio thread: process block after block, one block's duration apart.
class ClapFeeder {
public:
    ClapFeeder(const clap_plugin_t* plugin, const Options& options, const SignalSource& source, long long frameLimit)
        : plugin_(plugin), options_(options), source_(source), frameLimit_(frameLimit) {
        for (const ParameterSetting& s : options.parameters) first_.add(0, static_cast<clap_id>(s.index), s.value);
        thread_ = std::thread([this] { run(); });
    }
    ~ClapFeeder() { stop(); }
    void stop() {
        running_.store(false, std::memory_order_relaxed);
        if (thread_.joinable()) thread_.join();
    }
    bool finished() const { return done_.load(std::memory_order_relaxed); }
    long long blocks() const { return blocks_.load(std::memory_order_relaxed); }
    const OutputEvents& sent() const { return sent_; }  // after stop

private:
    void run() {
        const AudioThreadMark audioThread;
        const auto block = static_cast<std::uint32_t>(options_.block);
        std::vector<float> channels[4];
        for (auto& c : channels) c.assign(block, 0.0f);
        float* ins[2] = {channels[0].data(), channels[1].data()};
        float* outs[2] = {channels[2].data(), channels[3].data()};
        clap_audio_buffer_t in{ins, nullptr, 2, 0, 0}, out{outs, nullptr, 2, 0, 0};
        const auto blockTime = std::chrono::duration<double>(block / options_.rate);
        long long frame = 0;
        auto next = Clock::now();
        plugin_->start_processing(plugin_);
        while (running_.load(std::memory_order_relaxed)) {
            if (frameLimit_ >= 0 && frame >= frameLimit_) break;
            source_.fill(ins, 2, static_cast<int>(block), frame);
            clap_process_t call{frame, block, nullptr, &in, &out, 1, 1, frame == 0 ? &first_.list : &none_.list,
                                &sent_.list};
            plugin_->process(plugin_, &call);
            frame += block;
            blocks_.store(blocks_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
            next += std::chrono::duration_cast<Clock::duration>(blockTime);
            std::this_thread::sleep_until(next);
        }
        // Quiet blocks until stopped, so the panel's events still go out.
        while (running_.load(std::memory_order_relaxed)) {
            std::fill(channels[0].begin(), channels[0].end(), 0.0f);
            std::fill(channels[1].begin(), channels[1].end(), 0.0f);
            done_.store(true, std::memory_order_relaxed);
            clap_process_t call{frame, block, nullptr, &in, &out, 1, 1, &none_.list, &sent_.list};
            plugin_->process(plugin_, &call);
            std::this_thread::sleep_for(kIdleInterval);
        }
        plugin_->stop_processing(plugin_);
        done_.store(true, std::memory_order_relaxed);
    }

    const clap_plugin_t* plugin_;
    const Options& options_;
    const SignalSource& source_;
    long long frameLimit_;
    ParamEvents first_, none_;
    OutputEvents sent_;
    std::atomic<bool> running_{true}, done_{false};
    std::atomic<long long> blocks_{0};
    std::thread thread_;
};

}  // namespace

int runClapEditor(const Options& options) {
    if (options.positional.size() != 1) {
        std::fprintf(stderr, "plughost: editor takes one plug-in path\n");
        return kExitUsage;
    }
    const std::string& path = options.positional[0];
    const PanelZoomEnvironment zoomEnvironment(options.zoom);
    int status = kExitOk;
    auto instance = ClapInstance::open(path, status);
    if (!instance) return status;
    const clap_plugin_t* p = instance->plugin();
    const auto* gui = instance->extension<clap_plugin_gui_t>(CLAP_EXT_GUI);
    const auto* timers = instance->extension<clap_plugin_timer_support_t>(CLAP_EXT_TIMER_SUPPORT);
    Report report;
    report.text("plugin", path);
    if (gui == nullptr || !gui->create(p, kApi, false)) {
        std::fprintf(stderr, "plughost: %s has no embedded %s gui\n", path.c_str(), kApi);
        return kExitFailure;
    }
    std::uint32_t width = 0, height = 0;
    if (!gui->get_size(p, &width, &height)) {
        std::fprintf(stderr, "plughost: the gui tells no size\n");
        return kExitFailure;
    }
    report.text("editor.rect", "0,0," + std::to_string(width) + "," + std::to_string(height));
    report.integer("window.width", width);
    report.integer("window.height", height);
    std::string error;
    auto window = createHostWindow(static_cast<int>(width), static_cast<int>(height), "plughost editor", error);
    SignalSource source;
    if (!window || !makeSignalSource(options, source, error)) {
        std::fprintf(stderr, "plughost: %s\n", error.c_str());
        gui->destroy(p);
        return kExitFailure;
    }
    if (!p->activate(p, options.rate, 1, static_cast<std::uint32_t>(options.block))) {
        std::fprintf(stderr, "plughost: %s refused to activate at %g Hz\n", path.c_str(), options.rate);
        gui->destroy(p);
        return kExitRefused;
    }
    const long long frameLimit = audioFrameLimit(options);
    ClapFeeder feeder(p, options, source, frameLimit);
    report.text("audio", source.name());
    clap_window_t parent{kApi, {}};
#if defined(_WIN32)
    parent.win32 = window->handle();
#else
    parent.x11 = static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(window->handle()));
#endif
    const bool opened = gui->set_parent(p, &parent) && gui->show(p);
    window->pump();
    report.boolean("editor.open", opened);
    report.boolean("editor.window", window->hasChildWindow());
    report.integer("timers", static_cast<long long>(instance->host().timers.size()));

    const double seconds = options.seconds < 0 ? 1.0 : options.seconds;
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    const std::size_t actions = options.clicks.size() + options.gestures.size();
    std::size_t done = 0;
    std::string clickMethod = "none";
    auto audioEnd = end;
    long long timerCalls = 0;
    auto fireTimers = [&] {
        if (timers == nullptr) return;
        ++timerCalls;
        const auto due = instance->host().timers;  // a timer may unregister itself
        for (const HostTimer& t : due) timers->on_timer(p, t.id);
    };
    while (!window->closeRequested()) {
        const auto now = Clock::now();
        if (frameLimit >= 0 && !feeder.finished()) audioEnd = now + std::chrono::milliseconds(100);
        if (now >= (frameLimit >= 0 ? audioEnd : end) && done >= actions) break;
        const auto due = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                                     seconds * static_cast<double>(done + 1) / static_cast<double>(actions + 1)));
        if (done < actions && now >= due) {
            if (done < options.clicks.size()) {
                const Point& point = options.clicks[done];
                window->press(point.x, point.y, clickMethod);
                window->pump();
                fireTimers();
                window->release(point.x, point.y);
            } else {
                perform(*window, options.gestures[done - options.clicks.size()], clickMethod);
            }
            ++done;
        }
        window->pump();
        fireTimers();
        window->pump();
        std::this_thread::sleep_for(kIdleInterval);
    }
    fireTimers();
    window->pump();
    bool shotOk = true;
    if (!options.screenshot.empty()) {
        Screenshot shot;
        shotOk = window->capture(shot, error) && savePng(shot, options.screenshot);
        if (!shotOk) std::fprintf(stderr, "plughost: no screenshot: %s\n", error.c_str());
        report.text("screenshot", shotOk ? options.screenshot : "failed");
    }
    // The panel's last events go out with the audio thread's next blocks.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    gui->destroy(p);
    window->pump();
    feeder.stop();
    p->deactivate(p);
    report.integer("idleCalls", timerCalls);
    report.integer("audioBlocks", feeder.blocks());
    report.text("clickMethod", clickMethod);
    report.integer("sent.gestureBegins", feeder.sent().gestureBegins);
    report.integer("sent.gestureEnds", feeder.sent().gestureEnds);
    report.integer("sent.values", feeder.sent().values);
    window.reset();
    report.print(options.json);
    return shotOk && opened ? kExitOk : kExitFailure;
}

}  // namespace plughost
