// uDoubler.cpp — Widefield's effect and editor.
//
//   ADoublerEditor   rectangle, open/close of the panel, update → refreshPanel
//                    in its eleven steps, hand-over
//   construction     the effect's record values, defaults, latency
//   settings         setParameter / getParameter, commands, ResetAll
//   processing       processReplacing (the full chain), process (accumulating)
//   measurement      end-of-block steps, meter analysis, display clock
#include "stereo/uDoubler.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

#include "platform/Clock.h"
#include "platform/HostProgram.h"
#include "platform/NativeWindow.h"
#include "stereo/ChainKernel.h"
#include "stereo/LatencyStore.h"
#include "stereo/Sections.h"
#include "stereo/StereoMatrix.h"
#include "stereo/StereoPair.h"
#include "stereo/uStereoMeter.h"

namespace widefield {

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
}  // namespace

// ---- ADoublerEditor -----------------------------------------------------------

namespace {
// A slider position for a stored 0..1 setting: round(value x scale), ties to even.
int sliderPosition(float value, double scale) {
    const double scaled = static_cast<double>(value) * scale;
    return std::isfinite(scaled) ? static_cast<int>(std::nearbyint(scaled)) : 0;
}
}  // namespace

ADoublerEditor::ADoublerEditor(AudioEffect* effect, platform::WindowSystem& windows)
    : AEffEditor(effect), windows(windows) {
    if (effect) effect->setEditor(this);
    zoom.requestHostSize = [this](int width, int height) { return controls::requestEditorSize(this->effect, width, height); };
}

ADoublerEditor::~ADoublerEditor() { close(); }

std::int32_t ADoublerEditor::getRect(ERect** rect) {
    editorRect = ERect{0, 0, static_cast<std::int16_t>(zoom.zoomed(kHeight)), static_cast<std::int16_t>(zoom.zoomed(kWidth))};
    if (rect) *rect = &editorRect;
    return 1;
}

std::int32_t ADoublerEditor::open(void* ptr) {
    parentWindow = ptr;
    panelThread.store(std::this_thread::get_id(), kRelaxed);
    refreshRequested.store(false, kRelaxed);
    if (!form) {
        // A fresh panel starts from the present state, not from old deliveries.
        scopeRecords.discard();
        meterRecords.discard();
        form = std::make_unique<TuStereoform>(windows);
        form->effect = getDoubler();
        zoom.attach(*form);
        form->openChildHidden(ptr);
        opened.store(true, kRelaxed);
    }
    // Shown last, with its controls already in line with the effect; a reused
    // panel is shown again.
    refreshPanel();
    form->show();
    return 1;
}

void ADoublerEditor::close() {
    if (!form) return;
    opened.store(false, kRelaxed);
    zoom.detach();
    form.reset();
    parentWindow = nullptr;
}

void ADoublerEditor::idle() {
    if (form) {
        windows.idle();
        // What the audio thread handed over, drawn now (hosts idle at 20 to 50 ms).
        if (form) form->drainDisplays();
    }
    AEffEditor::idle();
}

void ADoublerEditor::update() {
    ADoubler* doubler = getDoubler();
    if (!form || doubler == nullptr) return;
    const bool requested = refreshRequested.load(kRelaxed);
    if (requested) refreshRequested.store(false, kRelaxed);
    if (requested || doubler->isPanelDirty()) refreshPanel();
}

ADoubler* ADoublerEditor::getDoubler() const { return static_cast<ADoubler*>(effect); }

void ADoublerEditor::requestRefresh() {
    refreshRequested.store(true, kRelaxed);
    postUpdate();
}

void ADoublerEditor::refreshPanel() {
    ADoubler* doubler = getDoubler();
    if (!isOpen() || doubler == nullptr) return;
    // The controls belong to the panel's thread; resume may come on any other.
    if (!onPanelThread()) {
        requestRefresh();
        return;
    }
    if (!form) return;
    refreshes.store(refreshes.load(kRelaxed) + 1, kRelaxed);
    refreshControls(*doubler);
}

void ADoublerEditor::refreshControls(ADoubler& doubler) {
    TuStereoform& panel = *form;
    const auto lit = [&](std::int32_t index) { return doubler.getParameter(index) == 1.0f; };
    const auto setting = [&](std::int32_t index) { return doubler.getParameter(index); };
    // Every position that changes fires its slider's handler, which rewrites
    // the label but sends nothing back: the effect keeps what the host set,
    // between the sliders' steps too, and no host hears a rounded value.
    const TuStereoform::FollowingEffect following(panel);
    // 1.
    panel.StereoWidth.setPosition(sliderPosition(setting(ADoubler::kOutputWidth), 100.0));
    panel.Balance.setPosition(sliderPosition(setting(ADoubler::kOutputRotation), 100.0));
    panel.Rotation.setPosition(sliderPosition(setting(ADoubler::kInputRotation), 100.0));
    // 2. The stored delay d reads back as (d + 120) / 240.
    panel.Delay.setPosition(sliderPosition(setting(ADoubler::kDelay), 240.0));
    // 3.
    panel.INVL.setLEDon(lit(ADoubler::kInvertLeft));
    panel.INVR.setLEDon(lit(ADoubler::kInvertRight));
    panel.Mono.setLEDon(lit(ADoubler::kMonoOut));
    panel.Bypass.setLEDon(lit(ADoubler::kBypass));
    // 4.
    panel.setFaders(doubler.gain(false), doubler.gain(true));
    // 5.
    showLatency(doubler.latency());
    // 6.
    panel.MetersOff.setLEDon(lit(ADoubler::kMetersOff));
    panel.Bypass.setLEDon(lit(ADoubler::kBypass));
    panel.ChannelSwap.setLEDon(lit(ADoubler::kSwapChannels));
    // 7.
    panel.Aymmetry.setPosition(sliderPosition(setting(ADoubler::kAsymmetry), 100.0));
    panel.InitWidth.setPosition(sliderPosition(setting(ADoubler::kInputWidth), 100.0));
    panel.centrecut.setPosition(sliderPosition(setting(ADoubler::kCentreCut), 100.0));
    // 8.
    panel.bassFreq.setPosition(100 - sliderPosition(setting(ADoubler::kBassFrequency), 100.0));
    panel.BassLevel.setPosition(100 - sliderPosition(setting(ADoubler::kBassBoost), 100.0));
    panel.BassBypass.setLEDon(lit(ADoubler::kBassOn));
    panel.BassWidth.setPosition(100 - sliderPosition(setting(ADoubler::kBassWidth), 100.0));
    // 9.
    panel.DCfilter.setLEDon(lit(ADoubler::kDcFilter));
    panel.Pseudo.setLEDon(lit(ADoubler::kPseudoStereo));
    // 10.
    doubler.clearPanelDirty();
    // 11.
    panel.flure.setLEDon(doubler.fluorescence());
}

void ADoublerEditor::notifyScope() {
    ADoubler* doubler = getDoubler();
    if (!isOpen() || doubler == nullptr) return;
    scopeRecords.push(ScopeRecord{doubler->scopeReadPosition()});
}

void ADoublerEditor::notifyMeters() {
    ADoubler* doubler = getDoubler();
    if (!isOpen() || doubler == nullptr) return;
    meterRecords.push(doubler->meterReadings());
}

void ADoublerEditor::requestMeterRefresh() {
    if (isOpen()) meterRefreshPending.store(true, std::memory_order_release);
}

void ADoublerEditor::showLatency(std::int32_t ms) {
    if (!isOpen()) return;
    latencyShown.store(ms, kRelaxed);
    if (!onPanelThread()) {
        requestRefresh();
        return;
    }
    if (form) form->showLatency(ms);
}

// ---- Construction ---------------------------------------------------------------

ADoubler::ADoubler(audioMasterCallback audioMaster, const platform::Services& services)
    : AudioEffect(audioMaster, 1, kNumParams),
      clock(services.clock ? services.clock : &platform::systemClock()),
      settings(services.settings ? services.settings : &fallbackSettings),
      hostProgram(services.hostProgram ? services.hostProgram->fileName() : std::string()) {
    // 2. The editor, registered with the base.
    doublerEditor = new ADoublerEditor(this, services.windows ? *services.windows : platform::nativeWindowSystem());
    doublerEditor->panelZoom().choice().attach(settings);
    // 3. How the host sees us.
    setProgram(0);
    setNumInputs(2);
    setNumOutputs(2);
    hasVu(true);
    canProcessReplacing(true);
    canMono(false);
    setUniqueID(fourCharCode('W', 'd', 'F', 'd'));
    // Hosts keep the session through the chunk: the panel-only settings too.
    programsAreChunks(true);
    suspend();
    // 4. Panel-side settings.
    scopeBlockDivider.store(1, kRelaxed);
    meterBlockCounter = 1;
    fluorescenceOn.store(true, kRelaxed);
    panelDirty.store(true, kRelaxed);
    std::strcpy(programName, "Normal");
    // 5. Measurement: the clock is anchored now and again after the first block.
    audioSeen.store(false, kRelaxed);
    resyncPending.store(true, kRelaxed);
    anchorClock();
    // 6. Defaults, then the latency of this host program.
    ResetAll();
    LoadLatency();
    lastWholeSettings = parameters.snapshot();
}

ADoubler::~ADoubler() {
    // The editor and its panel go first, while the effect is still whole; what
    // the dying panel sends the effect finds no editor to notify.
    doublerEditor = nullptr;
    destroyEditor();
}

std::uint32_t ADoubler::now() const { return clock->milliseconds(); }

double ADoubler::processingRate() {
    const double rate = getSampleRate();
    return rate > 0.0 && std::isfinite(rate) ? rate : 44100.0;
}

// ---- Programs and host requests ----------------------------------------------------

void ADoubler::setProgram(std::int32_t) {}

void ADoubler::setProgramName(char* name) {
    // A longer name is shortened to what the field holds.
    copyHostText(programName, name, kProgramNameSize - 1);
}

void ADoubler::getProgramName(char* name) { copyHostText(name, programName, kMaxProgramNameLength); }

float ADoubler::getVu() { return 0.0f; }

void ADoubler::suspend() {}

void ADoubler::resume() {
    // Hosts resume where they restart their transport: no audio of before may follow.
    resetHistory();
    if (doublerEditor) doublerEditor->refreshPanel();
}

// ---- Settings -------------------------------------------------------------------------

void ADoubler::settingChanged() { panelDirty.store(true, kRelaxed); }

void ADoubler::setParameter(std::int32_t index, float value) {
    std::int32_t rounded = 0;
    if (const SettingDescription* setting = findSetting(index)) {
        storeSetting(parameters, *setting, value);
        settingChanged();
    } else {
        switch (index) {
            case kSetScopeBlockDivider:
                if (roundedValue(value, rounded)) scopeBlockDivider.store(rounded, kRelaxed);
                break;
            case kSetFluorescence:
                fluorescenceOn.store(value == 1.0f, kRelaxed);
                settingChanged();  // the lamp follows a host's change too (a chunk, a port)
                break;
            case kSetLatency:
                if (roundedValue(value, rounded)) {
                    latencyMs.store(rounded, kRelaxed);
                    if (doublerEditor) doublerEditor->showLatency(rounded);
                }
                break;
            case kResetPhaseRange: ResetPhaseRange(); break;
            case kResetPeakHolds: ResetPeakHolds(); break;
            case kScaleGains:
                // A factor that is not a finite number would leave gains that are not either.
                if (std::isfinite(value)) {
                    for (std::atomic<float>* g : {&parameters.gainLeft, &parameters.gainRight}) {
                        float scaled = static_cast<float>(static_cast<double>(g->load(kRelaxed)) * value);
                        if (scaled > 2.0f) scaled = 2.0f;
                        if (!(scaled >= 0.0f)) scaled = 0.0f;  // a negative factor: silence, not inverted gains
                        g->store(scaled, kRelaxed);
                    }
                }
                settingChanged();
                if (doublerEditor) doublerEditor->postUpdate();
                break;
            case kRefreshPanel: break;
            case kResync: Resync(); break;
            case kAudioWatchdog: AudioWatchdog(); break;
            case kSaveLatency: SaveLatency(); break;
            case kLoadLatency: LoadLatency(); break;
            case kResetAll: ResetAll(); break;
            default: break;
        }
    }
    // Common last step, whatever the index.
    if (doublerEditor) doublerEditor->postUpdate();
}

float ADoubler::getParameter(std::int32_t index) {
    // The fluorescence switch reads back too, so that every host format can follow it.
    if (index == kSetFluorescence) return fluorescenceOn.load(kRelaxed) ? 1.0f : 0.0f;
    const SettingDescription* setting = findSetting(index);
    return setting ? readSetting(parameters, *setting) : 0.0f;
}

void ADoubler::ResetAll() {
    resetSettings(parameters);
    meters.resetPeakHolds();
    settingChanged();
    if (doublerEditor) doublerEditor->postUpdate();
}

void ADoubler::LoadLatency() {
    latencyMs.store(loadLatency(*settings, hostProgram), kRelaxed);
    settingChanged();
    if (doublerEditor) doublerEditor->postUpdate();
}

void ADoubler::SaveLatency() {
    // A refused write leaves the latency in memory as it is.
    saveLatency(*settings, hostProgram, latencyMs.load(kRelaxed));
}

// ---- Processing -------------------------------------------------------------------------

ADoubler::BlockContext ADoubler::blockContext() {
    // The latency that reaches the display position is what the rings hold at this rate.
    const double rate = processingRate();
    return BlockContext{consistentSettings(), limitedLatency(latencyMs.load(kRelaxed), rate),
                        scopeBlockDivider.load(kRelaxed), rate};
}

BlockSettings ADoubler::consistentSettings() {
    const std::uint32_t before = stateWrites.load(std::memory_order_acquire);
    const BlockSettings settings = parameters.snapshot();
    std::atomic_thread_fence(std::memory_order_acquire);
    if ((before & 1u) != 0 || stateWrites.load(kRelaxed) != before) return lastWholeSettings;
    lastWholeSettings = settings;
    return settings;
}

void ADoubler::processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) {
    if (sampleFrames < 0) sampleFrames = 0;
    if (sampleFrames > 0 && (!inputs || !outputs || !inputs[0] || !inputs[1] || !outputs[0] || !outputs[1])) return;
    // One snapshot for the whole block: a setting that changes while it runs
    // takes effect with the next one.
    takeHistoryReset();
    const BlockContext block = blockContext();
    const BlockSettings& s = block.settings;
    if (!s.bypass && s.bassOn) {
        // New coefficients only for a new crossover or rate.
        const double crossover = 1000.0 * static_cast<double>(s.bassFrequency) + 100.0;
        if (crossover != bassDesignFrequency || block.sampleRate != bassDesignRate) {
            bassCoefficients = BassCoefficients::lowPass(crossover, block.sampleRate);
            bassDesignFrequency = crossover;
            bassDesignRate = block.sampleRate;
        }
    }
    if (sampleFrames > 0) runChain(s, inputs[0], inputs[1], outputs[0], outputs[1], sampleFrames);
    // State that a non-finite sample reached is cleared.
    dcLeft.clearIfNotFinite();
    dcRight.clearIfNotFinite();
    bassLeft.clearIfNotFinite();
    bassRight.clearIfNotFinite();
    delay.clearIfNonFinite(delay.writeIndex, sampleFrames);
    endOfBlock(block, sampleFrames);
}

void ADoubler::runChain(const BlockSettings& s, const float* inL, const float* inR, float* outL, float* outR,
                        std::int32_t sampleFrames) {
    // Section matrices, once per block; identities while bypassed.
    StereoMatrix inputSection, balanceSection, outputSection;
    if (!s.bypass) {
        inputSection = matrixOf(InputSection{s.invertLeft, s.invertRight, s.swapChannels, s.inputWidth,
                                             s.inputRotation});
        balanceSection = matrixOf(BalanceSection{s.centreCut, s.asymmetry});
        outputSection =
            matrixOf(OutputSection{s.outputRotation, s.outputWidth, s.monoOut, s.gainLeft, s.gainRight});
    }
    const ChainBlock chainBlock{PairMatrix(inputSection),
                                PairMatrix(balanceSection),
                                PairMatrix(outputSection),
                                s.bassWidth,
                                s.bassBoost,
                                s.delaySamples,
                                s.bypass,
                                s.dcFilterOn,
                                s.bassOn && bassCoefficients.ready,
                                s.pseudoStereo,
                                !s.metersOff};

    // The block's state in locals (both channels side by side), so the loop
    // keeps it in registers.
    DcFilterPair dc(dcLeft, dcRight);
    BassFilterPair bass(bassCoefficients, bassLeft, bassRight);
    std::int32_t delayIndex = delay.writeIndex;
    std::int32_t scopeIndex = capture.scopeIndex(), sampleIndex = capture.sampleIndex();
    ChainState state{dc, bass, delay, delayIndex, capture, scopeIndex, sampleIndex};
    runChainBlock(chainBlock, state, inL, inR, outL, outR, sampleFrames);

    dc.storeInto(dcLeft, dcRight);
    bass.storeInto(bassLeft, bassRight);
    delay.writeIndex = delayIndex;
    capture.publish(scopeIndex, sampleIndex);
}

void ADoubler::process(float** inputs, float** outputs, std::int32_t sampleFrames) {
    if (sampleFrames < 0) sampleFrames = 0;
    if (sampleFrames > 0 && (!inputs || !outputs || !inputs[0] || !inputs[1] || !outputs[0] || !outputs[1])) return;
    const BlockContext block = blockContext();
    const BlockSettings& s = block.settings;
    std::int32_t scopeIndex = capture.scopeIndex(), sampleIndex = capture.sampleIndex();
    for (std::int32_t i = 0; i < sampleFrames; ++i) {
        float l = inputs[0][i], r = inputs[1][i];
        if (s.invertLeft) l = -l;
        if (s.invertRight) r = -r;
        if (s.monoOut) l = r = static_cast<float>((static_cast<double>(l) + r) * 0.5);
        capture.capture(l, r, scopeIndex, sampleIndex);
        outputs[0][i] = static_cast<float>(static_cast<double>(outputs[0][i]) + l);
        outputs[1][i] = static_cast<float>(static_cast<double>(outputs[1][i]) + r);
    }
    capture.publish(scopeIndex, sampleIndex);
    endOfAccumulatingBlock(block);
}

// ---- Measurement ----------------------------------------------------------------------------

void ADoubler::publishScopePosition(const BlockContext& block) {
    scopeReadIndex.store(
        displayClock.scopePosition(now(), block.latencyMs, block.sampleRate, StereoCapture::kScopeSize), kRelaxed);
    if (doublerEditor) doublerEditor->notifyScope();
}

void ADoubler::takeResyncRequest() {
    if (resyncPending.load(kRelaxed)) {
        resyncPending.store(false, kRelaxed);
        anchorClock();
    }
}

void ADoubler::resetHistory() { historyResetPending.store(true, kRelaxed); }

void ADoubler::takeHistoryReset() {
    if (!historyResetPending.load(kRelaxed)) return;
    historyResetPending.store(false, kRelaxed);
    dcLeft = dcRight = DcFilter{};
    bassLeft = bassRight = BassChannel{};
    delay.clear();
}

void ADoubler::endOfBlock(const BlockContext& block, std::int32_t sampleFrames) {
    audioSeen.store(true, kRelaxed);
    takeResyncRequest();
    if (block.settings.metersOff) return;
    // An empty block has nothing to analyse and does not count.
    if (sampleFrames > 0 && ++meterBlockCounter >= 2) {
        const std::int64_t window = 2 * static_cast<std::int64_t>(sampleFrames);
        analyseMeters(block, window > StereoCapture::kSampleSize ? StereoCapture::kSampleSize
                                                                 : static_cast<std::int32_t>(window));
        meterBlockCounter = 0;
    }
    publishScopePosition(block);
}

void ADoubler::endOfAccumulatingBlock(const BlockContext& block) {
    audioSeen.store(true, kRelaxed);
    takeResyncRequest();
    if (++meterBlockCounter >= block.scopeBlockDivider) {
        publishScopePosition(block);
        meterBlockCounter = 0;
    }
}

void ADoubler::analyseMeters(const BlockContext& block, std::int32_t count) {
    const std::int32_t position =
        displayClock.samplePosition(now(), block.latencyMs, block.sampleRate, StereoCapture::kSampleSize);
    if (!meters.analyse(capture.left(), capture.right(), StereoCapture::kSampleSize, position, count)) return;
    meters.clearIfNotFinite();
    if (doublerEditor) doublerEditor->notifyMeters();
}

// The audio thread's own step (and the constructor's, before any audio): the
// three anchor fields have this one writer.
void ADoubler::anchorClock() { displayClock.anchor(now(), capture.scopeIndex(), capture.sampleIndex()); }

// From the panel's timer: the next block re-anchors. With no audio running
// there is nothing to anchor to.
void ADoubler::Resync() { resyncPending.store(true, kRelaxed); }

void ADoubler::AudioWatchdog() {
    if (!audioSeen.load(kRelaxed)) resyncPending.store(true, kRelaxed);
    audioSeen.store(false, kRelaxed);
}

void ADoubler::ResetPhaseRange() {
    meters.resetPhaseRange();
    if (doublerEditor) doublerEditor->requestMeterRefresh();
}

void ADoubler::ResetPeakHolds() {
    meters.resetPeakHolds();
    if (doublerEditor) doublerEditor->requestMeterRefresh();
}

}  // namespace widefield
