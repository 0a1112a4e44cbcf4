// uDoubler.h — Widefield's effect (ADoubler) and editor (ADoublerEditor).
//
//   ADoubler        the settings the host and the panel share through
//                   setParameter/getParameter (host parameters 0..14, panel-only
//                   settings 15..21, commands 23..150), the processing chain
//                   (processReplacing, and the accumulating process), the capture
//                   for scope and meters, the display clock, the latency per host
//                   program
//   ADoublerEditor  the editor: fixed rectangle, makes the panel (TuStereoform)
//                   on open as a child of the host's window and destroys it on
//                   close, refreshPanel when the effect is dirty (deferred to the
//                   user-interface thread when asked from another), and the
//                   hand-over of scope and meter notifications that the panel
//                   drains on its user-interface thread
//
// Threads: settings are written by the host (either thread) and the panel, read
// by the audio thread once per block (ParameterTable.h); measurements are
// written by the audio thread only and read by the panel, whose resets and
// re-anchoring are requests the audio thread carries out. Every such field is a
// relaxed atomic; the audio thread never locks, allocates or waits.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "controls/PanelZoomControl.h"
#include "framework/DAudioE.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "stereo/BassFilter.h"
#include "stereo/DcFilter.h"
#include "stereo/DisplayClock.h"
#include "stereo/LatencyStore.h"
#include "stereo/MeterReadings.h"
#include "stereo/ParameterTable.h"
#include "stereo/SpscHandover.h"
#include "stereo/StereoCapture.h"
#include "stereo/StereoDelay.h"

namespace platform {
class Clock;
class WindowSystem;
}

namespace widefield {

class ADoubler;
class TuStereoform;

// What notifyScope hands over: the entry of the scope ring to show as newest.
struct ScopeRecord {
    std::int32_t scopeReadIndex = 0;
};

class ADoublerEditor : public AEffEditor {
public:
    static constexpr std::int16_t kWidth = 723;
    static constexpr std::int16_t kHeight = 386;
    // Room for 250 ms of 64-frame blocks at 48 kHz; a full queue drops the newest.
    static constexpr std::size_t kHandoverCapacity = 256;

    ADoublerEditor(AudioEffect* effect, platform::WindowSystem& windows);
    ~ADoublerEditor() override;
    std::int32_t getRect(ERect** rect) override;
    std::int32_t open(void* ptr) override;
    void close() override;
    // The window system's own events and timers first (X11 has no message loop
    // of its own in the host), then the base: one update for pending posts.
    void idle() override;
    void update() override;
    void setHostScale(float scale) override { zoom.choice().setHostScale(scale); }
    // The panel's zoom: its choice, the open panel's zoom and menu.
    controls::PanelZoomControl& panelZoom() { return zoom; }
    ADoubler* getDoubler() const;

    bool isOpen() const { return opened.load(std::memory_order_relaxed); }
    void* getParentWindow() const { return parentWindow; }
    // The panel while open; user-interface thread only.
    TuStereoform* getForm() const { return form.get(); }

    // Copies the effect's state into the panel and clears panelDirty; nothing
    // while closed. Called on another thread than the panel's, it only asks the
    // next update to do it.
    void refreshPanel();
    std::uint32_t refreshCount() const { return refreshes.load(std::memory_order_relaxed); }

    // Audio thread: publish the latest values while the editor is open.
    void notifyScope();
    void notifyMeters();
    // Control thread (reset commands): the panel shows the present readings at
    // its next drain; a flag, so the audio thread stays the queue's one producer.
    void requestMeterRefresh();
    // The latency the panel shows (SetLatency).
    void showLatency(std::int32_t ms);
    std::int32_t shownLatency() const { return latencyShown.load(std::memory_order_relaxed); }

    // User-interface thread: hand every waiting record to sink, in order.
    template <class Sink>
    std::size_t drainScope(Sink&& sink) {
        return scopeRecords.drain(sink);
    }
    template <class Sink>
    std::size_t drainMeters(Sink&& sink);

private:
    bool onPanelThread() const { return panelThread.load(std::memory_order_relaxed) == std::this_thread::get_id(); }
    // Defers a refresh to the next update on the panel's thread.
    void requestRefresh();
    void refreshControls(ADoubler& doubler);

    ERect editorRect{};
    void* parentWindow = nullptr;
    platform::WindowSystem& windows;
    std::unique_ptr<TuStereoform> form;
    controls::PanelZoomControl zoom{"Widefield"};
    std::atomic<std::thread::id> panelThread{};
    std::atomic<bool> refreshRequested{false};
    std::atomic<bool> opened{false};
    std::atomic<bool> meterRefreshPending{false};
    std::atomic<std::uint32_t> refreshes{0};
    std::atomic<std::int32_t> latencyShown{0};
    SpscHandover<ScopeRecord, kHandoverCapacity> scopeRecords;
    SpscHandover<MeterReadings, kHandoverCapacity> meterRecords;
};

// The indices (ParameterIndex) are the effect's own: ADoubler::kBypass and so on.
class ADoubler : public AudioEffect, public ParameterIndex {
public:
    static constexpr std::int32_t kNumParams = 15;
    static constexpr std::size_t kProgramNameSize = 32;  // 31 characters and the zero

    explicit ADoubler(audioMasterCallback audioMaster, const platform::Services& services = platform::defaultServices());
    ~ADoubler() override;

    void process(float** inputs, float** outputs, std::int32_t sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) override;
    void setProgram(std::int32_t program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    float getVu() override;
    void suspend() override;
    void resume() override;
    void setParameter(std::int32_t index, float value) override;
    float getParameter(std::int32_t index) override;
    // Host texts and automation of the host parameters (ParameterTexts.cpp).
    void getParameterName(std::int32_t index, char* text) override;
    void getParameterLabel(std::int32_t index, char* label) override;
    void getParameterDisplay(std::int32_t index, char* text) override;
    std::int32_t canBeAutomated(std::int32_t index) override;
    // The whole session state as one chunk (StateChunk.cpp); not on the audio thread.
    std::int32_t getChunk(void** data, bool isPreset) override;
    std::int32_t setChunk(void* data, std::int32_t byteSize, bool isPreset) override;

    // Commands (also reached through setParameter).
    void ResetAll();
    void LoadLatency();
    void SaveLatency();
    void ResetPhaseRange();
    void ResetPeakHolds();
    // Asks for a re-anchoring of the display clock at the end of the next block.
    void Resync();
    void AudioWatchdog();
    // Any thread (resume): the next block starts with silent delay rings and
    // filters, as a fresh effect does; the settings stay.
    void resetHistory();

    // What the editor and the panel read.
    ADoublerEditor* getDoublerEditor() const { return doublerEditor; }
    bool isPanelDirty() const { return panelDirty.load(std::memory_order_relaxed); }
    void clearPanelDirty() { panelDirty.store(false, std::memory_order_relaxed); }
    std::int32_t latency() const { return latencyMs.load(std::memory_order_relaxed); }
    bool fluorescence() const { return fluorescenceOn.load(std::memory_order_relaxed); }
    std::int32_t scopeDivider() const { return scopeBlockDivider.load(std::memory_order_relaxed); }
    const std::string& hostProgramName() const { return hostProgram; }
    const ScopePoint* scopePoints() const { return capture.points(); }
    std::int32_t scopeReadPosition() const { return scopeReadIndex.load(std::memory_order_relaxed); }
    std::int32_t scopeWritePosition() const { return capture.scopeIndex(); }
    std::int32_t sampleWritePosition() const { return capture.sampleIndex(); }
    MeterReadings meterReadings() const { return meters.snapshot(); }
    // The peak-hold resets asked for so far (MeterReadings::peakHoldResets).
    std::uint32_t peakHoldResetsAsked() const { return meters.peakHoldResetsAsked(); }
    float gain(bool right) const {
        return (right ? parameters.gainRight : parameters.gainLeft).load(std::memory_order_relaxed);
    }

private:
    // What a block runs on: every setting as it was when the block started.
    struct BlockContext {
        BlockSettings settings;
        std::int32_t latencyMs;
        std::int32_t scopeBlockDivider;
        double sampleRate;
    };
    BlockContext blockContext();
    // The settings as one whole: the last snapshot taken while no chunk was being applied.
    BlockSettings consistentSettings();
    void runChain(const BlockSettings& s, const float* inL, const float* inR, float* outL, float* outR,
                  std::int32_t sampleFrames);
    void endOfBlock(const BlockContext& block, std::int32_t sampleFrames);
    void endOfAccumulatingBlock(const BlockContext& block);
    void takeResyncRequest();
    void takeHistoryReset();
    void anchorClock();
    void analyseMeters(const BlockContext& block, std::int32_t count);
    void settingChanged();
    void publishScopePosition(const BlockContext& block);
    double processingRate();
    std::uint32_t now() const;

    // Settings (written by host and panel, read by the audio thread once per block).
    StereoSettings parameters;
    std::atomic<bool> fluorescenceOn{false};
    std::atomic<std::int32_t> latencyMs{kDefaultLatencyMs};
    std::atomic<std::int32_t> scopeBlockDivider{0};
    std::atomic<bool> panelDirty{false};
    char programName[kProgramNameSize] = {};
    // Odd while setChunk applies a chunk; the audio thread keeps its last
    // whole snapshot meanwhile.
    std::atomic<std::uint32_t> stateWrites{0};
    BlockSettings lastWholeSettings{};
    // The bytes getChunk handed out, valid until the next getChunk or close.
    std::vector<std::uint8_t> chunk;

    // Processing state (audio thread).
    DcFilter dcLeft, dcRight;
    BassCoefficients bassCoefficients;
    double bassDesignFrequency = -1.0, bassDesignRate = -1.0;  // what bassCoefficients were made for
    BassChannel bassLeft, bassRight;
    StereoDelay delay;

    // Measurement.
    StereoCapture capture;
    MeterAnalysis meters;
    DisplayClock displayClock;
    std::atomic<std::int32_t> scopeReadIndex{0};
    // resyncPending is a request from any thread; only the audio thread anchors
    // the clock (at the end of a block), so the anchor's fields are never torn.
    std::atomic<bool> audioSeen{false}, resyncPending{false};
    // A request from any thread; the audio thread owns the history it clears.
    std::atomic<bool> historyResetPending{false};
    std::int32_t meterBlockCounter = 0;

    // Services.
    const platform::Clock* clock;
    platform::SettingsStore* settings;
    platform::MemorySettingsStore fallbackSettings;
    std::string hostProgram;
    ADoublerEditor* doublerEditor = nullptr;
};

template <class Sink>
std::size_t ADoublerEditor::drainMeters(Sink&& sink) {
    std::size_t count = meterRecords.drain(sink);
    // Taken in one step: a request that arrives meanwhile is answered now or
    // at the next drain, never lost.
    if (meterRefreshPending.exchange(false, std::memory_order_acq_rel)) {
        if (ADoubler* doubler = getDoubler()) {
            sink(doubler->meterReadings());
            ++count;
        }
    }
    return count;
}

}  // namespace widefield
