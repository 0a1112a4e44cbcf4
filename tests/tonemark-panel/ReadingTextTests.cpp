// ReadingTextTests.cpp — the panel's note table, number texts and pointer position.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "tuner/ReadingText.h"

namespace tonemark {
namespace {

std::string frequencyText(float hertz, int accuracy, char separator = '.') {
    std::string text = "unchanged";
    formatFrequency(hertz, accuracy, separator, text);
    return text;
}

std::string centsText(float cents, int accuracy, char separator = '.') {
    std::string text = "unchanged";
    formatCents(cents, accuracy, separator, text);
    return text;
}

TEST(NoteTable, LettersAndSharpsOfAllTwelvePitchClasses) {
    const char* letters = "CCDDEFFGGAAB";
    const char* sharps = " # #  # # # ";
    for (int pitchClass = 0; pitchClass < 12; ++pitchClass) {
        SCOPED_TRACE(pitchClass);
        EXPECT_EQ(std::string(1, letters[pitchClass]), noteName(pitchClass).letter);
        EXPECT_EQ(std::string(1, sharps[pitchClass]), noteName(pitchClass).sharp);
    }
}

TEST(AccuracyNames, ThreeNamesAndNoneOutside) {
    EXPECT_STREQ("Economy", accuracyName(0));
    EXPECT_STREQ("Normal", accuracyName(1));
    EXPECT_STREQ("Super", accuracyName(2));
    EXPECT_EQ(nullptr, accuracyName(3));
    EXPECT_EQ(nullptr, accuracyName(-1));
}

TEST(FrequencyText, OneTwoOrThreeDecimalsByAccuracy) {
    EXPECT_EQ("440.0", frequencyText(440.0f, 0));
    EXPECT_EQ("440.00", frequencyText(440.0f, 1));
    EXPECT_EQ("440.000", frequencyText(440.0f, 2));
    EXPECT_EQ("8.2", frequencyText(8.1758f, 0));
    EXPECT_EQ("0.00", frequencyText(0.0f, 1));
    EXPECT_EQ("12543.854", frequencyText(12543.854f, 2));  // no digit grouping
}

TEST(FrequencyText, ExactHalvesRoundAwayFromZero) {
    EXPECT_EQ("440.13", frequencyText(440.125f, 1));  // 440.125 is exact in binary
    EXPECT_EQ("0.3", frequencyText(0.25f, 0));         // a plain printf would give 0.2
    EXPECT_EQ("99.938", frequencyText(99.9375f, 2));
    EXPECT_EQ("2.5", frequencyText(2.45f, 0));         // 2.45f lies just above 2.45
    EXPECT_EQ("0.9", frequencyText(0.95f, 0));         // 0.95f lies just below 0.95
}

TEST(FrequencyText, LocaleSeparatorAndUnknownSettings) {
    EXPECT_EQ("440,00", frequencyText(440.0f, 1, ','));
    EXPECT_EQ("unchanged", frequencyText(440.0f, 3));
    EXPECT_EQ("unchanged", frequencyText(440.0f, -1));
    EXPECT_EQ("unchanged", frequencyText(std::numeric_limits<float>::quiet_NaN(), 1));
    EXPECT_EQ("unchanged", frequencyText(std::numeric_limits<float>::infinity(), 1));
}

TEST(CentsText, WholeCentsAreSignedAndZeroIsPlus) {
    EXPECT_EQ("+0", centsText(0.0f, 1));
    EXPECT_EQ("+0", centsText(-0.4f, 1));
    EXPECT_EQ("-1", centsText(-0.6f, 1));
    EXPECT_EQ("+13", centsText(12.5f, 0));
    EXPECT_EQ("-13", centsText(-12.5f, 0));
    EXPECT_EQ("-13", centsText(-12.5f, 1));
    EXPECT_EQ("+50", centsText(49.6f, 1));
    EXPECT_EQ("-50", centsText(-50.0f, 0));
}

TEST(CentsText, OneDecimalWithSuper) {
    EXPECT_EQ("+0.0", centsText(0.0f, 2));
    EXPECT_EQ("+0.0", centsText(-0.04f, 2));
    EXPECT_EQ("-12.5", centsText(-12.5f, 2));
    EXPECT_EQ("+49.6", centsText(49.6f, 2));
    EXPECT_EQ("-0.1", centsText(-0.05f - 0.001f, 2));
    EXPECT_EQ("-40,0", centsText(-40.0f, 2, ','));
    EXPECT_EQ("unchanged", centsText(1.0f, 3));
}

TEST(Pointer, FollowsCentsOnTheFourHundredPixelScale) {
    EXPECT_EQ(200, pointerLeft(0.0f, 1, 400));
    EXPECT_EQ(150, pointerLeft(-12.5f, 1, 400));
    EXPECT_EQ(0, pointerLeft(-50.0f, 1, 400));
    EXPECT_EQ(400, pointerLeft(50.0f, 1, 400));
    EXPECT_EQ(201, pointerLeft(0.3f, 1, 400));    // 201.2 → 201
    EXPECT_EQ(202, pointerLeft(0.625f, 1, 400));  // 202.5 → 202, ties to even
    EXPECT_EQ(204, pointerLeft(0.875f, 1, 400));  // 203.5 → 204
    EXPECT_EQ(400, pointerLeft(80.0f, 1, 400));   // held to the scale
    EXPECT_EQ(0, pointerLeft(std::numeric_limits<float>::quiet_NaN(), 1, 400));
}

}  // namespace
}  // namespace tonemark
