// Widefield's state chunk as a host uses it: a session's every setting back in
// a fresh instance, as bank and as program, and chunks that must change nothing.
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "framework/SettingsChunk.h"
#include "stereo/uStereoMeter.h"
#include "tests/stereo/EffectFixture.h"

namespace widefield::testing {
namespace {

using I = ParameterIndex;
constexpr std::int32_t kBank = 0, kProgram = 1;
// Every index a session keeps: the host parameters, the panel's settings, fluorescence.
const std::vector<std::int32_t> kStateIndices = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                                 12, 13, 14, 15, 17, 18, 19, 20, 21, I::kSetFluorescence};

class StateChunk : public EffectTest {
protected:
    std::vector<std::uint8_t> chunkOf(ADoubler& e, std::int32_t index) {
        void* data = nullptr;
        const VstIntPtr size = e.dispatcher(effGetChunk, index, 0, &data, 0.0f);
        if (size <= 0 || data == nullptr) return {};
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        return std::vector<std::uint8_t>(bytes, bytes + size);
    }
    VstIntPtr give(ADoubler& e, std::vector<std::uint8_t> bytes, std::int32_t index = kBank) {
        return e.dispatcher(effSetChunk, index, static_cast<VstIntPtr>(bytes.size()), bytes.data(), 0.0f);
    }
    std::vector<float> readings(ADoubler& e) {
        std::vector<float> values;
        for (std::int32_t index = 0; index <= 21; ++index) values.push_back(e.getParameter(index));
        values.push_back(e.getParameter(I::kSetFluorescence));
        return values;
    }
    std::string programOf(ADoubler& e) {
        char name[64] = {};
        e.dispatcher(effGetProgramName, 0, 0, name, 0.0f);
        return name;
    }
    // A setting of every kind away from its default, off the panel's grid.
    void setEverything(ADoubler& e) {
        const float values[] = {1.0f, 0.0f, 1.0f, 0.8137f, 0.2113f, 0.7001f, 0.3333f, 0.0f, 0.6125f, 0.4321f,
                                0.2468f, 0.0f, 1.0f, 1.0f, 0.6182f, 0.7779f, 1.0f, 0.2357f, 0.5813f, 0.1212f, 1.0f};
        for (std::int32_t index = 0; index <= 21; ++index)
            if (index != I::kUnused16) e.setParameter(index, values[index < 16 ? index : index - 1]);
        e.setParameter(I::kSetFluorescence, 0.0f);
        char name[] = "Wide bass";
        e.dispatcher(effSetProgramName, 0, 0, name, 0.0f);
    }
    static StereoBlock noise(std::size_t frames) {
        std::mt19937 generator(25);
        std::uniform_real_distribution<float> sample(-0.9f, 0.9f);
        StereoBlock block(frames);
        for (std::size_t i = 0; i < frames; ++i) block.left[i] = sample(generator), block.right[i] = sample(generator);
        return block;
    }
    static StereoBlock play(ADoubler& e, const StereoBlock& input) {
        StereoBlock in = input, out(input.size());
        e.dispatcher(effSetSampleRate, 0, 0, nullptr, 48000.0f);
        e.dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
        e.processReplacing(in.channels(), out.channels(), static_cast<std::int32_t>(input.size()));
        return out;
    }
};

TEST_F(StateChunk, BringsEverySettingAndTheSoundBackAsBankAndAsProgram) {
    setEverything(*effect);
    const std::vector<std::uint8_t> bank = chunkOf(*effect, kBank);
    // 22 settings of 8 bytes, the 16-byte header, the name's length and "Wide bass".
    ASSERT_EQ(bank.size(), 16u + 22u * 8u + 4u + 9u);
    EXPECT_EQ(std::memcmp(bank.data(), "BrStWdFd\x01\0\0\0\x16\0\0\0", 16), 0);
    EXPECT_EQ(chunkOf(*effect, kProgram), bank);

    const StereoBlock input = noise(4096);
    const StereoBlock expected = play(*effect, input);
    for (std::int32_t as : {kBank, kProgram}) {
        std::unique_ptr<ADoubler> fresh = makeEffect();
        EXPECT_EQ(give(*fresh, bank, as), 1);
        EXPECT_EQ(readings(*fresh), readings(*effect)) << as;
        EXPECT_EQ(programOf(*fresh), "Wide bass");
        const StereoBlock got = play(*fresh, input);
        EXPECT_EQ(std::memcmp(got.left.data(), expected.left.data(), 4 * input.size()), 0) << as;
        EXPECT_EQ(std::memcmp(got.right.data(), expected.right.data(), 4 * input.size()), 0) << as;
    }
    // The latency stays the host program's, not the session's.
    std::unique_ptr<ADoubler> fresh = makeEffect();
    fresh->setParameter(I::kSetLatency, 300.0f);
    give(*fresh, bank);
    EXPECT_EQ(fresh->latency(), 300);
}

TEST_F(StateChunk, WhatIsNotAWholeChunkOfOursChangesNothing) {
    setEverything(*effect);
    const std::vector<std::uint8_t> good = chunkOf(*effect, kBank);
    std::unique_ptr<ADoubler> other = makeEffect();
    other->setParameter(I::kOutputWidth, 0.1f);
    const std::vector<float> before = readings(*other);
    const auto refused = [&](std::vector<std::uint8_t> bytes, const char* what) {
        EXPECT_EQ(give(*other, bytes), 0) << what;
        EXPECT_EQ(readings(*other), before) << what;
        EXPECT_EQ(programOf(*other), "Normal") << what;
    };
    EXPECT_EQ(other->dispatcher(effSetChunk, 0, 202, nullptr, 0.0f), 0);
    EXPECT_EQ(other->dispatcher(effSetChunk, 0, 0, const_cast<std::uint8_t*>(good.data()), 0.0f), 0);
    EXPECT_EQ(other->dispatcher(effSetChunk, 0, -5, const_cast<std::uint8_t*>(good.data()), 0.0f), 0);
    refused(std::vector<std::uint8_t>(good.begin(), good.end() - 1), "one byte short");
    refused(std::vector<std::uint8_t>(good.begin(), good.begin() + 100), "cut in a setting");
    std::vector<std::uint8_t> bytes = good;
    bytes[4] = 'u';
    refused(bytes, "another plug-in's");
    bytes = good;
    bytes[8] = 2;
    refused(bytes, "a newer version");
    bytes = good;
    bytes[12] = 23;
    refused(bytes, "a count that lies");
    bytes = good;
    bytes[16 + 8 * 16] = 16;  // the slot no setting uses, in place of index 17
    refused(bytes, "an index this build does not keep");
    bytes = good;
    bytes[16 + 8 * 21] = 50;  // the latency in place of the fluorescence switch
    refused(bytes, "the latency");
    bytes = good;
    for (std::size_t i = 0; i < 4; ++i) bytes[4 + i] = static_cast<std::uint8_t>("uFFT"[i]);
    refused(bytes, "Tonemark's");
}

TEST_F(StateChunk, ValuesNoHostCouldSetArePassedOver) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const ChunkSetting settings[] = {{I::kOutputWidth, nan},  {I::kInputRotation, inf}, {I::kDelay, -inf},
                                     {I::kGainLeft, 1.5f},    {I::kBassWidth, -0.25f},  {I::kInputWidth, 0.75f},
                                     {I::kBassOn, 1.0f},      {I::kCentreCut, 1e30f}};
    const std::vector<std::uint8_t> bytes =
        writeSettingsChunk(fourCharCode('W', 'd', 'F', 'd'), settings, sizeof settings / sizeof settings[0], "N");
    EXPECT_EQ(give(*effect, bytes), 1);
    // The good ones are taken; the rest keep their defaults.
    EXPECT_EQ(effect->getParameter(I::kInputWidth), 0.75f);
    EXPECT_EQ(effect->getParameter(I::kBassOn), 1.0f);
    for (std::int32_t index : {I::kOutputWidth, I::kInputRotation, I::kDelay, I::kGainLeft, I::kBassWidth, I::kCentreCut})
        EXPECT_EQ(effect->getParameter(index), 0.5f) << index;
    const StereoBlock out = play(*effect, noise(512));
    for (std::size_t i = 0; i < out.size(); ++i) ASSERT_TRUE(std::isfinite(out.left[i]) && std::isfinite(out.right[i]));
}

TEST_F(StateChunk, TheOpenPanelFollowsAChunk) {
    ADoublerEditor* editor = effect->getDoublerEditor();
    editor->open(nullptr);
    effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    std::unique_ptr<ADoubler> source = makeEffect();
    setEverything(*source);
    const std::uint32_t refreshes = editor->refreshCount();
    EXPECT_EQ(give(*effect, chunkOf(*source, kBank)), 1);
    effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(editor->refreshCount(), refreshes + 1);
    EXPECT_EQ(editor->getForm()->InitWidth.position(), 78);  // round(100 x 0.7779)
    EXPECT_FALSE(editor->getForm()->flure.LEDon());
    EXPECT_TRUE(editor->getForm()->Pseudo.LEDon());
}

}  // namespace
}  // namespace widefield::testing
