// EditorTests.cpp — Tonemark's editor: its size, the panel-open gate and the
// 60 ms analysis pump on the manual clock.
#include <gtest/gtest.h>

#include <vector>

#include "tests/tuner/ToneFixture.h"

namespace tonemark {

using testing::EffectHarness;

TEST(Editor, RectIsThePanelSizeBeforeAndAfterOpen) {
    EffectHarness h;
    ERect* rect = nullptr;
    EXPECT_EQ(h.fx().dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 141);
    EXPECT_EQ(rect->right, 444);
    int parent = 0;
    EXPECT_EQ(h.fx().dispatcher(effEditOpen, 0, 0, &parent, 0.0f), 1);
    EXPECT_TRUE(h.editor().isOpen());
    EXPECT_EQ(h.editor().getParentWindow(), &parent);
    rect = nullptr;
    h.fx().dispatcher(effEditGetRect, 0, 0, &rect, 0.0f);
    EXPECT_EQ(rect->right, 444);
    h.fx().dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    EXPECT_FALSE(h.editor().isOpen());
    EXPECT_EQ(h.editor().getParentWindow(), nullptr);
    h.fx().dispatcher(effEditClose, 0, 0, nullptr, 0.0f);  // a second close does nothing
}

TEST(Editor, AnalyzeOnlyMeasuresWhileThePanelIsOpen) {
    EffectHarness h;
    h.feed({{440.0, 0.5}}, 1.0);
    h.fx().analyze();
    EXPECT_EQ(h.fx().getNoReading(), 1.0f);
    h.editor().open(nullptr);
    h.fx().analyze();
    EXPECT_EQ(h.fx().getNoReading(), 0.0f);
    EXPECT_NEAR(h.fx().getDetectedFrequency(), 440.0f, 0.01f);
}

TEST(Editor, PumpRunsAnAnalysisAtMostEvery60Milliseconds) {
    EffectHarness h;
    h.clock.set(1000);
    h.feed({{440.0, 0.5}}, 1.0);
    h.editor().open(nullptr);
    h.editor().idle();
    EXPECT_EQ(h.editor().getLastAnalysisTime(), 1000u);
    EXPECT_NEAR(h.fx().getDetectedFrequency(), 440.0f, 0.01f);
    EXPECT_TRUE(h.editor().updatePending());  // re-armed
    h.clock.advance(59);
    h.editor().idle();
    EXPECT_EQ(h.editor().getLastAnalysisTime(), 1000u);
    h.clock.advance(1);
    h.editor().idle();
    EXPECT_EQ(h.editor().getLastAnalysisTime(), 1060u);
    // The tick count wraps; the signed difference still spaces the analyses.
    // (A short block before each turn keeps the panel's audio watchdog content.)
    for (std::uint32_t now : {0x80000000u, 0xFFFFFFF0u}) {
        h.clock.set(now);
        h.feed({{440.0, 0.5}}, 0.01);
        h.editor().idle();
        EXPECT_EQ(h.editor().getLastAnalysisTime(), now);
    }
    h.clock.set(20);
    h.feed({{440.0, 0.5}}, 0.01);
    h.editor().idle();
    EXPECT_EQ(h.editor().getLastAnalysisTime(), 0xFFFFFFF0u);
    h.clock.set(44);
    h.editor().idle();
    EXPECT_EQ(h.editor().getLastAnalysisTime(), 44u);
}

TEST(Editor, PumpStopsWhileAudioIsStaleAndWithoutPanel) {
    EffectHarness h;
    h.clock.set(500);
    h.editor().open(nullptr);
    h.editor().idle();  // audio stale since construction: no analysis, not re-armed
    EXPECT_EQ(h.editor().getLastAnalysisTime(), 0u);
    EXPECT_FALSE(h.editor().updatePending());
    h.feed({{440.0, 0.5}}, 0.1);  // the first block posts an update
    EXPECT_TRUE(h.editor().updatePending());
    h.editor().idle();
    EXPECT_EQ(h.editor().getLastAnalysisTime(), 500u);
    h.editor().close();
    h.clock.advance(100);
    h.editor().idle();
    EXPECT_EQ(h.editor().getLastAnalysisTime(), 500u);
    EXPECT_FALSE(h.editor().updatePending());
}

}  // namespace tonemark
