// NoteConversionTests.cpp — frequency to note number, octave, pitch class, cents.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tuner/NoteConversion.h"

namespace tonemark {

TEST(NoteConversion, Log2UsesTheTenDigitConstant) {
    EXPECT_EQ(Log2(440.0f), static_cast<float>(std::log(440.0) * 1.4426950408));
    EXPECT_NEAR(Log2(8.0f), 3.0f, 1e-6f);
}

TEST(NoteConversion, ReferenceTable) {
    struct Case {
        float frequency;
        std::int32_t reference, note, octave, pitchClass;
        float cents, tolerance;
    };
    const Case cases[] = {
        {440.0f, 440, 69, 3, 9, 0.0f, 0.001f},    {466.16f, 440, 70, 3, 10, 0.0f, 0.05f},
        {440.0f, 453, 68, 3, 8, 49.6f, 0.1f},     {440.0f, 425, 70, 3, 10, -40.0f, 0.1f},
        {261.6256f, 440, 60, 3, 0, 0.0f, 0.01f},  {8.1758f, 440, 0, -2, 0, 0.0f, 0.05f},
        {2637.02f, 440, 100, 6, 4, 0.0f, 0.05f},
    };
    for (const Case& c : cases) {
        const NoteReading r = convertToNote(c.frequency, 0.0f, c.reference);
        EXPECT_TRUE(r.shown) << c.frequency;
        EXPECT_EQ(r.noteNumber, c.note) << c.frequency;
        EXPECT_EQ(r.octave, c.octave) << c.frequency;
        EXPECT_EQ(r.pitchClass, c.pitchClass) << c.frequency;
        EXPECT_NEAR(r.cents, c.cents, c.tolerance) << c.frequency;
    }
}

TEST(NoteConversion, ShownOnlyForValidReadingsFromNote0To112) {
    EXPECT_FALSE(convertToNote(440.0f, 1.0f, 440).shown);
    const NoteReading highest = convertToNote(5274.04f, 0.0f, 440);  // E7
    EXPECT_EQ(highest.noteNumber, 112);
    EXPECT_EQ(highest.octave, 7);
    EXPECT_TRUE(highest.shown);
    EXPECT_EQ(convertToNote(5587.65f, 0.0f, 440).noteNumber, 113);
    EXPECT_FALSE(convertToNote(5587.65f, 0.0f, 440).shown);
    EXPECT_LT(convertToNote(7.0f, 0.0f, 440).noteNumber, 0);
    EXPECT_FALSE(convertToNote(7.0f, 0.0f, 440).shown);
}

TEST(NoteConversion, HalfwayRoundsToTheEvenNote) {
    // d is a difference of two floats, so 12·d is a tie only for d = 1/8 (1.5)
    // or 3/8 (4.5) and the like. Find float frequencies that give exactly these.
    const float lr = Log2(440.0f);
    struct Tie {
        double steps;
        float from, to;
        std::int32_t note;
    };
    for (const Tie& tie : {Tie{1.5, 475.0f, 485.0f, 71}, Tie{4.5, 565.0f, 575.0f, 73}}) {
        bool found = false;
        for (float f = tie.from; f < tie.to && !found; f = std::nextafter(f, tie.to)) {
            if (12.0 * (double(Log2(f)) - lr) != tie.steps) continue;
            found = true;
            EXPECT_EQ(convertToNote(f, 0.0f, 440).noteNumber, tie.note) << f;
            EXPECT_NEAR(convertToNote(f, 0.0f, 440).cents, tie.note == 71 ? -50.0f : 50.0f, 1e-3f);
        }
        EXPECT_TRUE(found) << tie.steps;
    }
}

TEST(NoteConversion, NonPositiveOrNonFiniteFrequencyIsNoNote) {
    for (float f : {0.0f, -440.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()})
        EXPECT_FALSE(convertToNote(f, 0.0f, 440).shown) << f;
    EXPECT_FALSE(convertToNote(1e-38f, 0.0f, 440).shown);
}

}  // namespace tonemark
