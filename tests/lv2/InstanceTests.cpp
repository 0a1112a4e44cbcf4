// InstanceTests.cpp — the DSP side of the LV2 adapter, driven as a careless host would.
//
//   PortConversion  every Widefield port: range ends and defaults both ways,
//                   limits, non-finite values
//   Instance        no ports, run before activate, values out of range or not
//                   finite, unusable rates (Tonemark's own too), the host's
//                   floating-point state, shared buffers, activate after
//                   deactivate, no allocation or lock in run
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>
#include <xmmintrin.h>

#include "lv2/PluginInstance.h"
#include "stereo/ParameterTable.h"
#include "tuner/uDoubler.h"
#include "tests/alloc/AudioThreadCounter.h"
#include "tests/support/EffectServices.h"

namespace {

using lv2adapter::ControlPort;
using lv2adapter::PluginInstance;

const ControlPort& widefieldPort(const char* symbol) {
    for (const ControlPort& port : lv2adapter::widefieldIdentity().controls)
        if (std::string(port.symbol) == symbol) return port;
    throw std::runtime_error(symbol);
}

float toEffect(const char* symbol, float value) {
    float result = -1.0f;
    EXPECT_TRUE(lv2adapter::effectValueOf(widefieldPort(symbol), value, result)) << symbol;
    return result;
}

TEST(PortConversion, EachUnitMapsItsRangeOntoTheEffectsValues) {
    struct Case {
        const char* symbol;
        float port;
        float effect;
    };
    const Case cases[] = {
        {"output_width", 0, 0.0f},     {"output_width", 100, 0.5f},   {"output_width", 200, 1.0f},
        {"input_rotation", -90, 0.0f}, {"input_rotation", 45, 0.75f}, {"centre", 100, 0.0f},
        {"centre", -100, 1.0f},        {"balance_left", 0, 0.5f},     {"delay", -120, 0.0f},
        {"delay", 12, 0.55f},          {"gain_left", 0, 0.5f},        {"gain_left", -120, 0.0f},
        {"gain_left", 6.02059991f, 1.0f}, {"invert_left", 1, 1.0f},  {"invert_left", 0, 0.0f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toEffect(c.symbol, c.port), c.effect) << c.symbol << " " << c.port;
        EXPECT_NEAR(lv2adapter::portValueOf(widefieldPort(c.symbol), c.effect), c.port, 1e-4) << c.symbol;
    }
}

TEST(PortConversion, ValuesOutsideTheRangeAreLimitedAndNonFiniteOnesRefused) {
    EXPECT_EQ(toEffect("output_width", 1e9f), 1.0f);
    EXPECT_EQ(toEffect("output_width", -5.0f), 0.0f);
    EXPECT_EQ(toEffect("gain_right", 40.0f), 1.0f);
    EXPECT_EQ(toEffect("gain_right", -1e30f), 0.0f);
    EXPECT_EQ(toEffect("invert_left", 0.25f), 1.0f);  // a toggle is on above zero
    EXPECT_EQ(toEffect("invert_left", -3.0f), 0.0f);
    float untouched = 7.0f;
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()})
        EXPECT_FALSE(lv2adapter::effectValueOf(widefieldPort("delay"), bad, untouched));
    EXPECT_EQ(untouched, 7.0f);
    // What the effect reads back comes out in range, whatever it holds.
    EXPECT_EQ(lv2adapter::portValueOf(widefieldPort("delay"), std::numeric_limits<float>::quiet_NaN()), -120.0f);
    EXPECT_EQ(lv2adapter::portValueOf(widefieldPort("gain_left"), 0.0f), -120.0f);
}

class Instance : public ::testing::Test, protected test_support::WindowedEffectServices {
protected:
    Instance() : WindowedEffectServices(1000, "lv2host") {}

    void make(const lv2adapter::PluginIdentity& identity) {
        instance.reset(PluginInstance::create(identity, 48000.0, nullptr, services()));
        ASSERT_NE(instance, nullptr);
        ports.assign(identity.controls.size(), 0.0f);
    }
    void connectAudio() {
        instance->connect(lv2adapter::kInLeft, left.data());
        instance->connect(lv2adapter::kInRight, right.data());
        instance->connect(lv2adapter::kOutLeft, outLeft.data());
        instance->connect(lv2adapter::kOutRight, outRight.data());
    }
    float parameter(std::int32_t index) { return instance->record().getParameter(&instance->record(), index); }

    std::unique_ptr<PluginInstance> instance;
    std::vector<float> ports;
    std::vector<float> left = std::vector<float>(256, 0.25f), right = std::vector<float>(256, -0.5f);
    std::vector<float> outLeft = std::vector<float>(256, 9.0f), outRight = std::vector<float>(256, 9.0f);
};

TEST_F(Instance, UnusableRatesAreRefused) {
    for (double rate : {0.0, -44100.0, std::numeric_limits<double>::quiet_NaN(), 1e12})
        EXPECT_EQ(PluginInstance::create(lv2adapter::widefieldIdentity(), rate, nullptr, services()), nullptr);
    // The tuner reads notes from 8 to 768 kHz; elsewhere its readings would be wrong.
    for (double rate : {7999.0, 768001.0, 1e6})
        EXPECT_EQ(PluginInstance::create(lv2adapter::tonemarkIdentity(), rate, nullptr, services()), nullptr) << rate;
    for (double rate : {8000.0, 768000.0})
        delete PluginInstance::create(lv2adapter::tonemarkIdentity(), rate, nullptr, services());
    std::unique_ptr<PluginInstance> widefieldAtAMegahertz(
        PluginInstance::create(lv2adapter::widefieldIdentity(), 1e6, nullptr, services()));
    EXPECT_NE(widefieldAtAMegahertz, nullptr);
}

TEST_F(Instance, InstantiatingKeepsTheHostsFloatingPointState) {
    // A host that traps invalid operations and divisions by zero.
    constexpr unsigned kHostState = 0x1d00;
    for (const auto* identity : {&lv2adapter::widefieldIdentity(), &lv2adapter::tonemarkIdentity()}) {
        const unsigned before = _mm_getcsr();
        _mm_setcsr(kHostState);
        PluginInstance* made = PluginInstance::create(*identity, 48000.0, nullptr, services());
        const unsigned after = _mm_getcsr();
        _mm_setcsr(before);
        EXPECT_NE(made, nullptr);
        EXPECT_EQ(after, kHostState) << identity->name;
        delete made;
    }
}

TEST_F(Instance, TonemarkPassesItsInputThroughWhateverBuffersAreShared) {
    struct Sharing {
        const char* name;
        std::vector<float>* outLeftOn;  // the buffer out_left is given
        std::vector<float>* outRightOn;
    };
    std::vector<float> ownLeft(256), ownRight(256);
    const Sharing cases[] = {
        {"crossed", &right, &left},       {"in place", &left, &right}, {"both on in_left", &left, &ownRight},
        {"both on in_right", &ownLeft, &right}, {"right on in_left", &ownLeft, &left},
    };
    make(lv2adapter::tonemarkIdentity());
    instance->activate();
    for (const Sharing& c : cases) {
        for (std::size_t i = 0; i < left.size(); ++i) {
            left[i] = std::sin(0.1f * static_cast<float>(i));
            right[i] = 0.5f - 0.003f * static_cast<float>(i);
        }
        const std::vector<float> heardLeft = left, heardRight = right;
        instance->connect(lv2adapter::kInLeft, left.data());
        instance->connect(lv2adapter::kInRight, right.data());
        instance->connect(lv2adapter::kOutLeft, c.outLeftOn->data());
        instance->connect(lv2adapter::kOutRight, c.outRightOn->data());
        instance->run(256);
        EXPECT_EQ(*c.outLeftOn, heardLeft) << c.name;
        EXPECT_EQ(*c.outRightOn, heardRight) << c.name;
    }
}

TEST_F(Instance, ActivateAfterDeactivateForgetsTheAudioBefore) {
    make(lv2adapter::widefieldIdentity());
    connectAudio();
    for (std::size_t i = 0; i < ports.size(); ++i) {
        ports[i] = lv2adapter::portValueOf(lv2adapter::widefieldIdentity().controls[i],
                                           parameter(lv2adapter::widefieldIdentity().controls[i].parameter));
        instance->connect(static_cast<std::uint32_t>(lv2adapter::kFirstControlPort + i), &ports[i]);
    }
    // The longest delay, with the DC filter and the bass adjust on: every kind of history.
    ports[instance->controlOf(widefield::ParameterIndex::kDelay)] = 120.0f;
    ports[instance->controlOf(widefield::ParameterIndex::kDcFilter)] = 1.0f;
    instance->record().setParameter(&instance->record(), widefield::ParameterIndex::kBassOn, 1.0f);
    instance->activate();
    std::uint32_t noise = 1;
    for (std::size_t i = 0; i < left.size(); ++i) {
        noise = noise * 1664525u + 1013904223u;
        left[i] = static_cast<float>(noise >> 8) / 16777216.0f - 0.5f;
        right[i] = -left[i];
    }
    instance->run(256);
    instance->deactivate();
    instance->activate();
    std::fill(left.begin(), left.end(), 0.0f);
    std::fill(right.begin(), right.end(), 0.0f);
    instance->run(256);
    EXPECT_EQ(outLeft, left);
    EXPECT_EQ(outRight, right);
}

TEST_F(Instance, RunsWithNoPortConnectedOrBeforeActivate) {
    make(lv2adapter::widefieldIdentity());
    instance->run(256);  // nothing connected, not active
    instance->connect(lv2adapter::kOutLeft, outLeft.data());
    instance->run(256);  // an output alone: silence there
    EXPECT_EQ(outLeft[0], 0.0f);
    EXPECT_EQ(outLeft[255], 0.0f);
    connectAudio();
    instance->run(0);
    instance->run(256);  // before activate: the effect is ready from instantiate on
    EXPECT_EQ(outLeft[10], 0.25f);
    EXPECT_EQ(outRight[10], -0.5f);
    instance->activate();
    instance->run(256);
    instance->deactivate();
    instance->connect(999, nullptr);  // beyond the ports: ignored
}

TEST_F(Instance, PortValuesReachTheEffectLimitedAndOnlyWhenFinite) {
    make(lv2adapter::widefieldIdentity());
    connectAudio();
    for (std::size_t i = 0; i < ports.size(); ++i)
        instance->connect(static_cast<std::uint32_t>(lv2adapter::kFirstControlPort + i), &ports[i]);
    const int width = instance->controlOf(widefield::ParameterIndex::kOutputWidth);
    const int delay = instance->controlOf(widefield::ParameterIndex::kDelay);
    ports[width] = 150.0f;
    ports[delay] = -12.0f;
    instance->activate();
    instance->run(64);
    EXPECT_EQ(parameter(widefield::ParameterIndex::kOutputWidth), 0.75f);
    EXPECT_EQ(parameter(widefield::ParameterIndex::kDelay), 0.45f);
    EXPECT_EQ(instance->appliedValue(width), 0.75f);
    ports[width] = 1e6f;
    ports[delay] = std::numeric_limits<float>::quiet_NaN();
    instance->run(64);
    EXPECT_EQ(parameter(widefield::ParameterIndex::kOutputWidth), 1.0f);
    EXPECT_EQ(parameter(widefield::ParameterIndex::kDelay), 0.45f);
    ports[width] = -std::numeric_limits<float>::infinity();
    instance->run(64);
    EXPECT_EQ(parameter(widefield::ParameterIndex::kOutputWidth), 1.0f);
    for (float sample : outLeft) EXPECT_TRUE(std::isfinite(sample));
}

TEST_F(Instance, TonemarksReferenceStaysWithinItsPortsRange) {
    make(lv2adapter::tonemarkIdentity());
    instance->connect(lv2adapter::kFirstControlPort, &ports[0]);
    ports[0] = 1000.0f;
    instance->run(0);
    EXPECT_EQ(parameter(tonemark::ADoubler::kReferencePitch), 453.0f);
    ports[0] = 432.4f;
    instance->run(0);
    EXPECT_EQ(parameter(tonemark::ADoubler::kReferencePitch), 432.0f);
}

TEST_F(Instance, RunNeitherAllocatesNorLocksWhileSettingsChange) {
    for (const auto* identity : {&lv2adapter::widefieldIdentity(), &lv2adapter::tonemarkIdentity()}) {
        make(*identity);
        connectAudio();
        for (std::size_t i = 0; i < ports.size(); ++i)
            instance->connect(static_cast<std::uint32_t>(lv2adapter::kFirstControlPort + i), &ports[i]);
        instance->activate();
        instance->run(256);
        alloccount::resetCounts();
        {
            alloccount::AudioThreadScope audioThread;
            for (int block = 0; block < 50; ++block) {
                for (std::size_t i = 0; i < ports.size(); ++i)
                    ports[i] = identity->controls[i].minimum + static_cast<float>(block % 3);
                instance->run(256);
            }
        }
        EXPECT_EQ(alloccount::countsOnAudioThread().total(), 0u) << identity->name;
        instance.reset();
    }
}

}  // namespace
