// EditorTests.cpp — the editor at spine level and the hand-over to the panel.
#include "tests/stereo/EffectFixture.h"

#include <vector>

#include "framework/DAEffect.h"

using namespace widefield;
using widefield::testing::EffectTest;
using widefield::testing::StereoBlock;

namespace {
class Editor : public EffectTest {
protected:
    ADoublerEditor* editor() { return effect->getDoublerEditor(); }
};
}  // namespace

TEST_F(Editor, RectangleIsFixedAndReadyBeforeOpen) {
    ERect* rect = nullptr;
    EXPECT_EQ(effect->dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 386);
    EXPECT_EQ(rect->right, 723);
}

TEST_F(Editor, OpenRefreshesCloseWithoutOpenDoesNothing) {
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    EXPECT_FALSE(editor()->isOpen());
    EXPECT_TRUE(effect->isPanelDirty());
    int window = 0;
    EXPECT_EQ(effect->dispatcher(effEditOpen, 0, 0, &window, 0.0f), 1);
    EXPECT_TRUE(editor()->isOpen());
    EXPECT_EQ(editor()->getParentWindow(), &window);
    EXPECT_EQ(editor()->refreshCount(), 1u);
    EXPECT_FALSE(effect->isPanelDirty());
    EXPECT_EQ(editor()->shownLatency(), 750);
    // A second open reuses the panel, takes the new window, refreshes again.
    int other = 0;
    EXPECT_EQ(effect->dispatcher(effEditOpen, 0, 0, &other, 0.0f), 1);
    EXPECT_EQ(editor()->getParentWindow(), &other);
    EXPECT_EQ(editor()->refreshCount(), 2u);
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    EXPECT_FALSE(editor()->isOpen());
    EXPECT_EQ(editor()->getParentWindow(), nullptr);
    // Closed: updates and resume find no panel.
    effect->setParameter(ADoubler::kOutputWidth, 0.2f);
    effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
    EXPECT_EQ(editor()->refreshCount(), 2u);
    EXPECT_TRUE(effect->isPanelDirty());
}

TEST_F(Editor, ResumeRefreshesAnOpenPanelAtOnce) {
    editor()->open(nullptr);
    const std::uint32_t before = editor()->refreshCount();
    effect->dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
    EXPECT_EQ(editor()->refreshCount(), before + 1);
}

TEST_F(Editor, SetLatencyReachesTheOpenPanel) {
    editor()->open(nullptr);
    effect->setParameter(ADoubler::kSetLatency, 420.0f);
    EXPECT_EQ(editor()->shownLatency(), 420);
}

TEST_F(Editor, NotificationsArriveInOrderWhileOpen) {
    effect->setParameter(ADoubler::kSetLatency, 0.0f);
    run(StereoBlock(441, 0.5f, 0.5f));  // closed: nothing handed over
    editor()->open(nullptr);
    std::vector<std::int32_t> expectedScope;
    for (int block = 0; block < 6; ++block) {
        clock.advance(10);
        run(StereoBlock(441, 0.5f, block % 2 ? -0.5f : 0.5f));
        expectedScope.push_back(effect->scopeReadPosition());
    }
    std::vector<std::int32_t> scope;
    EXPECT_EQ(editor()->drainScope([&](const ScopeRecord& r) { scope.push_back(r.scopeReadIndex); }), 6u);
    EXPECT_EQ(scope, expectedScope);
    std::vector<MeterReadings> meters;
    EXPECT_EQ(editor()->drainMeters([&](const MeterReadings& m) { meters.push_back(m); }), 3u);
    ASSERT_EQ(meters.size(), 3u);
    EXPECT_LT(meters[0].phaseCorrelation, meters[1].phaseCorrelation);
    EXPECT_LT(meters[1].phaseCorrelation, meters[2].phaseCorrelation);
    EXPECT_EQ(meters[2].phaseCorrelation, effect->meterReadings().phaseCorrelation);
    EXPECT_EQ(editor()->drainScope([](const ScopeRecord&) {}), 0u);
}

TEST_F(Editor, ResetCommandsHandThePresentReadingsOver) {
    editor()->open(nullptr);
    effect->setParameter(ADoubler::kSetLatency, 0.0f);
    run(StereoBlock(441, 0.5f, 0.5f));
    editor()->drainMeters([](const MeterReadings&) {});
    effect->setParameter(ADoubler::kResetPeakHolds, 1.0f);
    std::vector<MeterReadings> meters;
    editor()->drainMeters([&](const MeterReadings& m) { meters.push_back(m); });
    ASSERT_EQ(meters.size(), 1u);
    EXPECT_EQ(meters[0].peakHoldLeft, 0.0f);
    EXPECT_EQ(meters[0].peakLeft, 0.5f);
}

TEST_F(Editor, AFullHandoverDropsNewRecordsWithoutBlocking) {
    editor()->open(nullptr);
    const std::size_t capacity = ADoublerEditor::kHandoverCapacity;
    for (std::size_t i = 0; i < capacity + 5; ++i) run(StereoBlock(4));
    std::size_t count = 0;
    editor()->drainScope([&](const ScopeRecord&) { ++count; });
    EXPECT_EQ(count, capacity);
    // Reopening starts from fresh deliveries.
    run(StereoBlock(4));
    editor()->close();
    editor()->open(nullptr);
    EXPECT_EQ(editor()->drainScope([](const ScopeRecord&) {}), 0u);
}

TEST_F(Editor, EffCloseDestroysTheEditorWhileTheEffectIsWhole) {
    // A witness in the editor's place reads a setting through the host's entry
    // as it goes: once the effect's own part is gone, that reads the base's 0.
    struct Witness : AEffEditor {
        Witness(AudioEffect* owner, float& seen) : AEffEditor(owner), seen(seen) {}
        ~Witness() override {
            AEffect* record = effect->getAeffect();
            seen = record->getParameter(record, ADoubler::kOutputWidth);
        }
        float& seen;
    };
    float seen = -1.0f;
    std::unique_ptr<AEffEditor> own(effect->getEditor());
    effect->setEditor(new Witness(effect.get(), seen));
    effect->setParameter(ADoubler::kOutputWidth, 0.8f);
    AEffect* record = effect.release()->getAeffect();
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(seen, 0.8f);
}
