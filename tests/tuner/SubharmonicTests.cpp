// SubharmonicTests.cpp — readings whose strongest peak is a harmonic of the note:
// decaying fundamentals read on the open panel, organ mixtures, and the tones
// whose readings must stay as the plain peak search gives them.
//
// Every reading is compared with searchedReading, the search and interpolation
// run on the same magnitudes without the look below the chosen peak. Readings
// that move from a harmonic to the fundamental and readings left alone are
// tallied and printed at the end of the run.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "tests/tuner/ToneFixture.h"
#include "tuner/NoteConversion.h"
#include "tuner/PitchDetector.h"
#include "tuner/SubharmonicCheck.h"
#include "tuner/uFFT.h"

namespace tonemark {
namespace {

using testing::EffectHarness;
using testing::Partial;

int moved = 0;      // a harmonic's reading turned into the fundamental's
int unchanged = 0;  // bit for bit what the plain search gives

class TallyReport : public ::testing::Environment {
    void TearDown() override {
        std::printf("[ tally    ] readings moved from a harmonic to the fundamental: %d, unchanged: %d\n", moved,
                    unchanged);
    }
};
::testing::Environment* const tallyReport = ::testing::AddGlobalTestEnvironment(new TallyReport);

double frequencyOfNote(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// The note a reading shows on the panel at A3 = 440 Hz, or -1 for none.
int noteOf(const PitchReading& r) {
    const NoteReading note = convertToNote(r.frequency, r.noReading, 440);
    return note.shown ? note.noteNumber : -1;
}

// The strongest peak below 1.78 times the candidate, from 8 Hz up, interpolated.
PitchReading searchedReading(const ADoubler& fx) {
    const PitchDetector& d = fx.getDetector();
    const float* m = d.magnitudes();
    const std::int32_t n = d.fftSize();
    const double rate = fx.getAnalysisRate();
    const std::int32_t decimation = fx.getDecimationFactor();
    std::int32_t start = static_cast<std::int32_t>(std::nearbyint(8.0 * decimation * n / rate));
    if (start < 1) start = 1;
    float best = 0.0f;
    std::int32_t bestBin = 0, limit = n;
    for (std::int32_t b = start; b < n / 2 && b <= limit; ++b)
        if (m[b] > best && m[b] > 2.0f) {
            best = m[b];
            bestBin = b;
            limit = static_cast<std::int32_t>(std::nearbyint(1.78 * b));
        }
    PitchReading r;
    float vertex = 0.0f;
    if (bestBin < start || !interpolatePeak(bestBin, m[bestBin - 1], best, m[bestBin + 1], vertex)) return r;
    r.frequency = static_cast<float>(rate / n * vertex / decimation);
    r.noReading = 0.0f;
    return r;
}

// The effect's latest reading must be the searched one, bit for bit.
void expectUnchanged(const ADoubler& fx, const std::string& what) {
    const PitchReading searched = searchedReading(fx);
    EXPECT_EQ(fx.getNoReading(), searched.noReading) << what;
    EXPECT_EQ(fx.getDetectedFrequency(), searched.frequency) << what;
    ++unchanged;
}

// The effect's latest reading is the note `note` where the search gives `searchedNote`.
void expectMoved(const ADoubler& fx, int note, int searchedNote, const std::string& what) {
    EXPECT_EQ(noteOf({fx.getDetectedFrequency(), fx.getNoReading()}), note) << what;
    EXPECT_EQ(noteOf(searchedReading(fx)), searchedNote) << what;
    ++moved;
}

struct DecayingPartial {
    double frequency;
    double amplitude;
    double timeConstant;  // seconds
};

// The editor open on the headless backend; every step feeds 60 ms of the
// signal and lets the idle request run one analysis onto the panel.
class PanelRig {
public:
    explicit PanelRig(int accuracy) {
        h.clock.set(1000);
        h.fx().setParameter(1, static_cast<float>(accuracy));
        h.fx().dispatcher(effEditOpen, 0, 0, &hostWindow, 0.0f);
        form = h.editor().getForm();
    }
    void step(const std::vector<DecayingPartial>& tone) {
        const double pi = 3.14159265358979323846;
        std::vector<float> left(441), right(441, 0.0f), out0(441), out1(441);
        for (int block = 0; block < 6; ++block) {
            for (float& x : left) {
                const double t = static_cast<double>(sample++) / h.rate;
                double value = 0.0;
                for (const DecayingPartial& p : tone)
                    value += p.amplitude * std::exp(-t / p.timeConstant) * std::sin(2.0 * pi * p.frequency * t);
                x = static_cast<float>(value);
            }
            float* inputs[2] = {left.data(), right.data()};
            float* outputs[2] = {out0.data(), out1.data()};
            h.fx().processReplacing(inputs, outputs, 441);
        }
        h.clock.advance(60);
        h.editor().idle();
    }
    bool lit() const { return form->ledLit(); }
    std::string shownNote() const { return form->midiLbl.text(); }
    const ADoubler& fx() { return h.fx(); }

private:
    EffectHarness h;
    int hostWindow = 0;
    TuFFTForm* form = nullptr;
    std::int64_t sample = 0;
};

class SubharmonicAtAccuracy : public ::testing::TestWithParam<int> {};

// A quiet plucked note: the fundamental dies away faster than its second and
// third partials, falls under the search's threshold while they are still
// above it, and stays more than a fifth of them until the lamp goes out.
TEST_P(SubharmonicAtAccuracy, DecayingFundamentalIsShownFromAttackToEnd) {
    int toOctave = 0, toTwelfth = 0;
    for (int note : {40, 52, 64, 76}) {
        for (bool louderThird : {false, true}) {
            const double f = frequencyOfNote(note);
            const double second = louderThird ? 0.005 : 0.006, third = louderThird ? 0.006 : 0.005;
            const std::vector<DecayingPartial> tone = {{f, 0.01, 0.6}, {2.0 * f, second, 1.5}, {3.0 * f, third, 1.5}};
            PanelRig rig(GetParam());
            const std::string what = "note " + std::to_string(note) + (louderThird ? " twelfth" : " octave") + " louder";
            int litReadings = 0;
            for (int step = 0; step < 45; ++step) {
                rig.step(tone);
                if (!rig.lit()) continue;
                ++litReadings;
                ASSERT_EQ(rig.shownNote(), std::to_string(note)) << what << " step " << step;
                const int searched = noteOf(searchedReading(rig.fx()));
                if (searched == note) {
                    expectUnchanged(rig.fx(), what);
                } else {
                    expectMoved(rig.fx(), note, searched, what);
                    EXPECT_TRUE(searched == note + 12 || searched == note + 19) << what << " searched " << searched;
                    (searched == note + 12 ? toOctave : toTwelfth)++;
                }
            }
            EXPECT_GT(litReadings, 15) << what;
            EXPECT_FALSE(rig.lit()) << what << ": the note has died away by the last step";
        }
    }
    // Without the look below, the panel would have shown the octave and the twelfth.
    EXPECT_GT(toOctave, 20);
    EXPECT_GT(toTwelfth, 20);
}

// The fifth louder than the fundamental lets the search climb to the louder
// octave; the fundamental is still well above a fifth of it.
TEST_P(SubharmonicAtAccuracy, OrganMixtureReadsTheFundamental) {
    for (int note : {48, 60, 72}) {
        const double f = frequencyOfNote(note);
        EffectHarness h;
        h.measureTone({{f, 0.04}, {1.5 * f, 0.08}, {2.0 * f, 0.12}}, GetParam());
        expectMoved(h.fx(), note, note + 12, "mixture " + std::to_string(note));
        EXPECT_NEAR(h.fx().getDetectedFrequency(), f, 0.05) << note;
    }
}

// A louder partial at 1.5 times is no harmonic of anything below it.
TEST_P(SubharmonicAtAccuracy, LoneLouderFifthKeepsItsReading) {
    for (int note : {48, 60, 72}) {
        const double f = frequencyOfNote(note);
        EffectHarness h;
        h.measureTone({{f, 0.04}, {1.5 * f, 0.12}}, GetParam());
        expectUnchanged(h.fx(), "fifth " + std::to_string(note));
        EXPECT_EQ(noteOf(searchedReading(h.fx())), note + 7) << note;
    }
}

// The quarter is tried before the half: a fourth harmonic chosen over a
// fundamental and an octave that are both under the threshold reads the
// fundamental, not the octave.
TEST_P(SubharmonicAtAccuracy, QuarterIsTriedBeforeHalf) {
    EffectHarness h;
    h.measureTone({{110.0, 0.0014}, {220.0, 0.0016}, {440.0, 0.0056}}, GetParam());
    expectMoved(h.fx(), 45, 69, "fourth harmonic");
}

TEST_P(SubharmonicAtAccuracy, CleanSinesAreUnchanged) {
    for (double amplitude : {0.001, 1.0}) {
        for (double f : {27.5, 41.2, 82.41, 110.0, 261.63, 440.0, 987.77, 1760.0, 3000.0, 4186.0}) {
            EffectHarness h;
            h.measureTone({{f, amplitude}}, GetParam(), 1.5);
            expectUnchanged(h.fx(), std::to_string(f) + " Hz at " + std::to_string(amplitude));
            // -60 dB lies under the threshold.
            EXPECT_EQ(h.fx().getNoReading(), amplitude == 1.0 ? 0.0f : 1.0f) << f;
            if (amplitude == 1.0) {
                EXPECT_NEAR(h.fx().getDetectedFrequency(), f, 0.05) << f;
            }
        }
    }
}

// The fundamental is a candidate and its harmonics lie beyond the search's
// limit: the plain search already reads the note, and nothing lies below it.
TEST_P(SubharmonicAtAccuracy, WeakFundamentalsAreUnchanged) {
    const std::vector<std::vector<Partial>> tones = {
        {{110.0, 0.1}, {220.0, 0.25}},
        {{110.0, 0.05}, {330.0, 0.25}},
        {{82.41, 0.03}, {164.81, 0.2}, {247.22, 0.15}, {329.63, 0.1}},
        {{196.0, 0.01}, {392.0, 0.3}, {588.0, 0.2}, {784.0, 0.1}, {980.0, 0.05}},
        {{440.0, 0.02}, {880.0, 0.2}, {1320.0, 0.1}}};
    for (const std::vector<Partial>& tone : tones) {
        EffectHarness h;
        h.measureTone(tone, GetParam());
        expectUnchanged(h.fx(), std::to_string(tone[0].frequency));
        EXPECT_NEAR(h.fx().getDetectedFrequency(), tone[0].frequency, 0.05) << tone[0].frequency;
    }
}

TEST_P(SubharmonicAtAccuracy, SilenceAndWhiteNoiseStayDark) {
    EffectHarness silent;
    silent.measureTone({}, GetParam());
    expectUnchanged(silent.fx(), "silence");
    EXPECT_EQ(silent.fx().getNoReading(), 1.0f);

    EffectHarness noisy;
    noisy.fx().setParameter(1, static_cast<float>(GetParam()));
    std::mt19937 random(16);
    std::uniform_real_distribution<float> uniform(-0.02f, 0.02f);
    std::vector<float> left(512), right(512, 0.0f), out0(512), out1(512);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {out0.data(), out1.data()};
    for (int block = 0; block < 20; ++block) {
        for (int analysis = 0; analysis < 5; ++analysis) {
            for (float& x : left) x = uniform(random);
            noisy.fx().processReplacing(inputs, outputs, 512);
        }
        noisy.fx().measure();
        expectUnchanged(noisy.fx(), "noise " + std::to_string(block));
        EXPECT_EQ(noisy.fx().getNoReading(), 1.0f) << block;
    }
}

// A quiet note with a partial under the threshold near a third of it: a body
// resonance 0.8% or 1.5% off the third leaves the note's reading alone; at the
// third itself, or within half a percent of it, the lower partial is the note.
TEST_P(SubharmonicAtAccuracy, ResonanceNearAThirdKeepsTheReading) {
    const double f = frequencyOfNote(64);
    for (double offset : {0.015, -0.015, 0.008, -0.008}) {
        EffectHarness h;
        h.measureTone({{f, 0.006}, {f / 3.0 * (1.0 + offset), 0.0015}}, GetParam());
        expectUnchanged(h.fx(), "offset " + std::to_string(offset));
        EXPECT_EQ(noteOf(searchedReading(h.fx())), 64) << offset;
    }
    for (double offset : {0.0, 0.003}) {
        EffectHarness h;
        h.measureTone({{f, 0.006}, {f / 3.0 * (1.0 + offset), 0.0015}}, GetParam());
        expectMoved(h.fx(), 45, 64, "offset " + std::to_string(offset));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryAccuracy, SubharmonicAtAccuracy, ::testing::Values(0, 1, 2));

// A loud note whose fundamental falls under the threshold when its octave is a
// hundred times stronger: far under a fifth, so the octave stands as searched.
TEST(Subharmonic, FundamentalUnderAFifthLeavesTheOctave) {
    for (int note : {52, 64}) {
        const double f = frequencyOfNote(note);
        PanelRig rig(1);
        int octaveReadings = 0;
        for (int step = 0; step < 34; ++step) {
            rig.step({{f, 0.2, 0.15}, {2.0 * f, 0.2, 1.5}, {3.0 * f, 0.2, 1.5}});
            expectUnchanged(rig.fx(), "note " + std::to_string(note) + " step " + std::to_string(step));
            if (rig.lit() && rig.shownNote() == std::to_string(note + 12)) ++octaveReadings;
        }
        EXPECT_GT(octaveReadings, 5) << note;
    }
}

// Literal spectra for the rules a synthetic tone rarely isolates.
class SubharmonicCheck : public ::testing::Test {
protected:
    void peak(int bin, float below, float height, float above) {
        m[bin - 1] = below;
        m[bin] = height;
        m[bin + 1] = above;
    }
    std::vector<float> m = std::vector<float>(400, 0.0f);
};

TEST_F(SubharmonicCheck, SkirtOfAPeakAboveTheWindowIsNoPartial) {
    peak(300, 5.0f, 10.0f, 5.0f);
    // Bin 101 tops the window round 100 and its parabola's vertex lies at
    // exactly 100, but it only rises into the peak at 102.
    peak(101, 3.9f, 4.0f, 4.3f);
    m[103] = 6.0f;
    EXPECT_EQ(fundamentalBelow(m.data(), 10, 300), 300);
    // A peak of its own at 101 is the third of a peak at 303.
    m[102] = 3.9f;
    peak(303, 5.0f, 10.0f, 5.0f);
    EXPECT_EQ(fundamentalBelow(m.data(), 10, 303), 101);
}

TEST_F(SubharmonicCheck, StartBinIsNoPartial) {
    peak(40, 5.0f, 10.0f, 5.0f);
    peak(10, 2.5f, 5.0f, 2.5f);
    EXPECT_EQ(fundamentalBelow(m.data(), 10, 40), 40);
    EXPECT_EQ(fundamentalBelow(m.data(), 9, 40), 10);
}

}  // namespace
}  // namespace tonemark
