// NumberTextTests.cpp — AudioEffect's number-to-text routines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "framework/DAudioE.h"

namespace {

class TextEffect : public AudioEffect {
public:
    TextEffect() : AudioEffect(nullptr, 1, 1) {}
    void process(float**, float**, std::int32_t) override {}
};

// A subclass whose float2string override must not change dB2string.
class ShoutingEffect : public TextEffect {
public:
    void float2string(float, char* text) override { copyHostText(text, "LOUD", 8); }
};

template <class Routine>
std::string textOf(Routine routine) {
    char text[32];
    std::memset(text, 'x', sizeof text);
    routine(text);
    return text;
}

TEST(NumberText, FloatHasTwoDecimalsAndNamesNonFiniteValues) {
    TextEffect effect;
    auto f = [&](float value) { return textOf([&](char* t) { effect.float2string(value, t); }); };
    EXPECT_EQ(f(1.5f), "1.50");
    EXPECT_EQ(f(440.0f), "440.00");
    EXPECT_EQ(f(-2.345f), "-2.35");
    EXPECT_EQ(f(0.0f), "0.00");
    EXPECT_EQ(f(std::numeric_limits<float>::infinity()), "INF");
    EXPECT_EQ(f(-std::numeric_limits<float>::infinity()), "INF");
    EXPECT_EQ(f(std::numeric_limits<float>::quiet_NaN()), "NAN");
    EXPECT_EQ(f(1e20f), "1.00E+20");
    EXPECT_LE(f(-12345678.0f).size(), 8u);  // host parameter texts hold 8 characters
}

TEST(NumberText, LongIsRightAlignedInSevenAndCutAtEight) {
    TextEffect effect;
    auto l = [&](std::int32_t value) { return textOf([&](char* t) { effect.long2string(value, t); }); };
    EXPECT_EQ(l(42), "     42");
    EXPECT_EQ(l(-5), "     -5");
    EXPECT_EQ(l(12345678), "12345678");
    EXPECT_EQ(l(99999999), "99999999");
    EXPECT_EQ(l(-1234567), "-1234567");
    EXPECT_EQ(l(-12345678), "-1234567");
    EXPECT_EQ(l(100000000), " Huge!  ");
    EXPECT_EQ(l(std::numeric_limits<std::int32_t>::min()), "-2147483");
}

TEST(NumberText, DecibelsOfGainAndTheMinusInfinityText) {
    TextEffect effect;
    auto d = [&](float value) { return textOf([&](char* t) { effect.dB2string(value, t); }); };
    const std::string minusInfinity = std::string("   -") + static_cast<char>(0xB0) + "   ";
    EXPECT_EQ(d(1.0f), "0.00");
    EXPECT_EQ(d(0.5f), "-6.02");
    EXPECT_EQ(d(10.0f), "20.00");
    EXPECT_EQ(d(0.0f), minusInfinity);
    EXPECT_EQ(d(-1.0f), minusInfinity);
    EXPECT_EQ(d(std::numeric_limits<float>::quiet_NaN()), minusInfinity);

    ShoutingEffect shouting;
    EXPECT_EQ(textOf([&](char* t) { shouting.dB2string(1.0f, t); }), "0.00");
    EXPECT_EQ(textOf([&](char* t) { shouting.Hz2string(100.0f, t); }), "LOUD");  // through the virtual table
}

TEST(NumberText, HertzAndMillisecondsFollowTheSampleRate) {
    TextEffect effect;
    auto hz = [&](float samples) { return textOf([&](char* t) { effect.Hz2string(samples, t); }); };
    auto ms = [&](float samples) { return textOf([&](char* t) { effect.ms2string(samples, t); }); };
    EXPECT_EQ(hz(100.0f), "441.00");
    EXPECT_EQ(hz(0.0f), "0.00");
    EXPECT_EQ(hz(std::numeric_limits<float>::quiet_NaN()), "0.00");
    EXPECT_EQ(ms(441.0f), "10.00");
    effect.setSampleRate(0.0f);
    EXPECT_EQ(ms(441.0f), "INF");
    EXPECT_EQ(ms(0.0f), "NAN");
}

}  // namespace
