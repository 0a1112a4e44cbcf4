// ClapPlugin.h — one CLAP instance: the effect behind the CLAP plug-in calls.
//
//   ClapIdentity   what CLAP adds to a plug-in's shared identity: its id,
//                  vendor, version, features and the rates it can follow
//   PanelEvent     a change made on the panel, on its way to the host
//   ClapPlugin     init → activate → start/process/stop → deactivate → destroy,
//                  turned into the effect's own calls through its AEffect record;
//                  the extensions live in ClapParams.cpp, ClapExtensions.cpp and
//                  ClapGui.cpp
//
// Threads: process (and reset) belong to the audio thread and never allocate,
// lock or call the window system; the host's parameter events reach the effect
// there through setParameter, at their frame offsets. Everything else is the
// host's main thread. The panel's changes go to the host through a fixed ring
// of events that process (or flush) empties into the host's output list.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "clap/ClapInterface.h"
#include "formats/HostValues.h"
#include "formats/PortFacts.h"

namespace clapadapter {

using namespace formats;

struct ClapIdentity {
    const PluginIdentity& (*plugin)();
    const char* id;
    const char* vendor;
    const char* version;
    const char* const* features;
};

constexpr std::size_t kMaxParams = HostValues::kMaxControls;

struct PanelEvent {
    std::uint16_t type;  // CLAP_EVENT_PARAM_VALUE or a gesture
    clap_id param;
    double value;
};

class ClapPlugin {
public:
    // Null when the effect cannot be made; init finishes the work. Hosts get
    // the real services; tests give their own.
    static ClapPlugin* create(const ClapIdentity& identity, const clap_plugin_descriptor_t* descriptor,
                              const clap_host_t* host,
                              const platform::Services& services = platform::defaultServices());
    ~ClapPlugin();
    ClapPlugin(const ClapPlugin&) = delete;
    ClapPlugin& operator=(const ClapPlugin&) = delete;

    static ClapPlugin* of(const clap_plugin_t* plugin);
    const clap_plugin_t* clapPlugin() const { return &plugin_; }

    bool init();
    bool activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames);
    void deactivate();
    bool startProcessing();
    void stopProcessing();
    void reset();
    clap_process_status process(const clap_process_t* process);
    const void* extension(const char* id) const;
    void onMainThread();

    // params (ClapParams.cpp)
    std::uint32_t paramCount() const;
    bool paramInfo(std::uint32_t index, clap_param_info_t* info) const;
    bool paramValue(clap_id id, double* value) const;
    bool valueToText(clap_id id, double value, char* text, std::uint32_t capacity) const;
    bool textToValue(clap_id id, const char* text, double* value) const;
    void flush(const clap_input_events_t* in, const clap_output_events_t* out);

    // state (ClapExtensions.cpp)
    bool saveState(const clap_ostream_t* stream);
    bool loadState(const clap_istream_t* stream);

    // gui (ClapGui.cpp)
    static bool isGuiApiSupported(const char* api, bool floating);
    bool createGui(const char* api, bool floating);
    void destroyGui();
    bool setGuiScale(double scale);
    bool guiSize(std::uint32_t* width, std::uint32_t* height);
    bool setGuiParent(const clap_window_t* window);
    void onTimer(clap_id timer);

    bool isActive() const { return state_.load() >= State::active; }
    AEffect& record() const { return *record_; }
    AudioEffect& effect() const { return *static_cast<AudioEffect*>(record_->object); }
    const PluginIdentity& identity() const { return portsOf_; }

private:
    enum class State { created, initialised, active, processing };

    ClapPlugin(const ClapIdentity& identity, const clap_plugin_descriptor_t* descriptor, const clap_host_t* host,
               const platform::Services& services, AEffect* record);
    static VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, std::int32_t opcode, std::int32_t index,
                                              VstIntPtr value, void* ptr, float opt);
    template <typename Extension>
    const Extension* hostExtension(const char* id) const {
        if (host_->get_extension == nullptr) return nullptr;
        return static_cast<const Extension*>(host_->get_extension(host_, id));
    }
    bool onMainThreadOrUnknown() const;
    bool onAudioThreadOrUnknown() const;
    void applyEvents(const clap_input_events_t* in, std::uint32_t upTo, std::uint32_t& next, std::uint32_t count);
    void applyEvent(const clap_event_header_t* event);
    void sendPanelEvents(const clap_output_events_t* out);
    void queuePanelEvent(std::uint16_t type, std::int32_t parameter);
    void reportChangedParameters();
    void forgetPanelChanges();
    int paramOf(std::int32_t parameter) const;
    double clapValueOf(std::size_t param) const;

    clap_plugin_t plugin_;
    const ClapIdentity& clapIdentity_;
    const PluginIdentity& portsOf_;
    const clap_host_t* host_;
    platform::Services services_;
    AEffect* record_;
    AEffect* texts_ = nullptr;  // a second effect that turns values into texts
    std::vector<PortFacts> facts_;
    std::atomic<State> state_{State::created};
    const clap_host_params_t* hostParams_ = nullptr;
    const clap_host_thread_check_t* threadCheck_ = nullptr;

    // The host's values as process applied them, and what the host is known to hold.
    HostValues hostValues_;

    // The panel's events: written on the main thread, read where events go out.
    static constexpr std::uint32_t kRingSize = 256;
    std::array<PanelEvent, kRingSize> ring_{};
    std::atomic<std::uint32_t> ringWritten_{0};
    std::atomic<std::uint32_t> ringRead_{0};

    // gui (main thread)
    bool guiCreated_ = false;
    bool guiOpen_ = false;
    clap_id timer_ = CLAP_INVALID_ID;
};

}  // namespace clapadapter
