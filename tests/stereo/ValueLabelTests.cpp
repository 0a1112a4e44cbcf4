// The slider label texts at their ends, their neutral positions and the
// rounding towards zero of the rotation labels.
#include <gtest/gtest.h>

#include "stereo/ValueLabels.h"

using namespace widefield;

TEST(ValueLabels, NeutralPositionsReadAsTheDefaults) {
    EXPECT_EQ(widthLabel(50).text, "100%");
    EXPECT_TRUE(widthLabel(50).neutral);
    EXPECT_EQ(rotationLabel(50).text, "0\xBA");
    EXPECT_EQ(reversePercentLabel(50).text, "0%");
    EXPECT_EQ(rightAsymmetryLabel(50).text, "0%");
    EXPECT_EQ(bassFrequencyLabel(90).text, "100Hz");
    EXPECT_TRUE(bassFrequencyLabel(90).neutral);
    EXPECT_EQ(bassBoostLabel(100).text, "0%");
    EXPECT_TRUE(bassBoostLabel(100).neutral);
    EXPECT_FALSE(bassBoostLabel(10).neutral);
}

TEST(ValueLabels, RotationRoundsTowardsZero) {
    EXPECT_EQ(rotationLabel(33).text, "-31\xBA");  // 5940 div 100 = 59
    EXPECT_EQ(rotationLabel(0).text, "-90\xBA");
    EXPECT_EQ(rotationLabel(100).text, "90\xBA");
    EXPECT_FALSE(rotationLabel(33).neutral);
}

TEST(ValueLabels, AsymmetryPairAndBassEnds) {
    EXPECT_EQ(reversePercentLabel(20).text, "60%");
    EXPECT_EQ(rightAsymmetryLabel(20).text, "-60%");
    EXPECT_EQ(bassFrequencyLabel(95).text, "50Hz");
    EXPECT_EQ(bassFrequencyLabel(0).text, "1000Hz");
}

TEST(ValueLabels, DelayShowsOneSideAtATime) {
    const DelayLabels atLeftEnd = delayLabels(0);
    EXPECT_EQ(atLeftEnd.left.text, "120");
    EXPECT_FALSE(atLeftEnd.left.neutral);
    EXPECT_EQ(atLeftEnd.right.text, "0");
    EXPECT_TRUE(atLeftEnd.right.neutral);
    const DelayLabels atRightEnd = delayLabels(239);
    EXPECT_EQ(atRightEnd.right.text, "119");
    EXPECT_EQ(atRightEnd.left.text, "0");
    const DelayLabels centred = delayLabels(120);
    EXPECT_TRUE(centred.left.neutral && centred.right.neutral);
    EXPECT_EQ(centred.left.text, "0");
}
