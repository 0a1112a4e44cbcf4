// uDoubler.cpp — Widefield's effect and editor (placeholder at spine level).
#include "stereo/uDoubler.h"

#include <cstring>

namespace widefield {

ADoublerEditor::ADoublerEditor(AudioEffect* effect) : AEffEditor(effect) { effect->setEditor(this); }
ADoublerEditor::~ADoublerEditor() { close(); }

std::int32_t ADoublerEditor::getRect(ERect** rect) {
    editorRect = ERect{0, 0, 386, 723};
    *rect = &editorRect;
    return 1;
}

std::int32_t ADoublerEditor::open(void* ptr) {
    parentWindow = ptr;
    postUpdate();
    return 1;
}

void ADoublerEditor::close() { parentWindow = nullptr; }
void ADoublerEditor::update() {}
ADoubler* ADoublerEditor::getDoubler() const { return static_cast<ADoubler*>(effect); }

ADoubler::ADoubler(audioMasterCallback audioMaster, const platform::Services&) : AudioEffect(audioMaster, 1, 15) {
    new ADoublerEditor(this);
    setNumInputs(2);
    setNumOutputs(2);
    hasVu(true);
    canProcessReplacing(true);
    canMono(true);
    setUniqueID(fourCharCode('W', 'd', 'F', 'd'));
}

void ADoubler::process(float** inputs, float** outputs, std::int32_t sampleFrames) {
    for (std::int32_t i = 0; i < sampleFrames; ++i) {
        outputs[0][i] += inputs[0][i];
        outputs[1][i] += inputs[1][i];
    }
}

void ADoubler::processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) {
    for (std::int32_t i = 0; i < sampleFrames; ++i) {
        outputs[0][i] = inputs[0][i];
        outputs[1][i] = inputs[1][i];
    }
}

void ADoubler::setProgram(std::int32_t) {}
void ADoubler::setProgramName(char* name) {
    std::strncpy(programName, name, sizeof programName - 1);
    programName[sizeof programName - 1] = '\0';
}
void ADoubler::getProgramName(char* name) { copyHostText(name, programName, kMaxProgramNameLength); }
float ADoubler::getVu() { return 0.0f; }
void ADoubler::suspend() {}
void ADoubler::resume() {}
void ADoubler::setParameter(std::int32_t, float) {}
float ADoubler::getParameter(std::int32_t index) {
    if (index == 0) return static_cast<float>(referencePitch);
    if (index == 1) return static_cast<float>(accuracy);
    return 0.0f;
}

}  // namespace widefield
