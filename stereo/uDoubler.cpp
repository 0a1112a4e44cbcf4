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
#include <initializer_list>
#include <cstring>

#include "platform/Clock.h"
#include "platform/HostProgram.h"
#include "platform/NativeWindow.h"
#include "stereo/LatencyStore.h"
#include "stereo/Sections.h"
#include "stereo/StereoMatrix.h"
#include "stereo/StereoPair.h"
#include "stereo/uStereoMeter.h"

namespace widefield {

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;

bool isOn(float value) { return value == 1.0f; }
float onOff(const std::atomic<bool>& value) { return value.load(kRelaxed) ? 1.0f : 0.0f; }

// round(value) within the int32 range; false for NaN and infinities, which
// leave the setting as it is.
bool roundedValue(double value, std::int32_t& result) {
    if (!std::isfinite(value)) return false;
    const double r = std::nearbyint(value);
    result = r <= -2147483648.0 ? INT32_MIN : (r >= 2147483647.0 ? INT32_MAX : static_cast<std::int32_t>(r));
    return true;
}
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
}

ADoublerEditor::~ADoublerEditor() { close(); }

std::int32_t ADoublerEditor::getRect(ERect** rect) {
    editorRect = ERect{0, 0, kHeight, kWidth};
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
        opened.store(true, kRelaxed);
        refreshPanel();
        // Shown last, with its controls already in line with the effect.
        form->openChild(ptr);
    } else {
        refreshPanel();
        if (form->window()) form->window()->show();
    }
    return 1;
}

void ADoublerEditor::close() {
    if (!form) return;
    opened.store(false, kRelaxed);
    form.reset();
    parentWindow = nullptr;
}

void ADoublerEditor::idle() {
    if (form) windows.idle();
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
    // Every position that changes fires its slider's handler, which sends the
    // value back rounded to the slider's grid; step 10 then clears the dirty
    // mark those sends set, so the exchange ends after this one pass.
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
    if (isOpen()) meterRefreshPending.store(true, kRelaxed);
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
    // 3. How the host sees us.
    setProgram(0);
    setNumInputs(2);
    setNumOutputs(2);
    hasVu(true);
    canProcessReplacing(true);
    canMono(false);
    setUniqueID(fourCharCode('W', 'd', 'F', 'd'));
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
    displayClock.anchor(now(), 0, 0);
    // 6. Defaults, then the latency of this host program.
    ResetAll();
    LoadLatency();
}

ADoubler::~ADoubler() = default;

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
    if (doublerEditor) doublerEditor->refreshPanel();
}

// ---- Settings -------------------------------------------------------------------------

void ADoubler::settingChanged() { panelDirty.store(true, kRelaxed); }

void ADoubler::setParameter(std::int32_t index, float value) {
    auto setSwitch = [&](std::atomic<bool>& field) {
        field.store(isOn(value), kRelaxed);
        settingChanged();
    };
    // A continuous setting keeps its 0..1 range; NaN and infinities leave it as it is.
    auto setFloat = [&](std::atomic<float>& field, float scale) {
        if (std::isfinite(value)) {
            const float limited = value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
            field.store(static_cast<float>(scale * limited), kRelaxed);
        }
        settingChanged();
    };
    std::int32_t rounded = 0;
    switch (index) {
        case kInvertLeft: setSwitch(invertLeft); break;
        case kInvertRight: setSwitch(invertRight); break;
        case kMonoOut: setSwitch(monoOut); break;
        case kOutputWidth: setFloat(outputWidth, 1.0f); break;
        case kInputRotation: setFloat(inputRotation, 1.0f); break;
        case kOutputRotation: setFloat(outputRotation, 1.0f); break;
        case kCentreCut: setFloat(centreCut, 1.0f); break;
        case kBypass: setSwitch(bypass); break;
        case kDelay:
            // A value outside 0..1 would reach beyond the delay rings: limited to
            // +-120 samples; NaN and infinities change nothing.
            if (roundedValue(240.0 * static_cast<double>(value), rounded)) {
                std::int64_t d = static_cast<std::int64_t>(rounded) - 120;
                if (d < -StereoDelay::kMaxDelay) d = -StereoDelay::kMaxDelay;
                if (d > StereoDelay::kMaxDelay) d = StereoDelay::kMaxDelay;
                delaySamples.store(static_cast<std::int32_t>(d), kRelaxed);
            }
            settingChanged();
            break;
        case kGainLeft: setFloat(gainLeft, 2.0f); break;
        case kGainRight: setFloat(gainRight, 2.0f); break;
        case kMetersOff: setSwitch(metersOff); break;
        case kSwapChannels: setSwitch(swapChannels); break;
        case kDcFilter: setSwitch(dcFilterOn); break;
        case kAsymmetry: setFloat(asymmetry, 1.0f); break;
        case kInputWidth: setFloat(inputWidth, 1.0f); break;
        case kBassOn: setSwitch(bassOn); break;
        case kBassFrequency: setFloat(bassFrequency, 1.0f); break;
        case kBassBoost: setFloat(bassBoost, 1.0f); break;
        case kBassWidth: setFloat(bassWidth, 1.0f); break;
        case kPseudoStereo: setSwitch(pseudoStereo); break;
        case kSetScopeBlockDivider:
            if (roundedValue(value, rounded)) scopeBlockDivider.store(rounded, kRelaxed);
            break;
        case kSetFluorescence: fluorescenceOn.store(isOn(value), kRelaxed); break;
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
                for (std::atomic<float>* g : {&gainLeft, &gainRight}) {
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
    // Common last step, whatever the index.
    if (doublerEditor) doublerEditor->postUpdate();
}

float ADoubler::getParameter(std::int32_t index) {
    switch (index) {
        case kInvertLeft: return onOff(invertLeft);
        case kInvertRight: return onOff(invertRight);
        case kMonoOut: return onOff(monoOut);
        case kOutputWidth: return outputWidth.load(kRelaxed);
        case kInputRotation: return inputRotation.load(kRelaxed);
        case kOutputRotation: return outputRotation.load(kRelaxed);
        case kCentreCut: return centreCut.load(kRelaxed);
        case kBypass: return onOff(bypass);
        case kDelay: return static_cast<float>((delaySamples.load(kRelaxed) + 120) / 240.0);
        case kGainLeft: return static_cast<float>(gainLeft.load(kRelaxed) / 2.0);
        case kGainRight: return static_cast<float>(gainRight.load(kRelaxed) / 2.0);
        case kMetersOff: return onOff(metersOff);
        case kSwapChannels: return onOff(swapChannels);
        case kDcFilter: return onOff(dcFilterOn);
        case kAsymmetry: return asymmetry.load(kRelaxed);
        case kInputWidth: return inputWidth.load(kRelaxed);
        case kBassOn: return onOff(bassOn);
        case kBassFrequency: return bassFrequency.load(kRelaxed);
        case kBassBoost: return bassBoost.load(kRelaxed);
        case kBassWidth: return bassWidth.load(kRelaxed);
        case kPseudoStereo: return onOff(pseudoStereo);
        default: return 0.0f;
    }
}

void ADoubler::ResetAll() {
    for (std::atomic<float>* half : {&outputWidth, &outputRotation, &inputRotation, &asymmetry, &inputWidth, &centreCut})
        half->store(0.5f, kRelaxed);
    delaySamples.store(0, kRelaxed);
    bassFrequency.store(0.1f, kRelaxed);
    bassBoost.store(0.0f, kRelaxed);
    bassWidth.store(0.5f, kRelaxed);
    gainLeft.store(1.0f, kRelaxed);
    gainRight.store(1.0f, kRelaxed);
    meters.resetPeakHolds();
    for (std::atomic<bool>* off : {&invertLeft, &invertRight, &monoOut, &bypass, &metersOff, &bassOn, &dcFilterOn,
                                   &pseudoStereo, &swapChannels})
        off->store(false, kRelaxed);
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

void ADoubler::processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) {
    if (sampleFrames < 0) sampleFrames = 0;
    if (sampleFrames > 0 && (!inputs || !outputs || !inputs[0] || !inputs[1] || !outputs[0] || !outputs[1])) return;

    // Section matrices, once per block; identities while bypassed.
    StereoMatrix inputSection, balanceSection, outputSection;
    if (!bypass.load(kRelaxed)) {
        InputSection input{invertLeft.load(kRelaxed), invertRight.load(kRelaxed), swapChannels.load(kRelaxed),
                           inputWidth.load(kRelaxed), inputRotation.load(kRelaxed)};
        inputSection = matrixOf(input);
        if (bassOn.load(kRelaxed))
            bassCoefficients =
                BassCoefficients::lowPass(1000.0 * static_cast<double>(bassFrequency.load(kRelaxed)) + 100.0,
                                          processingRate());
        balanceSection = matrixOf(BalanceSection{centreCut.load(kRelaxed), asymmetry.load(kRelaxed)});
        outputSection = matrixOf(OutputSection{outputRotation.load(kRelaxed), outputWidth.load(kRelaxed),
                                              monoOut.load(kRelaxed), gainLeft.load(kRelaxed),
                                              gainRight.load(kRelaxed)});
    }

    const PairMatrix inputMatrix(inputSection), balanceMatrix(balanceSection), outputMatrix(outputSection);

    // The block's state in locals (both channels side by side), so the loop
    // keeps it in registers.
    DcFilterPair dc(dcLeft, dcRight);
    BassFilterPair bass(bassCoefficients, bassLeft, bassRight);
    const bool bassReady = bassCoefficients.ready;
    std::int32_t delayIndex = delay.writeIndex;
    std::int32_t scopeIndex = capture.scopeIndex(), sampleIndex = capture.sampleIndex();
    const float* inL = sampleFrames ? inputs[0] : nullptr;
    const float* inR = sampleFrames ? inputs[1] : nullptr;
    float* outL = sampleFrames ? outputs[0] : nullptr;
    float* outR = sampleFrames ? outputs[1] : nullptr;

    for (std::int32_t i = 0; i < sampleFrames; ++i) {
        Pair x = makePair(inL[i], inR[i]);
        if (!bypass.load(kRelaxed)) {
            // 2. DC filter.
            if (dcFilterOn.load(kRelaxed)) x = dc.process(x);
            // 3. Input section.
            if (!inputMatrix.identity) x = inputMatrix.apply(x);
            // 4. Three-way balance, with the low band added on top when the bass
            //    is on (and once its coefficients exist).
            if (bassOn.load(kRelaxed) && bassReady) {
                const Pair low = bass.process(x);
                x = bassBlend(low, balanceMatrix.apply(x), bassWidth.load(kRelaxed), bassBoost.load(kRelaxed));
            } else if (!balanceMatrix.identity) {
                x = balanceMatrix.apply(x);
            }
            // 5. Delay or pseudo-stereo comb.
            x = delay.processPair(x, delaySamples.load(kRelaxed), pseudoStereo.load(kRelaxed), delayIndex);
            // 6. Output section and faders.
            if (!outputMatrix.identity) x = outputMatrix.apply(x);
        }
        // 7. Capture, 8. output (after the input pair was read: the blocks may be one).
        if (!metersOff.load(kRelaxed)) capture.capturePair(x, scopeIndex, sampleIndex);
        const __m128 out = asFloats(x);
        outL[i] = leftOf(out);
        outR[i] = rightOf(out);
    }

    // State that a non-finite sample reached is cleared.
    dc.storeInto(dcLeft, dcRight);
    bass.storeInto(bassLeft, bassRight);
    dcLeft.clearIfNotFinite();
    dcRight.clearIfNotFinite();
    bassLeft.clearIfNotFinite();
    bassRight.clearIfNotFinite();
    delay.writeIndex = delayIndex;
    delay.clearIfNonFinite(delayIndex, sampleFrames);
    capture.publish(scopeIndex, sampleIndex);
    endOfBlock(sampleFrames);
}

void ADoubler::process(float** inputs, float** outputs, std::int32_t sampleFrames) {
    if (sampleFrames < 0) sampleFrames = 0;
    if (sampleFrames > 0 && (!inputs || !outputs || !inputs[0] || !inputs[1] || !outputs[0] || !outputs[1])) return;
    std::int32_t scopeIndex = capture.scopeIndex(), sampleIndex = capture.sampleIndex();
    for (std::int32_t i = 0; i < sampleFrames; ++i) {
        float l = inputs[0][i], r = inputs[1][i];
        if (invertLeft.load(kRelaxed)) l = -l;
        if (invertRight.load(kRelaxed)) r = -r;
        if (monoOut.load(kRelaxed)) l = r = static_cast<float>((static_cast<double>(l) + r) * 0.5);
        capture.capture(l, r, scopeIndex, sampleIndex);
        outputs[0][i] = static_cast<float>(static_cast<double>(outputs[0][i]) + l);
        outputs[1][i] = static_cast<float>(static_cast<double>(outputs[1][i]) + r);
    }
    capture.publish(scopeIndex, sampleIndex);
    endOfAccumulatingBlock();
}

// ---- Measurement ----------------------------------------------------------------------------

void ADoubler::publishScopePosition() {
    scopeReadIndex.store(displayClock.scopePosition(now(), latencyMs.load(kRelaxed), processingRate(),
                                                    StereoCapture::kScopeSize),
                         kRelaxed);
    if (doublerEditor) doublerEditor->notifyScope();
}

void ADoubler::endOfBlock(std::int32_t sampleFrames) {
    audioSeen.store(true, kRelaxed);
    if (resyncPending.load(kRelaxed)) {
        resyncPending.store(false, kRelaxed);
        Resync();
    }
    if (metersOff.load(kRelaxed)) return;
    // An empty block has nothing to analyse and does not count.
    if (sampleFrames > 0 && ++meterBlockCounter >= 2) {
        const std::int64_t window = 2 * static_cast<std::int64_t>(sampleFrames);
        analyseMeters(window > StereoCapture::kSampleSize ? StereoCapture::kSampleSize
                                                          : static_cast<std::int32_t>(window));
        meterBlockCounter = 0;
    }
    publishScopePosition();
}

void ADoubler::endOfAccumulatingBlock() {
    audioSeen.store(true, kRelaxed);
    if (resyncPending.load(kRelaxed)) {
        resyncPending.store(false, kRelaxed);
        Resync();
    }
    if (++meterBlockCounter >= scopeBlockDivider.load(kRelaxed)) {
        publishScopePosition();
        meterBlockCounter = 0;
    }
}

void ADoubler::analyseMeters(std::int32_t count) {
    const std::int32_t position = displayClock.samplePosition(now(), latencyMs.load(kRelaxed), processingRate(),
                                                              StereoCapture::kSampleSize);
    if (!meters.analyse(capture.left(), capture.right(), StereoCapture::kSampleSize, position, count)) return;
    meters.clearIfNotFinite();
    if (doublerEditor) doublerEditor->notifyMeters();
}

void ADoubler::Resync() { displayClock.anchor(now(), capture.scopeIndex(), capture.sampleIndex()); }

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
