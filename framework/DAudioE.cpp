// DAudioE.cpp — AudioEffect, AEffEditor and the entry functions.
//
// The number-to-text routines live in VSTUtils.cpp.
#include "framework/DAudioE.h"

#include <cmath>
#include <cstring>

#include "platform/FloatingPoint.h"

// ---- AEffEditor -------------------------------------------------------------

AEffEditor::AEffEditor(AudioEffect* effect) : effect(effect) {}

AEffEditor::~AEffEditor() = default;

std::int32_t AEffEditor::getRect(ERect** rect) {
    if (rect) *rect = nullptr;
    return 0;
}

std::int32_t AEffEditor::open(void* ptr) {
    systemWindow = ptr;
    return 0;
}

void AEffEditor::close() {}

void AEffEditor::idle() {
    // A plain load and store: a postUpdate landing between them is merged into
    // this update, which runs after it.
    if (updateFlag.load(std::memory_order_relaxed) != 0) {
        updateFlag.store(0, std::memory_order_relaxed);
        update();
    }
}

void AEffEditor::update() {}

void AEffEditor::postUpdate() { updateFlag.store(1, std::memory_order_relaxed); }

// ---- AudioEffect --------------------------------------------------------------

AudioEffect::AudioEffect(audioMasterCallback audioMaster, std::int32_t numPrograms, std::int32_t numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams) {
    std::memset(&aeffect, 0, sizeof(aeffect));
    aeffect.magic = kEffectMagic;
    aeffect.dispatcher = dispatcherEntry;
    aeffect.process = processEntry;
    aeffect.setParameter = setParameterEntry;
    aeffect.getParameter = getParameterEntry;
    aeffect.numPrograms = numPrograms;
    aeffect.numParams = numParams;
    aeffect.numInputs = 1;
    aeffect.numOutputs = 2;
    aeffect.flags = 0;
    aeffect.ioRatio = 1.0f;
    aeffect.object = this;
    aeffect.user = nullptr;
    aeffect.uniqueID = kDefaultUniqueID;
    aeffect.version = 1;
    aeffect.processReplacing = processReplacingEntry;
    platform::maskFloatingPointExceptions();
}

AudioEffect::~AudioEffect() { destroyEditor(); }

void AudioEffect::destroyEditor() {
    // Cleared first: whatever the dying editor calls back finds no editor here.
    AEffEditor* dying = editor;
    editor = nullptr;
    delete dying;
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
    editor = newEditor;
    setFlag(effFlagsHasEditor, newEditor != nullptr);
}

void AudioEffect::setFlag(std::int32_t bit, bool state) {
    if (state)
        aeffect.flags |= bit;
    else
        aeffect.flags &= ~bit;
}

VstIntPtr AudioEffect::callHost(std::int32_t opcode, std::int32_t index, VstIntPtr value, float opt) {
    return audioMaster(&aeffect, opcode, index, value, nullptr, opt);
}

void AudioEffect::processReplacing(float**, float**, std::int32_t) {}

VstIntPtr AudioEffect::dispatcher(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr, float opt) {
    switch (opcode) {
        case effOpen: open(); return 0;
        case effClose: close(); return 0;
        case effSetProgram:
            if (value < numPrograms) setProgram(static_cast<std::int32_t>(value));
            return 0;
        case effGetProgram: return getProgram();
        // Text requests without a buffer have nowhere to read from or write to.
        case effSetProgramName: if (ptr) setProgramName(static_cast<char*>(ptr)); return 0;
        case effGetProgramName: if (ptr) getProgramName(static_cast<char*>(ptr)); return 0;
        case effGetParamLabel: if (ptr) getParameterLabel(index, static_cast<char*>(ptr)); return 0;
        case effGetParamDisplay: if (ptr) getParameterDisplay(index, static_cast<char*>(ptr)); return 0;
        case effGetParamName: if (ptr) getParameterName(index, static_cast<char*>(ptr)); return 0;
        case effGetVu: {
            const double scaled = static_cast<double>(getVu()) * 32767.0;
            // nearbyint rounds halves to even in the default rounding mode; a value
            // outside the int32 range (or NaN) has no answer and gives 0.
            if (!(std::fabs(scaled) < 2147483647.0)) return 0;
            return static_cast<VstIntPtr>(std::nearbyint(scaled));
        }
        case effSetSampleRate: setSampleRate(opt); return 0;
        case effSetBlockSize: setBlockSize(static_cast<std::int32_t>(value)); return 0;
        case effMainsChanged:
            if (value == 0)
                suspend();
            else
                resume();
            return 0;
        case effEditGetRect:
            if (editor == nullptr) return 0;
            if (ptr == nullptr) return 0;
            return editor->getRect(static_cast<ERect**>(ptr));
        case effEditOpen: return editor ? editor->open(ptr) : 0;
        case effEditClose: if (editor) editor->close(); return 0;
        case effEditIdle: if (editor) editor->idle(); return 0;
        case effIdentify: return kIdentifyAnswer;
        case effCanBeAutomated: return canBeAutomated(index);
        case effGetChunk: {
            if (ptr == nullptr) return 0;
            void** data = static_cast<void**>(ptr);
            *data = nullptr;
            const std::int32_t size = getChunk(data, index != 0);
            if (size <= 0 || *data == nullptr) {
                *data = nullptr;
                return 0;
            }
            return size;
        }
        case effSetChunk:
            // A size the host's value cannot carry as an int32 is not ours.
            if (ptr == nullptr || value <= 0 || value > 0x7fffffff) return 0;
            return setChunk(ptr, static_cast<std::int32_t>(value), index != 0) != 0 ? 1 : 0;
        case effVendorSpecific:
            if (editor && index == fourCharCode('P', 'r', 'e', 'S') && value == fourCharCode('A', 'e', 'C', 's')) {
                editor->setHostScale(opt);
                return 1;
            }
            return 0;
        default: return 0;
    }
}

void AudioEffect::open() {}
void AudioEffect::close() {}
std::int32_t AudioEffect::getProgram() { return curProgram.load(std::memory_order_relaxed); }
void AudioEffect::setProgram(std::int32_t program) { curProgram.store(program, std::memory_order_relaxed); }
void AudioEffect::setProgramName(char*) {}
void AudioEffect::getProgramName(char* name) { copyHostText(name, "", kMaxProgramNameLength); }
void AudioEffect::getParameterLabel(std::int32_t, char* label) { copyHostText(label, "", kMaxParameterTextLength); }
void AudioEffect::getParameterDisplay(std::int32_t, char* text) { copyHostText(text, "", kMaxParameterTextLength); }
void AudioEffect::getParameterName(std::int32_t, char* text) { copyHostText(text, "", kMaxParameterTextLength); }
float AudioEffect::getVu() { return 0.0f; }
void AudioEffect::setSampleRate(float newSampleRate) { sampleRate.store(newSampleRate, std::memory_order_relaxed); }
void AudioEffect::setBlockSize(std::int32_t newBlockSize) { blockSize.store(newBlockSize, std::memory_order_relaxed); }
void AudioEffect::suspend() {}
void AudioEffect::resume() {}
void AudioEffect::setUniqueID(std::int32_t id) { aeffect.uniqueID = id; }
void AudioEffect::setNumInputs(std::int32_t count) { aeffect.numInputs = count; }
void AudioEffect::setNumOutputs(std::int32_t count) { aeffect.numOutputs = count; }
void AudioEffect::hasVu(bool state) { setFlag(effFlagsHasVu, state); }
void AudioEffect::hasClip(bool state) { setFlag(effFlagsHasClip, state); }
void AudioEffect::canMono(bool state) { setFlag(effFlagsCanMono, state); }
void AudioEffect::canProcessReplacing(bool state) { setFlag(effFlagsCanReplacing, state); }
void AudioEffect::setRealtimeQualities(std::int32_t qualities) { aeffect.realQualities = qualities; }
void AudioEffect::setOfflineQualities(std::int32_t qualities) { aeffect.offQualities = qualities; }
void AudioEffect::setInitialDelay(std::int32_t delay) { aeffect.initialDelay = delay; }
float AudioEffect::getSampleRate() { return sampleRate.load(std::memory_order_relaxed); }
std::int32_t AudioEffect::getBlockSize() { return blockSize.load(std::memory_order_relaxed); }

std::int32_t AudioEffect::getMasterVersion() {
    if (audioMaster == nullptr) return 1;
    const VstIntPtr version = callHost(audioMasterVersion, 0, 0, 0.0f);
    return version == 0 ? 1 : static_cast<std::int32_t>(version);
}

std::int32_t AudioEffect::getCurrentUniqueId() {
    if (audioMaster == nullptr) return 0;
    return static_cast<std::int32_t>(callHost(audioMasterCurrentId, 0, 0, 0.0f));
}

void AudioEffect::masterIdle() {
    if (audioMaster) callHost(audioMasterIdle, 0, 0, 0.0f);
}

bool AudioEffect::isInputConnected(std::int32_t input) {
    if (audioMaster == nullptr) return true;
    return callHost(audioMasterPinConnected, input, 0, 0.0f) == 0;
}

bool AudioEffect::isOutputConnected(std::int32_t output) {
    if (audioMaster == nullptr) return true;
    return callHost(audioMasterPinConnected, output, 1, 0.0f) == 0;
}

std::int32_t AudioEffect::canBeAutomated(std::int32_t) { return 0; }

std::int32_t AudioEffect::getChunk(void**, bool) { return 0; }
std::int32_t AudioEffect::setChunk(void*, std::int32_t, bool) { return 0; }
void AudioEffect::programsAreChunks(bool state) { setFlag(effFlagsProgramChunks, state); }

void AudioEffect::setParameter(std::int32_t, float) {}
float AudioEffect::getParameter(std::int32_t) { return 0.0f; }

void AudioEffect::setParameterAutomated(std::int32_t index, float value) {
    setParameter(index, value);
    if (audioMaster) callHost(audioMasterAutomate, index, 0, value);
}

// ---- Entry functions ------------------------------------------------------------

namespace {
AudioEffect* objectOf(AEffect* e) { return static_cast<AudioEffect*>(e->object); }
}  // namespace

VstIntPtr VSTCALLBACK dispatcherEntry(AEffect* e, std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr,
                                      float opt) {
    AudioEffect* effect = objectOf(e);
    if (opcode == effClose) {
        effect->dispatcher(opcode, index, value, ptr, opt);
        delete effect;
        return 1;
    }
    return effect->dispatcher(opcode, index, value, ptr, opt);
}

// The audio entries run with denormals flushed, so that decaying filter state
// costs no more than signal; the host's own setting is restored on return.
void VSTCALLBACK processEntry(AEffect* e, float** inputs, float** outputs, std::int32_t sampleFrames) {
    platform::DenormalGuard guard;
    objectOf(e)->process(inputs, outputs, sampleFrames);
}

void VSTCALLBACK processReplacingEntry(AEffect* e, float** inputs, float** outputs, std::int32_t sampleFrames) {
    platform::DenormalGuard guard;
    objectOf(e)->processReplacing(inputs, outputs, sampleFrames);
}

void VSTCALLBACK setParameterEntry(AEffect* e, std::int32_t index, float value) {
    objectOf(e)->setParameter(index, value);
}

float VSTCALLBACK getParameterEntry(AEffect* e, std::int32_t index) { return objectOf(e)->getParameter(index); }

void copyHostText(char* destination, const char* source, std::size_t maxLength) {
    if (destination == nullptr) return;
    std::size_t length = 0;
    if (source != nullptr)
        while (length < maxLength && source[length] != '\0') ++length;
    if (length) std::memcpy(destination, source, length);
    destination[length] = '\0';
}
