// DAudioE.h — the effect and editor base classes and the host entry points.
//
//   AudioEffect      owns the AEffect record, the host-given state and the
//                    editor; default behaviour for every host request
//   AEffEditor       editor base: getRect/open/close and the postUpdate → idle →
//                    update mechanism
//   entry functions  the five plain functions stored in the record
//   createInstance   the body of each library's exported main
//
// Threads: the dispatcher and editor requests come from the host's UI thread,
// the process calls from its audio thread, setParameter from either. Fields read
// across threads are relaxed atomics; nothing here locks or allocates after
// construction.
#pragma once

#include <atomic>
#include <cstdint>
#include <new>

#include "framework/DAEffect.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect);
    virtual ~AEffEditor();
    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

    virtual std::int32_t getRect(ERect** rect);
    virtual std::int32_t open(void* ptr);
    virtual void close();
    virtual void idle();
    virtual void update();
    virtual void postUpdate();
    // The host's display scale (1.0 for 100 %), when it tells one.
    virtual void setHostScale(float) {}

    AudioEffect* getEffect() const { return effect; }
    void* getSystemWindow() const { return systemWindow; }

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
    // Raised by postUpdate (any thread, the audio thread included), consumed by idle.
    std::atomic<std::int32_t> updateFlag{0};
};

class AudioEffect {
public:
    AudioEffect(audioMasterCallback audioMaster, std::int32_t numPrograms, std::int32_t numParams);
    virtual ~AudioEffect();
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    AEffect* getAeffect() { return &aeffect; }
    void setEditor(AEffEditor* newEditor);
    AEffEditor* getEditor() const { return editor; }
    audioMasterCallback getAudioMaster() const { return audioMaster; }

    virtual void process(float** inputs, float** outputs, std::int32_t sampleFrames) = 0;
    virtual void processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames);
    virtual VstIntPtr dispatcher(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr, float opt);
    virtual void open();
    virtual void close();
    virtual std::int32_t getProgram();
    virtual void setProgram(std::int32_t program);
    virtual void setProgramName(char* name);
    virtual void getProgramName(char* name);
    virtual void getParameterLabel(std::int32_t index, char* label);
    virtual void getParameterDisplay(std::int32_t index, char* text);
    virtual void getParameterName(std::int32_t index, char* text);
    virtual float getVu();
    virtual void setSampleRate(float newSampleRate);
    virtual void setBlockSize(std::int32_t newBlockSize);
    virtual void suspend();
    virtual void resume();
    virtual void setUniqueID(std::int32_t id);
    virtual void setNumInputs(std::int32_t count);
    virtual void setNumOutputs(std::int32_t count);
    virtual void hasVu(bool state);
    virtual void hasClip(bool state);
    virtual void canMono(bool state);
    virtual void canProcessReplacing(bool state);
    virtual void setRealtimeQualities(std::int32_t qualities);
    virtual void setOfflineQualities(std::int32_t qualities);
    virtual void setInitialDelay(std::int32_t delay);
    virtual float getSampleRate();
    virtual std::int32_t getBlockSize();
    virtual std::int32_t getMasterVersion();
    virtual std::int32_t getCurrentUniqueId();
    virtual void masterIdle();
    virtual bool isInputConnected(std::int32_t input);
    virtual bool isOutputConnected(std::int32_t output);
    // Number-to-text routines (VSTUtils.cpp). Each writes at most
    // kMaxParameterTextLength characters and the terminating zero.
    virtual void dB2string(float value, char* text);
    virtual void Hz2string(float samples, char* text);
    virtual void ms2string(float samples, char* text);
    virtual void float2string(float value, char* text);
    virtual void long2string(std::int32_t value, char* text);
    virtual void setParameter(std::int32_t index, float value);
    virtual float getParameter(std::int32_t index);
    virtual void setParameterAutomated(std::int32_t index, float value);
    // effCanBeAutomated: 1 when a host may automate the parameter; 0 by default.
    virtual std::int32_t canBeAutomated(std::int32_t index);
    // effGetChunk: the whole state as bytes that the effect owns and keeps
    // valid until the next getChunk or its close; the size, 0 for none (the
    // base). isPreset is 1 for the program, 0 for the bank.
    virtual std::int32_t getChunk(void** data, bool isPreset);
    // effSetChunk: 1 when the bytes were taken, 0 when nothing changed (the base).
    virtual std::int32_t setChunk(void* data, std::int32_t byteSize, bool isPreset);
    // effFlagsProgramChunks: the host keeps the state through the chunk.
    virtual void programsAreChunks(bool state);

protected:
    // Destroys the editor (and with it an open panel) now. Each plug-in's own
    // destructor calls it first, so that the panel goes while the effect it
    // shows is still whole; the base destructor only frees an editor left over.
    void destroyEditor();
    // The base float2string, which dB2string uses whatever a subclass overrides.
    static void formatFixedTwoDecimals(double value, char* text);
    VstIntPtr callHost(std::int32_t opcode, std::int32_t index, VstIntPtr value, float opt);
    void setFlag(std::int32_t bit, bool state);

    std::atomic<float> sampleRate{44100.0f};
    AEffEditor* editor = nullptr;
    audioMasterCallback audioMaster;
    std::int32_t numPrograms;
    std::int32_t numParams;
    std::atomic<std::int32_t> curProgram{0};
    std::atomic<std::int32_t> blockSize{1024};
    AEffect aeffect;
};

// The five entry functions stored in every record.
VstIntPtr VSTCALLBACK dispatcherEntry(AEffect* e, std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr,
                                      float opt);
void VSTCALLBACK processEntry(AEffect* e, float** inputs, float** outputs, std::int32_t sampleFrames);
void VSTCALLBACK processReplacingEntry(AEffect* e, float** inputs, float** outputs, std::int32_t sampleFrames);
void VSTCALLBACK setParameterEntry(AEffect* e, std::int32_t index, float value);
float VSTCALLBACK getParameterEntry(AEffect* e, std::int32_t index);

// Copies a zero-terminated text into a host buffer, at most maxLength characters
// plus the zero. A null destination is left alone; a null source writes "".
void copyHostText(char* destination, const char* source, std::size_t maxLength);

// The body of main: ask the host's version (0 refuses), construct, hand back the record.
template <class Effect, class... Extra>
AEffect* createInstance(audioMasterCallback audioMaster, Extra&&... extra) {
    if (audioMaster == nullptr) return nullptr;  // nothing to ask, nobody to serve
    if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    AudioEffect* effect = nullptr;
    try {
        effect = new (std::nothrow) Effect(audioMaster, static_cast<Extra&&>(extra)...);
    } catch (...) {
        effect = nullptr;
    }
    return effect ? effect->getAeffect() : nullptr;
}
