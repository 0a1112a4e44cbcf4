// PluginInstance.h — one LV2 instance: the effect behind the LV2 plug-in calls.
//
//   PanelLink       what the effect tells its panel's LV2 UI (automation, gestures)
//   PluginInstance  instantiate → connect → activate → run → deactivate → cleanup,
//                   turned into the effect's own calls through its AEffect record
//   DescribedPlugin the LV2_Descriptor of a plug-in with the identity it serves
//
// Threads: run belongs to the audio thread and never allocates, locks or calls
// the window system; the control ports reach the effect there, through
// setParameter, only when a port's value changed. The UI side (PanelLink,
// effect(), isActive(), appliedValue()) is the host's UI thread.
#pragma once

#include <lv2/core/lv2.h>

#include <array>
#include <atomic>
#include <cstdint>

#include "formats/HostValues.h"
#include "formats/PluginIdentity.h"

namespace lv2adapter {

// The plug-ins' descriptions, shared with the other formats.
using namespace formats;

// Port indices: the audio ports first, then one control port per host parameter.
enum : std::uint32_t { kInLeft = 0, kInRight, kOutLeft, kOutRight, kFirstControlPort };
constexpr std::size_t kMaxControlPorts = 24;
static_assert(kMaxControlPorts <= HostValues::kMaxControls, "a host value per port");

class PanelLink {
public:
    virtual ~PanelLink() = default;
    // The panel set a host parameter and asked for it to be automated.
    virtual void parameterAutomated(std::int32_t parameter) = 0;
    // The panel began or ended a gesture on a host parameter.
    virtual void gesture(std::int32_t parameter, bool begins) = 0;
    // The panel asks for a new size of its window; true when the host took it.
    virtual bool resizeWindow(int width, int height) = 0;
    // The instance is being destroyed, its effect and editor with it.
    virtual void instanceDestroyed() = 0;
};

class PluginInstance {
public:
    // Null when the rate is unusable or the effect cannot be made. Hosts get
    // the real services; tests give their own.
    static PluginInstance* create(const PluginIdentity& identity, double sampleRate,
                                  const LV2_Feature* const* features,
                                  const platform::Services& services = platform::defaultServices());
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    void connect(std::uint32_t port, void* data);
    void activate();
    void deactivate();
    void run(std::uint32_t frames);

    const PluginIdentity& identity() const { return identity_; }
    AudioEffect& effect() const { return *static_cast<AudioEffect*>(record_->object); }
    AEffect& record() const { return *record_; }
    bool isActive() const { return active_.load(std::memory_order_relaxed); }
    // The effect's value of control i right after run applied the port's
    // value; NaN before the first.
    float appliedValue(std::size_t control) const { return hostValues_.appliedValue(control); }
    // What run applied of the host's ports and what the host is known to
    // hold, for the panel's UI thread.
    HostValues& hostValues() { return hostValues_; }
    // The control port index of a host parameter; -1 for none.
    int controlOf(std::int32_t parameter) const;

    // The UI thread's one panel; false when another is attached.
    bool attachPanel(PanelLink* panel);
    void detachPanel(PanelLink* panel);

private:
    PluginInstance(const PluginIdentity& identity, AEffect* record);
    static VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, std::int32_t opcode, std::int32_t index,
                                              VstIntPtr value, void* ptr, float opt);
    void applyControlPorts();
    void silenceConnectedOutputs(std::uint32_t frames);

    const PluginIdentity& identity_;
    AEffect* record_;
    std::array<float*, kFirstControlPort> audio_{};
    std::array<const float*, kMaxControlPorts> controls_{};
    // The port values last seen by run, as bits (a NaN never equals itself).
    std::array<std::uint32_t, kMaxControlPorts> seenBits_{};
    std::array<bool, kMaxControlPorts> seen_{};
    HostValues hostValues_;
    std::atomic<bool> active_{false};
    PanelLink* panel_ = nullptr;
};

// The descriptor comes first, so the host's descriptor pointer leads back here.
struct DescribedPlugin {
    LV2_Descriptor descriptor;
    const PluginIdentity* identity;
};
DescribedPlugin describePlugin(const PluginIdentity& identity);

}  // namespace lv2adapter
