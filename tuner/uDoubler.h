// uDoubler.h — Tonemark's effect (ADoubler) and editor (ADoublerEditor).
//
//   ADoublerEditor  makes and destroys the panel (TuFFTForm) on open and close,
//                   reports its size, runs the 60 ms analysis pump from the host's
//                   idle requests and brings the panel in line with the effect
//   ADoubler        stereo pass-through, the decimation chain into the ring, the
//                   reference pitch and accuracy settings, the audio watchdog and
//                   the pitch detector's reading
//
// Threads: process calls run on the audio thread and touch only the low-pass
// state, the ring and the activity flags. Settings, the detector and the editor
// belong to the host's control thread and the user-interface thread. Every value
// shared between the two sides is a relaxed atomic. The panel's widgets belong to
// the thread that opened the editor: a setting changed on any other thread only
// marks the controls stale, and the next update refreshes them there.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/DAudioE.h"
#include "controls/PanelZoomControl.h"
#include "platform/Services.h"
#include "tuner/DecimatedRing.h"
#include "tuner/DecimationLowPass.h"
#include "tuner/PitchDetector.h"

namespace platform {
class Clock;
class WindowSystem;
}

namespace tonemark {

class ADoubler;
class TuFFTForm;

class ADoublerEditor : public AEffEditor {
public:
    static constexpr std::int16_t kPanelHeight = 141;
    static constexpr std::int16_t kPanelWidth = 444;
    static constexpr std::int32_t kAnalysisSpacing = 60;  // milliseconds between analyses

    ADoublerEditor(AudioEffect* effect, platform::Clock& clock, platform::WindowSystem& windows);
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
    // The panel's controls from the effect's settings; user-interface thread only.
    void refreshControls();
    // The effect's latest reading on the panel; user-interface thread only.
    void showReading();
    // Any thread: the controls are refreshed at the start of the next update.
    void markControlsStale() { controlsStale.store(true, std::memory_order_relaxed); }

    bool isOpen() const { return form != nullptr; }
    TuFFTForm* getForm() const { return form.get(); }
    void* getParentWindow() const { return parentWindow; }
    std::uint32_t getLastAnalysisTime() const { return lastAnalysisTime; }
    bool updatePending() const { return updateFlag.load(std::memory_order_relaxed) != 0; }

private:
    ERect editorRect{};
    std::unique_ptr<TuFFTForm> form;
    controls::PanelZoomControl zoom{"Tonemark"};
    void* parentWindow = nullptr;
    platform::Clock& clock;
    platform::WindowSystem& windows;
    std::uint32_t lastAnalysisTime = 0;
    std::atomic<bool> controlsStale{false};
};

class ADoubler : public AudioEffect {
public:
    // The host's two parameters, in their own units (hertz, setting number).
    static constexpr std::int32_t kReferencePitch = 0;
    static constexpr std::int32_t kAccuracy = 1;
    // Panel commands on setParameter, above the host's two parameters.
    static constexpr std::int32_t kRequestUpdate = 100;
    static constexpr std::int32_t kAudioWatchdog = 101;

    explicit ADoubler(audioMasterCallback audioMaster, const platform::Services& services = platform::defaultServices());
    // The editor and its panel go first, while the effect is still whole.
    ~ADoubler() override;
    void process(float** inputs, float** outputs, std::int32_t sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) override;
    void setProgram(std::int32_t program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    float getVu() override;
    void setSampleRate(float newSampleRate) override;
    void suspend() override;
    void resume() override;
    void setParameter(std::int32_t index, float value) override;
    float getParameter(std::int32_t index) override;
    // Host texts of the two parameters (ParameterTexts.cpp).
    void getParameterName(std::int32_t index, char* text) override;
    void getParameterLabel(std::int32_t index, char* label) override;
    void getParameterDisplay(std::int32_t index, char* text) override;
    // Both settings and the program name as one chunk (StateChunk.cpp).
    std::int32_t getChunk(void** data, bool isPreset) override;
    std::int32_t setChunk(void* data, std::int32_t byteSize, bool isPreset) override;

    // The detector (user-interface thread).
    void buildWindow();
    void computeSpectrum(std::int32_t endIndex, std::int32_t count);
    // One measurement, only while the editor's panel is open; ends with showReading.
    void analyze();
    // The measurement itself, whatever the panel: first a new accuracy's
    // configuration, then the reading, stored and returned.
    PitchReading measure();
    // Any thread (resume): the next block starts with a silent decimation
    // filter and ring, as a fresh effect does; the settings stay.
    void resetHistory();

    ADoublerEditor* getDoublerEditor() const;
    float getDetectedFrequency() const { return detectedFrequency.load(std::memory_order_relaxed); }
    float getNoReading() const { return noReading.load(std::memory_order_relaxed); }
    std::int32_t getReferencePitch() const { return referencePitch.load(std::memory_order_relaxed); }
    std::int32_t getAccuracy() const { return accuracy.load(std::memory_order_relaxed); }
    bool isAudioStale() const { return audioStale.load(std::memory_order_relaxed); }
    bool isAudioSeen() const { return audioSeen.load(std::memory_order_relaxed); }
    float getAnalysisRate() const { return analysisSetting().rate; }
    std::int32_t getDecimationFactor() const { return analysisSetting().factor; }
    const DecimatedRing& getRing() const { return decimatedRing; }
    const PitchDetector& getDetector() const { return detector; }
    const DecimationLowPass& getLowPass() const { return lowPass; }

private:
    // The detector's thread only: measure() calls it before a measurement.
    void configureAccuracy();
    void activityStep();
    void takeHistoryReset();
    // Both process calls: the input's pass-through and its way into the ring.
    void passThrough(float** inputs, float** outputs, std::int32_t sampleFrames, bool accumulating);
    void watchdogStep();
    // Host or control thread: the detector and the low-pass follow a new rate.
    void followSampleRate(float rate);

    DecimatedRing decimatedRing;
    PitchDetector detector;
    DecimationLowPass lowPass;
    // The rate the ring's filter was designed for and its decimation factor, in
    // one word: the detector never pairs a rate with another rate's factor.
    struct AnalysisSetting {
        float rate;
        std::int32_t factor;
    };
    AnalysisSetting analysisSetting() const;
    void setAnalysisSetting(float rate, std::int32_t factor);
    std::atomic<std::uint64_t> analysisWord{0};
    char programName[32] = "Normal";
    std::vector<std::uint8_t> chunk;  // what getChunk handed out
    std::atomic<float> detectedFrequency{0.0f};
    std::atomic<float> noReading{1.0f};
    std::atomic<bool> audioSeen{false};
    std::atomic<bool> audioStale{true};
    // A request from any thread; the audio thread owns the history it clears.
    std::atomic<bool> historyResetPending{false};
    std::atomic<std::int32_t> referencePitch{440};
    std::atomic<std::int32_t> accuracy{1};
    // Set with a new accuracy, taken (with the configuration) by the next measure.
    std::atomic<bool> accuracyPending{false};
};

}  // namespace tonemark
