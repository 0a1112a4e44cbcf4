// LevelScaleTests.cpp — the 289-row scale: knots, both directions, readouts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "stereo/LevelScale.h"

using namespace widefield;

namespace {

std::string readout(double db) {
    char text[16];
    formatLevelText(db, text, sizeof text);
    return text;
}

struct KnotCase {
    std::int32_t row;
    double db;
};
const KnotCase kKnots[] = {{0, 6.0},    {30, 3.0},   {65, 1.0},    {74, 0.5},   {83, 0.1},   {90, 0.0},
                           {97, -0.1},  {106, -0.5}, {115, -1.0},  {147, -3.0}, {189, -6.0}, {230, -24.0}};

}  // namespace

TEST(LevelScale, FixedPointsOfFaderGainAndLevelRow) {
    EXPECT_EQ(faderGain(90), 1.0);
    EXPECT_EQ(faderGain(288), 0.0);
    EXPECT_NEAR(faderGain(0), std::pow(10.0, 6.0 / 20.0), 1e-12);
    EXPECT_EQ(levelRow(1.0), 90);
    EXPECT_EQ(levelRow(0.0), 288);
    EXPECT_EQ(levelRow(2.0), 0);
    EXPECT_EQ(levelRow(-0.5), 288);
    EXPECT_EQ(levelRow(std::nan("")), 288);
    EXPECT_EQ(levelRow(INFINITY), 0);
    EXPECT_EQ(gainToDb(0.0), -120.0);
    EXPECT_EQ(gainToDb(-1.0), -120.0);
}

TEST(LevelScale, EveryKnotMapsBothWays) {
    for (const KnotCase& knot : kKnots) {
        EXPECT_NEAR(faderDb(knot.row), knot.db, 1e-9) << "row " << knot.row;
        EXPECT_EQ(dbToFaderPosition(knot.db), knot.row) << knot.db << " dB";
    }
    // The second knot at +1 dB: its level comes to rest on the first.
    EXPECT_NEAR(faderDb(66), 1.0, 1e-9);
    EXPECT_EQ(dbToFaderPosition(1.0), 65);
    EXPECT_NEAR(faderDb(287), -24.0 - 57.0 * 72.0 / 58.0, 1e-9);
}

TEST(LevelScale, RowsBetweenKnotsAreLinearInDb) {
    EXPECT_NEAR(faderDb(100), -0.1 - 3.0 * 0.4 / 9.0, 1e-9);
    EXPECT_NEAR(faderDb(15), 4.5, 1e-9);
    EXPECT_NEAR(faderDb(70), 0.75, 1e-9);
    // Every row of the fader comes back to itself, apart from 66 (→ 65) and the
    // rows near silence where round(100 dB) merges neighbours.
    for (std::int32_t row = 0; row < 288; ++row) {
        if (row == 66) continue;
        EXPECT_EQ(dbToFaderPosition(faderDb(row)), row) << "row " << row;
    }
    // Monotonic: a louder level never lands lower on the scale.
    std::int32_t previous = 0;
    for (double db = 6.0; db > -100.0; db -= 0.01) {
        const std::int32_t row = dbToFaderPosition(db);
        EXPECT_GE(row, previous) << db;
        previous = row;
    }
}

TEST(LevelScale, ReadoutText) {
    EXPECT_EQ(readout(faderDb(0)), "6.00db");
    EXPECT_EQ(readout(faderDb(90)), "0.00db");
    EXPECT_EQ(readout(faderDb(189)), "-6.00db");
    EXPECT_EQ(readout(faderDb(100)), "-0.23db");
    EXPECT_EQ(readout(faderDb(287)), "-94.80db");
    EXPECT_EQ(readout(faderDb(288)), "-inf");
    EXPECT_EQ(readout(-119.5), "-inf");
    EXPECT_EQ(readout(-118.7), "-119.00db");  // three significant digits
    EXPECT_EQ(readout(-12.345), "-12.30db");
    EXPECT_EQ(readout(-0.001), "0.00db");
    EXPECT_EQ(readout(std::nan("")), "-inf");
    char small[4];
    formatLevelText(-6.0, small, sizeof small);
    EXPECT_STREQ(small, "-6.");
}

TEST(LevelText, ASeparatorOfSeveralBytesIsWrittenWholeOrNotAtAll) {
    const char arabic[] = "\xD9\xAB";  // U+066B
    char text[16];
    formatLevelText(-6.0, text, sizeof text, arabic);
    EXPECT_EQ(std::string(text), std::string("-6") + arabic + "00db");
    formatLevelText(-12.5, text, sizeof text, ",");
    EXPECT_STREQ(text, "-12,50db");
    char small[4];  // room for "-6" and one byte of the separator: the cut falls before it
    formatLevelText(-6.0, small, sizeof small, arabic);
    EXPECT_STREQ(small, "-6");
    formatLevelText(-200.0, text, sizeof text, arabic);
    EXPECT_STREQ(text, "-inf");
}
