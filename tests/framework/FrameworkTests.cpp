// FrameworkTests.cpp — the host boundary: record defaults, setters and flags,
// the dispatcher's opcode table, the entry functions, host calls with and
// without a host, and the editor's update mechanism.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "framework/DAudioE.h"
#include "tests/support/FakeHost.h"

namespace {

using test_support::FakeHost;

struct Journal {
    std::vector<std::string> entries;
    void add(const std::string& entry) { entries.push_back(entry); }
};

class CountingEditor : public AEffEditor {
public:
    CountingEditor(AudioEffect* effect, Journal& journal) : AEffEditor(effect), journal(journal) {
        effect->setEditor(this);
    }
    // Notes whether the effect was still whole: its own getVu, not the base's.
    ~CountingEditor() override { journal.add("editor destroyed, vu " + std::to_string(effect->getVu())); }
    void update() override { ++updates; }
    std::int32_t getRect(ERect** rect) override {
        rectangle = ERect{0, 0, 10, 20};
        *rect = &rectangle;
        return 1;
    }
    int updates = 0;
    ERect rectangle{};
    Journal& journal;
};

class ProbeEffect : public AudioEffect {
public:
    ProbeEffect(audioMasterCallback master, Journal& journal) : AudioEffect(master, 3, 5), journal(journal) {}
    ~ProbeEffect() override {
        destroyEditor();
        journal.add("effect destroyed");
    }
    void process(float**, float**, std::int32_t) override {}
    void setProgram(std::int32_t program) override {
        journal.add("setProgram " + std::to_string(program));
        AudioEffect::setProgram(program);
    }
    void suspend() override { journal.add("suspend"); }
    void resume() override { journal.add("resume"); }
    void close() override { journal.add("close"); }
    float getVu() override { return vu; }
    void setParameter(std::int32_t index, float value) override {
        journal.add("setParameter " + std::to_string(index) + " " + std::to_string(value));
    }
    float vu = 0.0f;
    Journal& journal;
};

VstIntPtr dispatch(AudioEffect& effect, std::int32_t opcode, std::int32_t index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f) {
    return effect.getAeffect()->dispatcher(effect.getAeffect(), opcode, index, value, ptr, opt);
}

TEST(EffectRecord, FreshBaseObjectCarriesTheDefaults) {
    Journal journal;
    ProbeEffect effect(nullptr, journal);
    const AEffect* record = effect.getAeffect();
    EXPECT_EQ(record->magic, 0x56737450);
    EXPECT_EQ(record->numPrograms, 3);
    EXPECT_EQ(record->numParams, 5);
    EXPECT_EQ(record->numInputs, 1);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->flags, 0);
    EXPECT_EQ(record->uniqueID, 0x4E6F4566);
    EXPECT_EQ(record->version, 1);
    EXPECT_EQ(record->ioRatio, 1.0f);
    EXPECT_EQ(record->object, &effect);
    EXPECT_EQ(record->user, nullptr);
    EXPECT_EQ(record->resvd1, 0);
    EXPECT_EQ(record->initialDelay, 0);
    for (char byte : record->future) EXPECT_EQ(byte, 0);
    EXPECT_EQ(effect.getSampleRate(), 44100.0f);
    EXPECT_EQ(effect.getBlockSize(), 1024);
    EXPECT_EQ(effect.getProgram(), 0);
}

TEST(EffectRecord, FourCharacterCodesPackFirstCharacterHighest) {
    EXPECT_EQ(fourCharCode('u', 'F', 'F', 'T'), 0x75464654);
    EXPECT_EQ(fourCharCode('W', 'd', 'F', 'd'), 0x57644664);
    EXPECT_EQ(fourCharCode('\xff', 0, 0, '\x80'), static_cast<std::int32_t>(0xFF000080u));
}

TEST(EffectRecord, SettersTouchOnlyTheirOwnFieldsAndBits) {
    Journal journal;
    ProbeEffect effect(nullptr, journal);
    AEffect* record = effect.getAeffect();
    effect.hasVu(true);
    effect.hasVu(false);
    EXPECT_EQ(record->flags, 0);
    effect.canProcessReplacing(true);
    EXPECT_EQ(record->flags, 16);
    effect.hasClip(true);
    effect.canMono(true);
    EXPECT_EQ(record->flags, 16 | 2 | 8);
    {
        CountingEditor editor(&effect, journal);
        EXPECT_EQ(record->flags, 16 | 2 | 8 | 1);
        effect.setEditor(nullptr);
        EXPECT_EQ(record->flags, 16 | 2 | 8);
    }
    effect.setUniqueID(42);
    effect.setNumInputs(7);
    effect.setNumOutputs(9);
    effect.setInitialDelay(11);
    effect.setRealtimeQualities(12);
    effect.setOfflineQualities(13);
    EXPECT_EQ(record->uniqueID, 42);
    EXPECT_EQ(record->numInputs, 7);
    EXPECT_EQ(record->numOutputs, 9);
    EXPECT_EQ(record->initialDelay, 11);
    EXPECT_EQ(record->realQualities, 12);
    EXPECT_EQ(record->offQualities, 13);
}

TEST(Dispatcher, AnswersTheOpcodeTable) {
    Journal journal;
    ProbeEffect effect(nullptr, journal);
    EXPECT_EQ(dispatch(effect, effIdentify), 0x4E764566);
    for (std::int32_t opcode : {23, 58, -1, -5, 80})
        EXPECT_EQ(dispatch(effect, opcode, 1, 1, nullptr, 1.0f), 0) << opcode;
    EXPECT_TRUE(journal.entries.empty());

    dispatch(effect, effMainsChanged, 0, 2);
    dispatch(effect, effMainsChanged, 0, 0);
    dispatch(effect, effSetProgram, 0, -1);
    dispatch(effect, effSetProgram, 0, 3);  // == numPrograms: ignored
    dispatch(effect, effSetProgram, 0, 2);
    EXPECT_EQ((journal.entries), (std::vector<std::string>{"resume", "suspend", "setProgram -1", "setProgram 2"}));
    EXPECT_EQ(dispatch(effect, effGetProgram), 2);

    dispatch(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    dispatch(effect, effSetBlockSize, 0, 256);
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
    EXPECT_EQ(effect.getBlockSize(), 256);
}

TEST(Dispatcher, VuIsScaledAndRoundedHalfToEven) {
    Journal journal;
    ProbeEffect effect(nullptr, journal);
    effect.vu = 1.0f;
    EXPECT_EQ(dispatch(effect, effGetVu), 32767);
    effect.vu = 0.5f;
    EXPECT_EQ(dispatch(effect, effGetVu), 16384);  // 16383.5 rounds to even
    effect.vu = 0.0f;
    EXPECT_EQ(dispatch(effect, effGetVu), 0);
    effect.vu = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(dispatch(effect, effGetVu), 0);
    effect.vu = 1e30f;
    EXPECT_EQ(dispatch(effect, effGetVu), 0);
}

TEST(Dispatcher, TextRequestsAreBoundedAndIgnoreNullBuffers) {
    Journal journal;
    ProbeEffect effect(nullptr, journal);
    for (std::int32_t opcode : {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay,
                                effGetParamName, effEditGetRect, effEditOpen})
        EXPECT_EQ(dispatch(effect, opcode, 0, 0, nullptr), 0) << opcode;
    char text[16];
    std::memset(text, 'x', sizeof text);
    dispatch(effect, effGetParamName, 0, 0, text);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(text[1], 'x');

    char out[40];
    std::memset(out, 'x', sizeof out);
    copyHostText(out, "a name that is far too long for a program", kMaxProgramNameLength);
    EXPECT_EQ(std::strlen(out), 24u);
    EXPECT_EQ(out[25], 'x');
    copyHostText(out, nullptr, 8);
    EXPECT_STREQ(out, "");
}

TEST(Dispatcher, EditorRequestsNeedAnEditor) {
    Journal journal;
    ProbeEffect effect(nullptr, journal);
    ERect* rect = reinterpret_cast<ERect*>(0x1);
    EXPECT_EQ(dispatch(effect, effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(rect, reinterpret_cast<ERect*>(0x1));  // untouched without an editor

    auto* editor = new CountingEditor(&effect, journal);
    EXPECT_EQ(dispatch(effect, effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect, &editor->rectangle);
    EXPECT_EQ(dispatch(effect, effEditOpen, 0, 0, reinterpret_cast<void*>(0x1234)), 0);
    EXPECT_EQ(editor->getSystemWindow(), reinterpret_cast<void*>(0x1234));

    // Two postUpdate calls give one update; an idle without a pending update does nothing.
    editor->postUpdate();
    editor->postUpdate();
    dispatch(effect, effEditIdle);
    dispatch(effect, effEditIdle);
    EXPECT_EQ(editor->updates, 1);
}

TEST(EntryFunctions, CloseDestroysEditorThenEffectAndAnswersOne) {
    Journal journal;
    auto* effect = new ProbeEffect(nullptr, journal);
    effect->vu = 0.5f;
    new CountingEditor(effect, journal);
    AEffect* record = effect->getAeffect();
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
    // close runs first; the effect's own destructor takes the editor along
    // before anything of the effect is gone.
    EXPECT_EQ((journal.entries),
              (std::vector<std::string>{"close", "editor destroyed, vu 0.500000", "effect destroyed"}));
}

TEST(EntryFunctions, ParameterAndProcessEntriesReachTheObject) {
    Journal journal;
    ProbeEffect effect(nullptr, journal);
    AEffect* record = effect.getAeffect();
    record->setParameter(record, 4, 0.25f);
    EXPECT_EQ(journal.entries.back(), "setParameter 4 0.250000");
    EXPECT_EQ(record->getParameter(record, 4), 0.0f);
    float input[4] = {1, 2, 3, 4};
    float output[4] = {};
    float* inputs[2] = {input, input};
    float* outputs[2] = {output, output};
    record->processReplacing(record, inputs, outputs, 4);  // base default: nothing
    EXPECT_EQ(output[0], 0.0f);
}

TEST(HostCalls, QueriesFallBackWithoutAHost) {
    Journal journal;
    ProbeEffect effect(nullptr, journal);
    EXPECT_EQ(effect.getMasterVersion(), 1);
    EXPECT_EQ(effect.getCurrentUniqueId(), 0);
    EXPECT_TRUE(effect.isInputConnected(0));
    EXPECT_TRUE(effect.isOutputConnected(1));
    effect.masterIdle();
    effect.setParameterAutomated(2, 0.5f);
    EXPECT_EQ(journal.entries.back(), "setParameter 2 0.500000");
}

TEST(HostCalls, QueriesPassTheirArgumentsAndInterpretTheAnswer) {
    Journal journal;
    ProbeEffect effect(FakeHost::callback, journal);
    FakeHost::answerEvery(0);
    EXPECT_EQ(effect.getMasterVersion(), 1);  // 0 counts as version 1
    FakeHost::answerEvery(2);
    EXPECT_EQ(effect.getMasterVersion(), 2);
    FakeHost::answerEvery(0);
    EXPECT_TRUE(effect.isInputConnected(0));
    FakeHost::answerEvery(1);
    EXPECT_FALSE(effect.isInputConnected(0));
    EXPECT_FALSE(effect.isOutputConnected(3));
    ASSERT_EQ(FakeHost::calls().size(), 2u);
    EXPECT_EQ(FakeHost::calls()[0].opcode, audioMasterPinConnected);
    EXPECT_EQ(FakeHost::calls()[0].value, 0);
    EXPECT_EQ(FakeHost::calls()[1].index, 3);
    EXPECT_EQ(FakeHost::calls()[1].value, 1);
    EXPECT_TRUE(FakeHost::calls()[1].effectGiven);

    FakeHost::answerEvery(77);
    EXPECT_EQ(effect.getCurrentUniqueId(), 77);
    effect.masterIdle();
    effect.setParameterAutomated(6, 0.75f);
    ASSERT_EQ(FakeHost::calls().size(), 3u);
    EXPECT_EQ(FakeHost::calls()[1].opcode, audioMasterIdle);
    EXPECT_EQ(FakeHost::calls()[2].opcode, audioMasterAutomate);
    EXPECT_EQ(FakeHost::calls()[2].index, 6);
    EXPECT_EQ(FakeHost::calls()[2].opt, 0.75f);
    EXPECT_EQ(journal.entries.back(), "setParameter 6 0.750000");  // before the host hears of it
}

TEST(Main, VersionZeroRefusesTheInstance) {
    FakeHost::answerEvery(0);
    struct Refused : ProbeEffect {
        explicit Refused(audioMasterCallback master) : ProbeEffect(master, sharedJournal()) {}
        static Journal& sharedJournal() {
            static Journal journal;
            return journal;
        }
    };
    EXPECT_EQ(createInstance<Refused>(FakeHost::callback), nullptr);
    ASSERT_EQ(FakeHost::calls().size(), 1u);
    EXPECT_EQ(FakeHost::calls()[0].opcode, audioMasterVersion);
    EXPECT_FALSE(FakeHost::calls()[0].effectGiven);
    EXPECT_EQ(createInstance<Refused>(nullptr), nullptr);

    FakeHost::answerEvery(1);
    AEffect* record = createInstance<Refused>(FakeHost::callback);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->magic, kEffectMagic);
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
}

}  // namespace
