// HostTextTests.cpp — what a host reads about the parameters of both plug-ins:
// names, units and value texts through the dispatcher, the automation answer
// (effCanBeAutomated), and requests a host should not make.
//
// Every request goes through the record's dispatcher, as a host sends it, into a
// buffer filled with a marker byte, so a text that runs past its terminator or
// a write that should not happen shows up.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <limits>
#include <string>

#include "stereo/ParameterTexts.h"
#include "tests/robustness/HostHarness.h"
#include "tuner/ParameterTexts.h"

namespace {

using hardening::HarnessServices;
using hardening::Instance;
using hardening::PluginKind;

constexpr unsigned char kMarker = 0xA5;
constexpr std::size_t kBufferSize = 64;

const PluginKind& tonemarkKind() { return hardening::plugins()[0]; }
const PluginKind& widefieldKind() { return hardening::plugins()[1]; }

// One text request into a marked buffer.
struct HostText {
    char buffer[kBufferSize];
    VstIntPtr result = -1;

    HostText(Instance& instance, std::int32_t opcode, std::int32_t index) {
        std::memset(buffer, kMarker, sizeof buffer);
        result = instance.dispatch(opcode, index, 0, buffer);
    }
    bool untouched() const {
        for (char c : buffer)
            if (static_cast<unsigned char>(c) != kMarker) return false;
        return true;
    }
    // The text, when it ends within the host's 8 characters and the zero and
    // nothing after the zero was written; otherwise a description of the fault.
    std::string text() const {
        const void* zero = std::memchr(buffer, '\0', kMaxParameterTextLength + 1);
        if (zero == nullptr) return "<no terminator within 9 bytes>";
        const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(zero) - buffer);
        for (std::size_t i = length + 1; i < sizeof buffer; ++i)
            if (static_cast<unsigned char>(buffer[i]) != kMarker) return "<written past the terminator>";
        return std::string(buffer, length);
    }
};

class HostTexts : public ::testing::Test {
protected:
    HarnessServices services;
    Instance tonemark{tonemarkKind(), services.get()};
    Instance widefield{widefieldKind(), services.get()};

    static std::string name(Instance& i, std::int32_t index) { return HostText(i, effGetParamName, index).text(); }
    static std::string unit(Instance& i, std::int32_t index) { return HostText(i, effGetParamLabel, index).text(); }
    static std::string display(Instance& i, std::int32_t index) {
        return HostText(i, effGetParamDisplay, index).text();
    }
    std::string widefieldDisplayAt(std::int32_t index, float value) {
        widefield.set(index, value);
        return display(widefield, index);
    }
};

// ---- Names and units ------------------------------------------------------------------

TEST_F(HostTexts, WidefieldNamesAndUnitsFollowThePanel) {
    const char* names[] = {"L +/-",   "R +/-",   "MONO",     "OutWidth", "In Rot.", "Out Rot.", "Centre", "Bypass",
                           "Delay",   "Fader L", "Fader R",  "MeterByp", "R<->L",   "DCfilter", "Left"};
    const char* units[] = {"", "", "", "%", "deg", "deg", "%", "", "samples", "dB", "dB", "", "", "", "%"};
    for (std::int32_t i = 0; i < 15; ++i) {
        EXPECT_EQ(name(widefield, i), names[i]) << "parameter " << i;
        EXPECT_EQ(unit(widefield, i), units[i]) << "parameter " << i;
    }
}

TEST_F(HostTexts, TonemarkNamesAndUnits) {
    EXPECT_EQ(name(tonemark, 0), "Ref. A3");
    EXPECT_EQ(unit(tonemark, 0), "Hz");
    EXPECT_EQ(name(tonemark, 1), "Accuracy");
    EXPECT_EQ(unit(tonemark, 1), "");
}

TEST_F(HostTexts, NamesAreDistinctSoAHostCanTellTheParametersApart) {
    for (std::int32_t a = 0; a < 15; ++a)
        for (std::int32_t b = a + 1; b < 15; ++b)
            EXPECT_NE(name(widefield, a), name(widefield, b)) << "parameters " << a << " and " << b;
}

// ---- Value texts ----------------------------------------------------------------------

TEST_F(HostTexts, WidefieldDefaultsReadAsThePanelShowsThem) {
    // 100% and 0º, 0% in the balance, no delay, 0.00 dB on both faders, every switch off.
    const char* expected[] = {"Off", "Off", "Off",  "100", "0",   "0",   "0",  "Off",
                              "0",   "0.00", "0.00", "Off", "Off", "Off", "0"};
    for (std::int32_t i = 0; i < 15; ++i) EXPECT_EQ(display(widefield, i), expected[i]) << "parameter " << i;
}

TEST_F(HostTexts, WidefieldSlidersReadAsTheirLabels) {
    // Widths: twice the slider position; the position is round(value x 100).
    EXPECT_EQ(widefieldDisplayAt(3, 0.0f), "0");
    EXPECT_EQ(widefieldDisplayAt(3, 1.0f), "200");
    EXPECT_EQ(widefieldDisplayAt(3, 0.8f), "160");
    EXPECT_EQ(widefieldDisplayAt(3, 0.503f), "100");  // the slider stands at 50
    // Rotations: (pos x 180) div 100 - 90, rounding towards zero.
    EXPECT_EQ(widefieldDisplayAt(4, 0.33f), "-31");
    EXPECT_EQ(widefieldDisplayAt(4, 0.0f), "-90");
    EXPECT_EQ(widefieldDisplayAt(5, 1.0f), "90");
    EXPECT_EQ(widefieldDisplayAt(5, 0.67f), "30");
    // Centre and the balance's Left column: 100 - 2 x pos.
    EXPECT_EQ(widefieldDisplayAt(6, 0.2f), "60");
    EXPECT_EQ(widefieldDisplayAt(14, 0.2f), "60");
    EXPECT_EQ(widefieldDisplayAt(14, 1.0f), "-100");
}

TEST_F(HostTexts, WidefieldDelayNamesTheDelayedSide) {
    EXPECT_EQ(widefieldDisplayAt(8, 0.0f), "L 120");
    EXPECT_EQ(widefieldDisplayAt(8, 0.25f), "L 60");
    EXPECT_EQ(widefieldDisplayAt(8, 0.5f), "0");
    EXPECT_EQ(widefieldDisplayAt(8, 0.75f), "R 60");
    EXPECT_EQ(widefieldDisplayAt(8, 239.0f / 240.0f), "R 119");
    EXPECT_EQ(widefieldDisplayAt(8, 1.0f), "R 120");
}

TEST_F(HostTexts, WidefieldGainsInDecibelsOfTheStoredGain) {
    EXPECT_EQ(widefieldDisplayAt(9, 0.25f), "-6.02");  // gain 0.5
    EXPECT_EQ(widefieldDisplayAt(10, 1.0f), "6.02");   // gain 2.0, the top
    EXPECT_EQ(widefieldDisplayAt(9, 0.0f), "-inf");
    EXPECT_EQ(widefieldDisplayAt(10, 0.1f), "-14.00");  // -13.98: three significant digits, two decimals
    EXPECT_EQ(widefieldDisplayAt(9, 0.5f), "0.00");
}

TEST_F(HostTexts, WidefieldSwitchesAreOnOnlyAtOne) {
    for (std::int32_t index : {0, 1, 2, 7, 11, 12, 13}) {
        EXPECT_EQ(widefieldDisplayAt(index, 1.0f), "On") << index;
        EXPECT_EQ(widefieldDisplayAt(index, 0.999f), "Off") << index;
        EXPECT_EQ(widefieldDisplayAt(index, 0.0f), "Off") << index;
    }
}

TEST_F(HostTexts, TonemarkReadsAsTheStripShowsIt) {
    EXPECT_EQ(display(tonemark, 0), "440");
    EXPECT_EQ(display(tonemark, 1), "Normal");
    tonemark.set(0, 445.0f);
    tonemark.set(1, 0.0f);
    EXPECT_EQ(display(tonemark, 0), "445");
    EXPECT_EQ(display(tonemark, 1), "Economy");
    tonemark.set(1, 2.0f);
    EXPECT_EQ(display(tonemark, 1), "Super");
    // Stored values beyond the arrows' ranges read as the nearest end, as on the strip.
    tonemark.set(0, 1.0f);
    tonemark.set(1, 3.0f);
    EXPECT_EQ(display(tonemark, 0), "425");
    EXPECT_EQ(display(tonemark, 1), "Super");
    tonemark.set(0, 100000.0f);
    tonemark.set(1, -7.0f);
    EXPECT_EQ(display(tonemark, 0), "453");
    EXPECT_EQ(display(tonemark, 1), "Economy");
}

TEST(ParameterDisplay, ValuesNoSettingHoldsStillGiveTexts) {
    // The effect keeps its settings in 0..1; the text routines stand on their own.
    EXPECT_EQ(widefield::parameterDisplay(3, 7.0f), "200");
    EXPECT_EQ(widefield::parameterDisplay(3, -1.0f), "0");
    EXPECT_EQ(widefield::parameterDisplay(4, std::numeric_limits<float>::quiet_NaN()), "0");
    EXPECT_EQ(widefield::parameterDisplay(8, std::numeric_limits<float>::infinity()), "R 120");
    EXPECT_EQ(widefield::parameterDisplay(9, std::numeric_limits<float>::quiet_NaN()), "-inf");
    EXPECT_EQ(widefield::parameterDisplay(9, 0.25f, ","), "-6,02");
    EXPECT_EQ(widefield::parameterDisplay(15, 0.5f), "");
    EXPECT_EQ(tonemark::parameterDisplay(0, std::numeric_limits<float>::quiet_NaN()), "425");
    EXPECT_EQ(tonemark::parameterDisplay(2, 1.0f), "");
}

TEST_F(HostTexts, EveryValueTextFitsTheHostsBuffer) {
    // A sweep over each parameter's whole range: nothing beyond 8 characters and
    // the zero, and never an empty text.
    for (std::int32_t index = 0; index < 15; ++index) {
        for (int step = 0; step <= 1000; ++step) {
            widefield.set(index, static_cast<float>(step / 1000.0));
            const std::string text = display(widefield, index);
            ASSERT_FALSE(text.empty() || text[0] == '<') << "parameter " << index << " at step " << step << ": "
                                                         << text;
        }
    }
    for (float pitch : {-2147483648.0f, -1.0f, 0.0f, 425.0f, 453.0f, 2147483520.0f}) {
        tonemark.set(0, pitch);
        EXPECT_EQ(display(tonemark, 0).size(), 3u) << pitch;
    }
}

// ---- Automation -----------------------------------------------------------------------

TEST_F(HostTexts, OnlyWidefieldsHostParametersAreAutomatable) {
    for (std::int32_t index = 0; index < 15; ++index)
        EXPECT_EQ(widefield.dispatch(effCanBeAutomated, index), 1) << index;
    for (std::int32_t index : {-1, 15, 16, 21, 23, 150, INT_MIN, INT_MAX})
        EXPECT_EQ(widefield.dispatch(effCanBeAutomated, index), 0) << index;
    // Tonemark's values are hertz and a setting number, not the 0..1 of an automation lane.
    for (std::int32_t index : {0, 1, -1, 2, 100})
        EXPECT_EQ(tonemark.dispatch(effCanBeAutomated, index), 0) << index;
}

TEST(BaseEffect, AnswersNoToAutomationAndLeavesTheBufferAlone) {
    struct Plain : AudioEffect {
        Plain() : AudioEffect(nullptr, 1, 3) {}
        void process(float**, float**, std::int32_t) override {}
    } plain;
    AEffect* record = plain.getAeffect();
    char buffer[16];
    std::memset(buffer, kMarker, sizeof buffer);
    for (std::int32_t index : {0, 1, 2, 3, -1})
        EXPECT_EQ(record->dispatcher(record, effCanBeAutomated, index, 0, buffer, 0.0f), 0) << index;
    EXPECT_EQ(static_cast<unsigned char>(buffer[0]), kMarker);
}

// ---- Requests a host should not make ----------------------------------------------------

TEST_F(HostTexts, AnIndexOutsideTheParametersGetsNothingWritten) {
    for (std::int32_t opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
        for (std::int32_t index : {-1, 15, 16, 21, 100, INT_MIN, INT_MAX}) {
            const HostText text(widefield, opcode, index);
            EXPECT_TRUE(text.untouched()) << "Widefield, opcode " << opcode << ", index " << index;
            EXPECT_EQ(text.result, 0);
        }
        for (std::int32_t index : {-1, 2, 100, 101, INT_MIN, INT_MAX}) {
            const HostText text(tonemark, opcode, index);
            EXPECT_TRUE(text.untouched()) << "Tonemark, opcode " << opcode << ", index " << index;
        }
    }
}

TEST_F(HostTexts, ANullBufferIsLeftAlone) {
    for (std::int32_t opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
        for (std::int32_t index : {0, 1, 14, 15, -1}) {
            EXPECT_EQ(widefield.dispatch(opcode, index, 0, nullptr), 0);
            EXPECT_EQ(tonemark.dispatch(opcode, index, 0, nullptr), 0);
        }
    }
    EXPECT_EQ(display(widefield, 3), "100");  // and the effect answers as before
}

}  // namespace
