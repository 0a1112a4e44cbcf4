// EditorTests.cpp — Tonemark's editor: its size, the panel-open gate, the 60 ms
// analysis pump on the manual clock, and what the panel shows when its window is
// shown and when it goes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tuner/ToneFixture.h"
#include "tests/tuner/WatchedWindowSystem.h"
#include "tuner/uFFT.h"

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

// An effect whose windows a test watches, created as a host creates it.
struct WatchedEffect {
    WatchedEffect() {
        services.clock = &clock;
        services.windows = &windows;
        effect = new ADoubler(test_support::FakeHost::callback, services);
        record = effect->getAeffect();
    }
    ~WatchedEffect() {
        if (record) record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    }
    VstIntPtr dispatch(std::int32_t opcode, void* ptr = nullptr) {
        return record->dispatcher(record, opcode, 0, 0, ptr, 0.0f);
    }
    TuFFTForm* form() const { return effect->getDoublerEditor()->getForm(); }
    platform::HeadlessWindow* panelWindow() const {
        return form() && form()->window() ? headless.windowOf(form()->window()->nativeHandle()) : nullptr;
    }

    platform::ManualClock clock{1000};
    platform::HeadlessWindowSystem headless{clock};
    testing::WatchedWindowSystem windows{headless};
    platform::Services services;
    ADoubler* effect = nullptr;
    AEffect* record = nullptr;
};

TEST(EditorOpen, ShowsThePanelOnlyOnceItsControlsAreInLineAndShowsAReusedOneAgain) {
    WatchedEffect w;
    w.effect->setParameter(0, 447.0f);
    w.effect->setParameter(1, 2.0f);
    std::vector<std::string> shown;  // the strip's texts as each show found them
    w.windows.onShow = [&] {
        if (TuFFTForm* form = w.form()) shown.push_back(form->StaticText1.text() + " " + form->AccuracyLbl.text());
    };
    int parent = 0;
    EXPECT_EQ(w.dispatch(effEditOpen, &parent), 1);
    EXPECT_EQ(shown, (std::vector<std::string>{"447 Super"}));
    ASSERT_NE(w.panelWindow(), nullptr);
    EXPECT_TRUE(w.panelWindow()->visible());

    // The host hides the window and changes a setting on its own thread; the
    // next open reuses the panel, brings its controls in line and shows it again.
    TuFFTForm* first = w.form();
    w.panelWindow()->hide();
    w.effect->setParameter(0, 430.0f);
    w.effect->setParameter(1, 0.0f);
    EXPECT_EQ(first->StaticText1.text(), "447");
    int other = 0;
    EXPECT_EQ(w.dispatch(effEditOpen, &other), 1);
    EXPECT_EQ(w.form(), first);
    EXPECT_TRUE(w.panelWindow()->visible());
    EXPECT_EQ(first->PitchRef.position(), 430);
    EXPECT_EQ(first->Accuracy.position(), 0);
    EXPECT_EQ(first->StaticText1.text(), "430");
    EXPECT_EQ(first->AccuracyLbl.text(), "Economy");
    EXPECT_EQ(shown, (std::vector<std::string>{"447 Super", "430 Economy"}));
    EXPECT_TRUE(w.effect->getDoublerEditor()->updatePending());
}

TEST(EditorLifetime, EffCloseDestroysThePanelWhileTheEffectIsWhole) {
    WatchedEffect w;
    w.effect->setParameter(0, 445.0f);
    int parent = 0;
    w.dispatch(effEditOpen, &parent);
    // As the panel's window goes, the host's entry still reaches Tonemark's own
    // getParameter; once the effect's part is gone it would reach the base's 0.
    std::vector<float> seen;
    AEffect* record = w.record;
    w.windows.onDestroy = [&] { seen.push_back(record->getParameter(record, 0)); };
    EXPECT_EQ(w.dispatch(effClose), 1);
    w.record = nullptr;
    EXPECT_EQ(seen, (std::vector<float>{445.0f}));
    EXPECT_TRUE(w.headless.windows().empty());
    EXPECT_EQ(w.headless.timerCount(), 0u);
}

}  // namespace tonemark
