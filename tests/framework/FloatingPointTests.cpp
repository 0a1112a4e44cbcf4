// FloatingPointTests.cpp — the floating-point environment around audio calls:
// denormals flushed inside, the caller's state back afterwards.
#include <gtest/gtest.h>

#include <xmmintrin.h>

#include <limits>

#include "framework/DAudioE.h"
#include "platform/FloatingPoint.h"

namespace {

class EnvironmentProbe : public AudioEffect {
public:
    EnvironmentProbe() : AudioEffect(nullptr, 1, 1) {}
    void process(float** inputs, float** outputs, std::int32_t) override { record(inputs, outputs); }
    void processReplacing(float** inputs, float** outputs, std::int32_t) override { record(inputs, outputs); }
    void record(float** inputs, float** outputs) {
        stateInside = _mm_getcsr();
        volatile float tiny = inputs[0][0];
        outputs[0][0] = tiny * 0.5f;  // a denormal result, flushed to zero inside the call
    }
    unsigned stateInside = 0;
};

TEST(FloatingPoint, AudioEntriesFlushDenormalsAndRestoreTheCallersState) {
    EnvironmentProbe effect;
    AEffect* record = effect.getAeffect();
    const unsigned before = _mm_getcsr();
    float input = std::numeric_limits<float>::min();
    float output = 1.0f;
    float* inputs[1] = {&input};
    float* outputs[1] = {&output};
    for (auto entry : {record->process, record->processReplacing}) {
        output = 1.0f;
        entry(record, inputs, outputs, 1);
        EXPECT_EQ(output, 0.0f);
        EXPECT_EQ(effect.stateInside & 0x8040u, 0x8040u);
        EXPECT_EQ(_mm_getcsr(), before);
    }
}

TEST(FloatingPoint, ConstructionMasksExceptionsInTheConstructingThread) {
    _mm_setcsr(_mm_getcsr() & ~0x0200u);  // unmask division by zero
    EnvironmentProbe effect;
    EXPECT_EQ(_mm_getcsr() & 0x1F80u, 0x1F80u);
}

}  // namespace
