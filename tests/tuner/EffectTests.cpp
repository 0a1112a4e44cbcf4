// EffectTests.cpp — Tonemark's effect at the host boundary: record values,
// pass-through, parameters, programs, the activity flags and the sample rate.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "tests/tuner/ToneFixture.h"

namespace tonemark {

using testing::EffectHarness;

TEST(Effect, RecordAndDefaults) {
    EffectHarness h;
    AEffect* e = h.fx().getAeffect();
    EXPECT_EQ(e->numPrograms, 1);
    EXPECT_EQ(e->numParams, 2);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, 29);
    EXPECT_EQ(e->uniqueID, 0x75464654);
    EXPECT_EQ(h.fx().getParameter(ADoubler::kReferencePitch), 440.0f);
    EXPECT_EQ(h.fx().getParameter(ADoubler::kAccuracy), 1.0f);
    EXPECT_EQ(h.fx().getParameter(2), 0.0f);
    EXPECT_EQ(h.fx().getDetector().fftSize(), 16384);
    EXPECT_EQ(h.fx().getDetector().windowLength(), 6000);
    EXPECT_EQ(h.fx().getAnalysisRate(), 44100.0f);
    EXPECT_TRUE(h.fx().isAudioStale());
    EXPECT_FALSE(h.fx().isAudioSeen());
    EXPECT_EQ(h.fx().getNoReading(), 1.0f);
    EXPECT_TRUE(h.editor().updatePending());  // construction posts an update
    EXPECT_EQ(h.fx().getVu(), 0.0f);
    char name[64];
    h.fx().getProgramName(name);
    EXPECT_STREQ(name, "Normal");
}

class PassThrough : public ::testing::Test {
protected:
    void SetUp() override {
        std::mt19937 random(3);
        std::uniform_real_distribution<float> uniform(-2.0f, 2.0f);
        for (auto* v : {&in0, &in1, &out0, &out1}) {
            v->resize(frames);
            for (float& x : *v) x = uniform(random);
        }
        in0[5] = -0.0f;
        in1[6] = std::numeric_limits<float>::denorm_min();
    }
    const int frames = 777;
    std::vector<float> in0, in1, out0, out1;
};

TEST_F(PassThrough, ProcessReplacingCopiesBitForBit) {
    EffectHarness h;
    float* inputs[2] = {in0.data(), in1.data()};
    float* outputs[2] = {out0.data(), out1.data()};
    h.fx().processReplacing(inputs, outputs, frames);
    EXPECT_EQ(std::memcmp(out0.data(), in0.data(), frames * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(out1.data(), in1.data(), frames * sizeof(float)), 0);
    // In place, as hosts often do.
    std::vector<float> copy0 = in0, copy1 = in1;
    h.fx().processReplacing(inputs, inputs, frames);
    EXPECT_EQ(std::memcmp(copy0.data(), in0.data(), frames * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(copy1.data(), in1.data(), frames * sizeof(float)), 0);
}

TEST_F(PassThrough, ProcessAddsToTheOutput) {
    EffectHarness h;
    std::vector<float> before0 = out0, before1 = out1;
    float* inputs[2] = {in0.data(), in1.data()};
    float* outputs[2] = {out0.data(), out1.data()};
    h.fx().process(inputs, outputs, frames);
    for (int i = 0; i < frames; ++i) {
        EXPECT_EQ(out0[i], before0[i] + in0[i]);
        EXPECT_EQ(out1[i], before1[i] + in1[i]);
    }
    EXPECT_NE(h.fx().getRing().newestIndex(), 0);  // process feeds the ring too
}

TEST(Effect, ParametersRoundHalvesToEven) {
    EffectHarness h;
    h.fx().setParameter(ADoubler::kReferencePitch, 440.5f);
    EXPECT_EQ(h.fx().getReferencePitch(), 440);
    h.fx().setParameter(ADoubler::kReferencePitch, 441.6f);
    EXPECT_EQ(h.fx().getParameter(ADoubler::kReferencePitch), 442.0f);
    h.fx().setParameter(ADoubler::kReferencePitch, 441.5f);
    EXPECT_EQ(h.fx().getReferencePitch(), 442);
    h.fx().setParameter(ADoubler::kAccuracy, 0.5f);  // ties to 0
    EXPECT_EQ(h.fx().getAccuracy(), 0);
    EXPECT_EQ(h.fx().getDetector().fftSize(), 16384);  // until the next measurement
    h.fx().measure();
    EXPECT_EQ(h.fx().getDetector().fftSize(), 8192);
}

TEST(Effect, AccuracyOutsideTheSettingsIsStoredButKeepsTheConfiguration) {
    EffectHarness h;
    h.fx().setParameter(ADoubler::kAccuracy, 2.0f);
    h.fx().measure();
    h.fx().setParameter(ADoubler::kAccuracy, 3.0f);
    h.fx().measure();
    EXPECT_EQ(h.fx().getAccuracy(), 3);
    EXPECT_EQ(h.fx().getParameter(ADoubler::kAccuracy), 3.0f);
    EXPECT_EQ(h.fx().getDetector().fftSize(), 32768);
    h.fx().setParameter(ADoubler::kAccuracy, -1.0f);
    h.fx().measure();
    EXPECT_EQ(h.fx().getParameter(ADoubler::kAccuracy), -1.0f);
    EXPECT_EQ(h.fx().getDetector().fftSize(), 32768);
}

TEST(Effect, UnusableParameterValuesChangeNothing) {
    EffectHarness h;
    h.editor().idle();
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity(), 3e9f, -3e9f, 2147483648.0f}) {
        h.fx().setParameter(ADoubler::kReferencePitch, bad);
        h.fx().setParameter(ADoubler::kAccuracy, bad);
        EXPECT_EQ(h.fx().getReferencePitch(), 440) << bad;
        EXPECT_EQ(h.fx().getAccuracy(), 1) << bad;
    }
    EXPECT_FALSE(h.editor().updatePending());
    h.fx().setParameter(ADoubler::kReferencePitch, -2147483648.0f);  // the lowest int32 is still a value
    EXPECT_EQ(h.fx().getReferencePitch(), std::numeric_limits<std::int32_t>::min());
}

TEST(Effect, SettingAnUnchangedValueCallsNothingOnTheEditor) {
    EffectHarness h;
    h.editor().idle();
    ASSERT_FALSE(h.editor().updatePending());
    h.fx().setParameter(ADoubler::kReferencePitch, 440.0f);
    h.fx().setParameter(ADoubler::kAccuracy, 1.2f);
    EXPECT_FALSE(h.editor().updatePending());
    h.fx().setParameter(ADoubler::kReferencePitch, 441.0f);
    EXPECT_TRUE(h.editor().updatePending());
    h.editor().idle();
    h.fx().setParameter(ADoubler::kRequestUpdate, 0.0f);
    EXPECT_TRUE(h.editor().updatePending());
    h.editor().idle();
    h.fx().setParameter(55, 1.0f);
    EXPECT_FALSE(h.editor().updatePending());
}

TEST(Effect, WatchdogSequence) {
    EffectHarness h;
    std::vector<float> buffer(16, 0.0f);
    float* io[2] = {buffer.data(), buffer.data()};
    h.fx().processReplacing(io, io, 16);
    EXPECT_FALSE(h.fx().isAudioStale());
    h.editor().idle();
    h.fx().setParameter(ADoubler::kAudioWatchdog, 0.0f);  // audio was seen: clears the mark only
    EXPECT_FALSE(h.fx().isAudioStale());
    EXPECT_FALSE(h.fx().isAudioSeen());
    h.fx().setParameter(ADoubler::kAudioWatchdog, 0.0f);  // nothing since: stale
    EXPECT_TRUE(h.fx().isAudioStale());
    EXPECT_FALSE(h.editor().updatePending());
    h.fx().processReplacing(io, io, 0);  // a block of 0 frames counts
    EXPECT_FALSE(h.fx().isAudioStale());
    EXPECT_TRUE(h.editor().updatePending());
    h.editor().idle();
    h.fx().process(io, io, 16);
    EXPECT_FALSE(h.editor().updatePending());  // exactly one update per stale period
}

TEST(Effect, ProgramsAndLongNames) {
    EffectHarness h;
    h.fx().setProgram(0);
    EXPECT_EQ(h.fx().getProgram(), 0);
    char longName[80];
    std::memset(longName, 'x', sizeof longName - 1);
    longName[sizeof longName - 1] = '\0';
    h.fx().setProgramName(longName);
    char back[80];
    std::memset(back, '?', sizeof back);
    h.fx().getProgramName(back);
    EXPECT_EQ(std::strlen(back), kMaxProgramNameLength);  // what a host buffer holds
    char shortName[] = "Guitar";
    h.fx().setProgramName(shortName);
    h.fx().getProgramName(back);
    EXPECT_STREQ(back, "Guitar");
    EXPECT_EQ(h.fx().dispatcher(effSetProgramName, 0, 0, nullptr, 0.0f), 0);
}

// A host that keeps only state (the record offers no chunks to VST 2 hosts)
// gets both settings and the name back; another plug-in's chunk or a setting
// beyond the panel's reach changes nothing.
TEST(Effect, StateChunkKeepsBothSettingsAndTheName) {
    EffectHarness h, fresh;
    h.fx().setParameter(ADoubler::kReferencePitch, 432.0f);
    h.fx().setParameter(ADoubler::kAccuracy, 2.0f);
    char name[] = "Bass";
    h.fx().setProgramName(name);
    void* data = nullptr;
    const VstIntPtr size = h.fx().dispatcher(effGetChunk, 0, 0, &data, 0.0f);
    ASSERT_EQ(size, 16 + 2 * 8 + 4 + 4);
    std::vector<std::uint8_t> chunk(static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + size);
    EXPECT_EQ(std::memcmp(chunk.data(), "BrStuFFT", 8), 0);

    std::vector<std::uint8_t> widefield = chunk;
    std::memcpy(widefield.data() + 4, "WdFd", 4);
    EXPECT_EQ(fresh.fx().dispatcher(effSetChunk, 0, size, widefield.data(), 0.0f), 0);
    std::vector<std::uint8_t> tooHigh = chunk;
    const float far = 1000.0f;
    std::memcpy(tooHigh.data() + 20, &far, 4);  // the reference, as 1000 Hz
    EXPECT_EQ(fresh.fx().dispatcher(effSetChunk, 0, size, tooHigh.data(), 0.0f), 1);
    EXPECT_EQ(fresh.fx().getParameter(ADoubler::kReferencePitch), 440.0f);
    EXPECT_EQ(fresh.fx().getParameter(ADoubler::kAccuracy), 2.0f);

    EXPECT_EQ(fresh.fx().dispatcher(effSetChunk, 1, size, chunk.data(), 0.0f), 1);
    EXPECT_EQ(fresh.fx().getParameter(ADoubler::kReferencePitch), 432.0f);
    char back[64];
    fresh.fx().getProgramName(back);
    EXPECT_STREQ(back, "Bass");
    EXPECT_EQ(h.fx().getAeffect()->flags & effFlagsProgramChunks, 0);
}

TEST(Effect, SampleRateIsFollowedAtSetSampleRateAndResume) {
    EffectHarness h;
    h.fx().setSampleRate(96000.0f);
    EXPECT_EQ(h.fx().getAnalysisRate(), 96000.0f);
    EXPECT_EQ(h.fx().getDecimationFactor(), 8);
    h.fx().dispatcher(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    h.fx().dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
    EXPECT_EQ(h.fx().getAnalysisRate(), 48000.0f);
    EXPECT_EQ(h.fx().getDecimationFactor(), 4);
    for (float bad : {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(), 1e12f}) {
        h.fx().setSampleRate(bad);
        EXPECT_EQ(h.fx().getAnalysisRate(), 48000.0f) << bad;
    }
    h.fx().setSampleRate(44100.0f);
    EXPECT_EQ(h.fx().getDecimationFactor(), 4);
}

TEST(Effect, ResumeRefreshesAndPostsAndForgetsTheAudioBefore) {
    EffectHarness h;
    h.feed({{440.0, 0.5}}, 0.1);
    const std::int32_t index = h.fx().getRing().newestIndex();
    h.editor().idle();
    h.fx().dispatcher(effMainsChanged, 0, 0, nullptr, 0.0f);
    EXPECT_FALSE(h.editor().updatePending());
    h.fx().dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
    EXPECT_TRUE(h.editor().updatePending());
    EXPECT_EQ(h.fx().getRing().newestIndex(), index);
    // Silence after the restart: the ring holds nothing but silence.
    h.feed({}, 0.01);
    bool silent = true;
    for (std::int32_t i = 0; i < DecimatedRing::kLength; ++i) silent = silent && h.fx().getRing().at(i) == 0.0f;
    EXPECT_TRUE(silent);
}

TEST(Effect, AtARateTheTunerCannotFollowItReadsNothing) {
    // The decimation follows 8 to 768 kHz; at 1 MHz a 440 Hz tone would read as another note.
    EffectHarness h(1.0e6f);
    const PitchReading reading = h.measureTone({{440.0, 0.5}}, 1);
    EXPECT_EQ(reading.noReading, 1.0f);
    EXPECT_EQ(reading.frequency, 0.0f);
    EXPECT_EQ(h.fx().getNoReading(), 1.0f);
}

}  // namespace tonemark
