// uDoubler.cpp — Tonemark's effect and editor.
//
//   ADoublerEditor  size, open state, the analysis pump, the panel hooks
//   ADoubler        construction, process functions, activity and watchdog,
//                   settings, programs, sample rate, the detector's entry points
#include "tuner/uDoubler.h"

#include <cmath>
#include <cstring>

#include "platform/Clock.h"
#include "platform/NativeWindow.h"
#include "tuner/uFFT.h"

namespace tonemark {

// ---- ADoublerEditor -----------------------------------------------------------

ADoublerEditor::ADoublerEditor(AudioEffect* effect, platform::Clock& clock, platform::WindowSystem& windows)
    : AEffEditor(effect), clock(clock), windows(windows) {
    effect->setEditor(this);
    zoom.requestHostSize = [this](int width, int height) { return controls::requestEditorSize(this->effect, width, height); };
}

ADoublerEditor::~ADoublerEditor() { close(); }

std::int32_t ADoublerEditor::getRect(ERect** rect) {
    if (rect == nullptr) return 0;
    // The live panel's size; its design size before the panel exists; both zoomed.
    editorRect = ERect{0, 0, static_cast<std::int16_t>(zoom.zoomed(form ? form->height() : kPanelHeight)),
                       static_cast<std::int16_t>(zoom.zoomed(form ? form->width() : kPanelWidth))};
    *rect = &editorRect;
    return 1;
}

std::int32_t ADoublerEditor::open(void* ptr) {
    parentWindow = ptr;
    if (!form) {
        form = std::make_unique<TuFFTForm>(windows);
        form->effect = getDoubler();
        zoom.attach(*form);
        form->openChildHidden(ptr);
    }
    // The controls in line first, so the panel shows complete; a reused
    // panel is shown again.
    controlsStale.store(false, std::memory_order_relaxed);
    refreshControls();
    form->show();
    postUpdate();
    return 1;
}

void ADoublerEditor::close() {
    if (!form) return;
    zoom.detach();
    form.reset();
    parentWindow = nullptr;
}

void ADoublerEditor::idle() {
    if (form) windows.idle();
    AEffEditor::idle();
}

void ADoublerEditor::update() {
    // Settings changed on another thread reach the controls here, first.
    if (form && controlsStale.load(std::memory_order_relaxed)) {
        controlsStale.store(false, std::memory_order_relaxed);
        refreshControls();
    }
    // 1. to 5. One analysis at most per 60 ms while the panel is open and audio
    // arrives; re-armed every turn until the audio goes stale.
    const std::uint32_t now = clock.milliseconds();
    ADoubler* doubler = getDoubler();
    if (!form || doubler == nullptr) return;
    if (doubler->isAudioStale()) return;
    if (static_cast<std::int32_t>(now - lastAnalysisTime) >= kAnalysisSpacing) {
        doubler->analyze();
        lastAnalysisTime = now;
    }
    postUpdate();
}

ADoubler* ADoublerEditor::getDoubler() const { return static_cast<ADoubler*>(effect); }

void ADoublerEditor::refreshControls() {
    ADoubler* doubler = getDoubler();
    if (!form || doubler == nullptr) return;
    form->setControls(doubler->getReferencePitch(), doubler->getAccuracy());
}

void ADoublerEditor::showReading() {
    ADoubler* doubler = getDoubler();
    if (!form || doubler == nullptr) return;
    form->ShowReading(doubler->getDetectedFrequency(), doubler->getNoReading());
}

// ---- ADoubler: construction and host requests -----------------------------------

namespace {

platform::Clock& clockOf(const platform::Services& services) {
    return services.clock ? *services.clock : platform::systemClock();
}

platform::WindowSystem& windowsOf(const platform::Services& services) {
    return services.windows ? *services.windows : platform::nativeWindowSystem();
}

// A parameter value as a whole setting, halves to even; false for a value that
// is not finite or lies beyond the 32-bit range, which then changes nothing.
bool wholeSetting(float value, std::int32_t& result) {
    const double rounded = std::nearbyint(static_cast<double>(value));
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return false;
    result = static_cast<std::int32_t>(rounded);
    return true;
}

}  // namespace

ADoubler::ADoubler(audioMasterCallback audioMaster, const platform::Services& services)
    : AudioEffect(audioMaster, 1, 2) {
    auto* editor = new ADoublerEditor(this, clockOf(services), windowsOf(services));
    editor->panelZoom().choice().attach(services.settings);
    setProgram(0);
    setNumInputs(2);
    setNumOutputs(2);
    hasVu(true);
    canProcessReplacing(true);
    canMono(true);
    setUniqueID(fourCharCode('u', 'F', 'F', 'T'));
    suspend();
    // The base rate (44100) until the host tells otherwise: the classic low-pass.
    setAnalysisSetting(getSampleRate(), designDecimationLowPass(44100.0).factor);
    configureAccuracy();
    if (ADoublerEditor* ed = getDoublerEditor()) ed->postUpdate();
}

ADoubler::~ADoubler() { destroyEditor(); }

ADoublerEditor* ADoubler::getDoublerEditor() const { return static_cast<ADoublerEditor*>(editor); }

void ADoubler::setProgram(std::int32_t) {}

void ADoubler::setProgramName(char* name) {
    if (name == nullptr) return;
    // Cut to the 31 characters the field holds.
    std::size_t length = 0;
    while (length < sizeof programName - 1 && name[length] != '\0') ++length;
    std::memcpy(programName, name, length);
    programName[length] = '\0';
}

void ADoubler::getProgramName(char* name) { copyHostText(name, programName, kMaxProgramNameLength); }

float ADoubler::getVu() { return 0.0f; }

void ADoubler::setSampleRate(float newSampleRate) {
    AudioEffect::setSampleRate(newSampleRate);
    followSampleRate(newSampleRate);
}

void ADoubler::followSampleRate(float rate) {
    // Rates outside the supported range (or not numbers) keep the previous design.
    if (!isSupportedSampleRate(rate)) return;
    if (rate == analysisSetting().rate) return;
    const DecimationCoefficients coefficients = designDecimationLowPass(rate);
    lowPass.setCoefficients(coefficients);
    setAnalysisSetting(rate, coefficients.factor);
}

ADoubler::AnalysisSetting ADoubler::analysisSetting() const {
    const std::uint64_t word = analysisWord.load(std::memory_order_relaxed);
    AnalysisSetting setting;
    const std::uint32_t rateBits = static_cast<std::uint32_t>(word >> 32);
    std::memcpy(&setting.rate, &rateBits, sizeof rateBits);
    setting.factor = static_cast<std::int32_t>(static_cast<std::uint32_t>(word));
    return setting;
}

void ADoubler::setAnalysisSetting(float rate, std::int32_t factor) {
    std::uint32_t rateBits = 0;
    std::memcpy(&rateBits, &rate, sizeof rateBits);
    analysisWord.store((static_cast<std::uint64_t>(rateBits) << 32) | static_cast<std::uint32_t>(factor),
                       std::memory_order_relaxed);
}

void ADoubler::suspend() {}

void ADoubler::resume() {
    followSampleRate(getSampleRate());
    // Hosts resume where they restart their transport: the next reading
    // starts from what plays from now on.
    resetHistory();
    if (ADoublerEditor* ed = getDoublerEditor()) {
        ed->markControlsStale();
        ed->postUpdate();
    }
}

void ADoubler::setParameter(std::int32_t index, float value) {
    ADoublerEditor* ed = getDoublerEditor();
    std::int32_t v = 0;
    switch (index) {
        case 0:
            if (!wholeSetting(value, v) || v == referencePitch.load(std::memory_order_relaxed)) return;
            referencePitch.store(v, std::memory_order_relaxed);
            break;
        case 1:
            if (!wholeSetting(value, v) || v == accuracy.load(std::memory_order_relaxed)) return;
            accuracy.store(v, std::memory_order_relaxed);
            // The detector is reconfigured by the thread that measures, before
            // its next measurement: this call may come from any host thread.
            accuracyPending.store(true, std::memory_order_release);
            break;
        case kRequestUpdate:
            if (ed) ed->postUpdate();
            return;
        case kAudioWatchdog: watchdogStep(); return;
        default: return;
    }
    if (ed) {
        ed->markControlsStale();
        ed->postUpdate();
    }
}

float ADoubler::getParameter(std::int32_t index) {
    if (index == 0) return static_cast<float>(referencePitch.load(std::memory_order_relaxed));
    if (index == 1) return static_cast<float>(accuracy.load(std::memory_order_relaxed));
    return 0.0f;
}

// ---- ADoubler: audio thread ---------------------------------------------------------

void ADoubler::process(float** inputs, float** outputs, std::int32_t sampleFrames) {
    passThrough(inputs, outputs, sampleFrames, true);
    activityStep();
}

void ADoubler::processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) {
    passThrough(inputs, outputs, sampleFrames, false);
    activityStep();
}

void ADoubler::passThrough(float** inputs, float** outputs, std::int32_t sampleFrames, bool accumulating) {
    if (sampleFrames <= 0 || !inputs || !outputs) return;
    takeHistoryReset();
    lowPass.process(inputs[0], sampleFrames, decimatedRing);
    const float* in0 = inputs[0];
    const float* in1 = inputs[1];
    float* out0 = outputs[0];
    float* out1 = outputs[1];
    // A host may hand any output the memory of any input (crosswise too): both
    // inputs of a frame are read before either output is written.
    for (std::int32_t i = 0; i < sampleFrames; ++i) {
        const float left = in0[i], right = in1[i];
        out0[i] = accumulating ? out0[i] + left : left;
        out1[i] = accumulating ? out1[i] + right : right;
    }
}

void ADoubler::resetHistory() { historyResetPending.store(true, std::memory_order_relaxed); }

void ADoubler::takeHistoryReset() {
    if (!historyResetPending.load(std::memory_order_relaxed)) return;
    historyResetPending.store(false, std::memory_order_relaxed);
    lowPass.clearHistory();
    decimatedRing.clear();
}

void ADoubler::activityStep() {
    audioSeen.store(true, std::memory_order_relaxed);
    if (audioStale.load(std::memory_order_relaxed)) {
        audioStale.store(false, std::memory_order_relaxed);
        if (ADoublerEditor* ed = getDoublerEditor()) ed->postUpdate();
    }
}

void ADoubler::watchdogStep() {
    if (!audioSeen.load(std::memory_order_relaxed)) {
        // The panel darkens its lamp when its timer sees this (its own thread).
        audioStale.store(true, std::memory_order_relaxed);
    }
    audioSeen.store(false, std::memory_order_relaxed);
}

// ---- ADoubler: detector (user-interface thread) ------------------------------------

void ADoubler::configureAccuracy() { detector.configureAccuracy(accuracy.load(std::memory_order_relaxed)); }

void ADoubler::buildWindow() { detector.buildWindow(); }

void ADoubler::computeSpectrum(std::int32_t endIndex, std::int32_t count) {
    detector.computeSpectrum(decimatedRing, endIndex, count);
}

PitchReading ADoubler::measure() {
    if (accuracyPending.load(std::memory_order_acquire)) {
        accuracyPending.store(false, std::memory_order_relaxed);
        configureAccuracy();
    }
    const AnalysisSetting setting = analysisSetting();
    // At a rate the decimation cannot follow the ring holds another rate's
    // samples: no reading (the lamp goes out) rather than a wrong note.
    const PitchReading reading = isSupportedSampleRate(getSampleRate())
                                     ? detector.measure(decimatedRing, setting.rate, setting.factor)
                                     : PitchReading{};
    detectedFrequency.store(reading.frequency, std::memory_order_relaxed);
    noReading.store(reading.noReading, std::memory_order_relaxed);
    return reading;
}

void ADoubler::analyze() {
    ADoublerEditor* ed = getDoublerEditor();
    if (ed == nullptr || !ed->isOpen()) return;
    measure();
    ed->showReading();
}

}  // namespace tonemark
