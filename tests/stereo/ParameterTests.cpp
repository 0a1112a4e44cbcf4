// ParameterTests.cpp — how the effect presents itself, the parameter table,
// commands, ResetAll and the program name.
#include "tests/stereo/EffectFixture.h"

#include <cmath>
#include <cstring>

#include "framework/DAEffect.h"

using namespace widefield;
using widefield::testing::EffectTest;

namespace {
class Parameters : public EffectTest {
protected:
    float get(std::int32_t index) { return effect->getParameter(index); }
};

const std::int32_t kSwitches[] = {ADoubler::kInvertLeft, ADoubler::kInvertRight, ADoubler::kMonoOut,
                                  ADoubler::kBypass, ADoubler::kMetersOff, ADoubler::kSwapChannels,
                                  ADoubler::kDcFilter, ADoubler::kBassOn, ADoubler::kPseudoStereo};
const std::int32_t kFloats[] = {ADoubler::kOutputWidth, ADoubler::kInputRotation, ADoubler::kOutputRotation,
                                ADoubler::kCentreCut, ADoubler::kAsymmetry, ADoubler::kInputWidth,
                                ADoubler::kBassFrequency, ADoubler::kBassBoost, ADoubler::kBassWidth};
}  // namespace

TEST_F(Parameters, RecordAsTheHostSeesIt) {
    const AEffect* record = effect->getAeffect();
    EXPECT_EQ(record->numPrograms, 1);
    EXPECT_EQ(record->numParams, 15);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->uniqueID, fourCharCode('W', 'd', 'F', 'd'));
    EXPECT_EQ(record->flags, effFlagsHasEditor | effFlagsHasVu | effFlagsCanReplacing | effFlagsProgramChunks);
    EXPECT_EQ(record->initialDelay, 0);
    EXPECT_EQ(effect->getVu(), 0.0f);
}

TEST_F(Parameters, DefaultsReadBackAfterConstruction) {
    for (std::int32_t index = 0; index < ADoubler::kNumParams; ++index) {
        const bool half = index == ADoubler::kOutputWidth || index == ADoubler::kInputRotation ||
                          index == ADoubler::kOutputRotation || index == ADoubler::kCentreCut ||
                          index == ADoubler::kDelay || index == ADoubler::kGainLeft || index == ADoubler::kGainRight ||
                          index == ADoubler::kAsymmetry;
        EXPECT_EQ(get(index), half ? 0.5f : 0.0f) << index;
    }
    EXPECT_EQ(get(ADoubler::kInputWidth), 0.5f);
    EXPECT_EQ(get(ADoubler::kUnused16), 0.0f);
    EXPECT_EQ(get(ADoubler::kBassOn), 0.0f);
    EXPECT_EQ(get(ADoubler::kBassFrequency), 0.1f);
    EXPECT_EQ(get(ADoubler::kBassBoost), 0.0f);
    EXPECT_EQ(get(ADoubler::kBassWidth), 0.5f);
    EXPECT_EQ(get(ADoubler::kPseudoStereo), 0.0f);
    EXPECT_EQ(effect->scopeDivider(), 1);
    EXPECT_TRUE(effect->fluorescence());
    EXPECT_EQ(effect->latency(), 750);
}

TEST_F(Parameters, SwitchesAreOnOnlyAtExactlyOne) {
    for (std::int32_t index : kSwitches) {
        set(index, 1.0f);
        EXPECT_EQ(get(index), 1.0f) << index;
        for (float other : {0.999f, 2.0f, 0.5f, NAN}) {
            set(index, other);
            EXPECT_EQ(get(index), 0.0f) << index << " at " << other;
        }
    }
}

TEST_F(Parameters, FloatsAreStoredUnchanged) {
    for (std::int32_t index : kFloats) {
        set(index, 0.123f);
        EXPECT_EQ(get(index), 0.123f) << index;
        // A host value outside 0..1 is limited to it, a non-finite one changes nothing,
        // so no hostile value becomes a setting that makes finite audio non-finite.
        set(index, 1.7f);
        EXPECT_EQ(get(index), 1.0f) << index;
        set(index, -3.0f);
        EXPECT_EQ(get(index), 0.0f) << index;
        set(index, 0.25f);
        set(index, NAN);
        EXPECT_EQ(get(index), 0.25f) << index;
    }
    set(ADoubler::kGainLeft, 0.3f);
    EXPECT_FLOAT_EQ(effect->gain(false), 0.6f);
    EXPECT_FLOAT_EQ(get(ADoubler::kGainLeft), 0.3f);
}

TEST_F(Parameters, DelayMapping) {
    const struct {
        float value;
        float readBack;
    } cases[] = {{0.0f, 0.0f}, {1.0f, 1.0f}, {0.5f, 0.5f}, {0.75f, 0.75f}};
    for (const auto& c : cases) {
        set(ADoubler::kDelay, c.value);
        EXPECT_FLOAT_EQ(get(ADoubler::kDelay), c.readBack) << c.value;
    }
    // Halves round to even: 240 x 1/32 = 7.5 → 8, 240 x 3/32 = 22.5 → 22.
    set(ADoubler::kDelay, 1.0f / 32.0f);
    EXPECT_FLOAT_EQ(get(ADoubler::kDelay), 8.0f / 240.0f);
    set(ADoubler::kDelay, 3.0f / 32.0f);
    EXPECT_FLOAT_EQ(get(ADoubler::kDelay), 22.0f / 240.0f);
}

TEST_F(Parameters, DelayOutsideTheRangeIsLimitedAndNonFiniteIgnored) {
    set(ADoubler::kDelay, 7.0f);
    EXPECT_FLOAT_EQ(get(ADoubler::kDelay), 1.0f);  // +120
    set(ADoubler::kDelay, -3e30f);
    EXPECT_FLOAT_EQ(get(ADoubler::kDelay), 0.0f);  // -120
    set(ADoubler::kDelay, 0.75f);
    for (float bad : {NAN, INFINITY, -INFINITY}) {
        set(ADoubler::kDelay, bad);
        EXPECT_FLOAT_EQ(get(ADoubler::kDelay), 0.75f);
    }
    // And the chain still runs with the limited delay.
    set(ADoubler::kDelay, 1e9f);
    const auto out = runImpulse(200, 1.0f, 1.0f);
    EXPECT_EQ(out.right[120], 1.0f);
}

TEST_F(Parameters, IntegerCommandsIgnoreNonFiniteValues) {
    set(ADoubler::kSetScopeBlockDivider, 3.0f);
    set(ADoubler::kSetScopeBlockDivider, NAN);
    EXPECT_EQ(effect->scopeDivider(), 3);
    set(ADoubler::kSetScopeBlockDivider, 2.5f);  // ties to even
    EXPECT_EQ(effect->scopeDivider(), 2);
    set(ADoubler::kSetLatency, 1234.0f);  // not limited
    EXPECT_EQ(effect->latency(), 1234);
    set(ADoubler::kSetLatency, INFINITY);
    EXPECT_EQ(effect->latency(), 1234);
    set(ADoubler::kSetLatency, 1e20f);
    EXPECT_EQ(effect->latency(), 2147483647);
    set(ADoubler::kSetFluorescence, 0.0f);
    EXPECT_FALSE(effect->fluorescence());
}

TEST_F(Parameters, ScaleGainsLimitsAtTwo) {
    set(ADoubler::kScaleGains, 4.0f);
    EXPECT_EQ(get(ADoubler::kGainLeft), 1.0f);
    EXPECT_EQ(get(ADoubler::kGainRight), 1.0f);
    set(ADoubler::kScaleGains, 0.25f);
    EXPECT_EQ(get(ADoubler::kGainLeft), 0.25f);
    set(ADoubler::kScaleGains, NAN);
    EXPECT_EQ(get(ADoubler::kGainLeft), 0.25f);
}

TEST_F(Parameters, UnlistedIndicesReadZeroAndChangeNothing) {
    set(ADoubler::kOutputWidth, 0.2f);
    for (std::int32_t index : {16, 22, 23, 24, 99, 151, -1, 1000}) {
        EXPECT_EQ(get(index), 0.0f) << index;
        set(index, 0.9f);
    }
    EXPECT_EQ(get(ADoubler::kOutputWidth), 0.2f);
    EXPECT_EQ(effect->latency(), 750);
}

TEST_F(Parameters, EverySetParameterPostsAnUpdate) {
    ADoublerEditor* editor = effect->getDoublerEditor();
    editor->open(nullptr);
    const std::uint32_t before = editor->refreshCount();
    // Index 16 stores nothing, yet the update is posted; the panel is clean so
    // the update finds nothing to refresh.
    set(ADoubler::kUnused16, 0.3f);
    effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(editor->refreshCount(), before);
    set(ADoubler::kCentreCut, 0.3f);
    set(ADoubler::kCentreCut, 0.4f);
    effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(editor->refreshCount(), before + 1);
    EXPECT_FALSE(effect->isPanelDirty());
}

TEST_F(Parameters, ResetAllRestoresDefaultsButKeepsLatencyAndFluorescence) {
    for (std::int32_t index : kSwitches) set(index, 1.0f);
    for (std::int32_t index : kFloats) set(index, 0.9f);
    set(ADoubler::kDelay, 0.1f);
    set(ADoubler::kGainLeft, 0.9f);
    set(ADoubler::kSetLatency, 300.0f);
    set(ADoubler::kSetFluorescence, 0.0f);
    set(ADoubler::kSetScopeBlockDivider, 4.0f);
    set(ADoubler::kResetAll, 1.0f);
    for (std::int32_t index : kSwitches) EXPECT_EQ(get(index), 0.0f) << index;
    EXPECT_EQ(get(ADoubler::kBassFrequency), 0.1f);
    EXPECT_EQ(get(ADoubler::kBassBoost), 0.0f);
    EXPECT_EQ(get(ADoubler::kBassWidth), 0.5f);
    EXPECT_EQ(get(ADoubler::kDelay), 0.5f);
    EXPECT_EQ(get(ADoubler::kGainLeft), 0.5f);
    EXPECT_EQ(effect->latency(), 300);
    EXPECT_FALSE(effect->fluorescence());
    EXPECT_EQ(effect->scopeDivider(), 4);
    EXPECT_TRUE(effect->isPanelDirty());
}

TEST_F(Parameters, ProgramNameIsShortenedToItsField) {
    char name[64];
    effect->getProgramName(name);
    EXPECT_STREQ(name, "Normal");
    char longName[] = "A program name that is far longer than thirty-one characters";
    effect->dispatcher(effSetProgramName, 0, 0, longName, 0.0f);
    std::memset(name, 'x', sizeof name);
    effect->dispatcher(effGetProgramName, 0, 0, name, 0.0f);
    EXPECT_EQ(std::strlen(name), kMaxProgramNameLength);
    EXPECT_EQ(std::strncmp(name, longName, kMaxProgramNameLength), 0);
    effect->setProgram(3);
    EXPECT_EQ(effect->getProgram(), 0);
}
