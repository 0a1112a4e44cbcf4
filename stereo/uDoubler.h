// uDoubler.h — Widefield's effect (ADoubler) and editor (ADoublerEditor).
// Placeholder at the level of the plug-in spine: host-visible values only.
#pragma once

#include "framework/DAudioE.h"
#include "platform/Services.h"

namespace widefield {

class ADoubler;

class ADoublerEditor : public AEffEditor {
public:
    explicit ADoublerEditor(AudioEffect* effect);
    ~ADoublerEditor() override;
    std::int32_t getRect(ERect** rect) override;
    std::int32_t open(void* ptr) override;
    void close() override;
    void update() override;
    ADoubler* getDoubler() const;

private:
    ERect editorRect{};
    void* parentWindow = nullptr;
};

class ADoubler : public AudioEffect {
public:
    explicit ADoubler(audioMasterCallback audioMaster, const platform::Services& services = platform::defaultServices());
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

private:
    char programName[32] = "Normal";
    std::int32_t referencePitch = 440;
    std::int32_t accuracy = 1;
};

}  // namespace widefield
