// OverlayTests.cpp — the options panel, the save and reset questions, the About
// dialog, the timers, and refreshes asked for from threads other than the panel's.
#include "tests/stereo-panel/PanelFixture.h"

#include <thread>

namespace widefield {
namespace {

using testing::HostCall;
using testing::PanelTest;

class Overlays : public PanelTest {};

TEST_F(Overlays, InfoTogglesTheOptionsAndOkOrADoubleClickClosesThem) {
    click(form->NiceButton1);
    EXPECT_TRUE(form->peekpanel.visible());
    click(form->OKA);
    EXPECT_FALSE(form->peekpanel.visible());
    for (const toolkit::Control* target : {static_cast<const toolkit::Control*>(&form->LatencyCaption),
                                           static_cast<const toolkit::Control*>(&form->LatencyLB)}) {
        click(form->NiceButton1);
        ASSERT_TRUE(form->peekpanel.visible());
        doubleClick(*target);
        EXPECT_FALSE(form->peekpanel.visible());
    }
    click(form->NiceButton1);
    const toolkit::Rect panel = form->peekpanel.formBounds();
    window().doubleClick(panel.right - 4, panel.bottom - 4);
    EXPECT_FALSE(form->peekpanel.visible());
}

TEST_F(Overlays, SaveQuestionNamesTheHostProgramAndStoresOnOk) {
    click(form->NiceButton1);
    click(form->NiceButton4);
    ASSERT_TRUE(form->SavePanel.visible());
    EXPECT_EQ(form->Titlelabel.text(), "Save 750ms as the default latency for host.exe?");
    // Cancel stores nothing.
    click(form->BitBtn3);
    EXPECT_FALSE(form->SavePanel.visible());
    EXPECT_EQ(received->count(ADoubler::kSaveLatency), 0u);
    keyTo(form->LatencyTB, 420);
    click(form->NiceButton4);
    EXPECT_EQ(form->Titlelabel.text(), "Save 420ms as the default latency for host.exe?");
    click(form->setBtn);
    EXPECT_FALSE(form->SavePanel.visible());
    EXPECT_EQ(received->sent.back(), (HostCall{-1, ADoubler::kSaveLatency, 1.0f}));
    // What was stored comes back for this host program.
    effect->setParameter(ADoubler::kSetLatency, 100.0f);
    effect->setParameter(ADoubler::kLoadLatency, 0.0f);
    EXPECT_EQ(effect->latency(), 420);
}

TEST_F(Overlays, ResetThenOkBringsDefaultsWithoutAutomationReachingTheHost) {
    click(form->Automation);
    drag(form->StereoWidth, 80);
    click(form->INVL);
    windows.setControlKeyDown(true);
    drag(form->FaderR, 150);
    windows.setControlKeyDown(false);
    ASSERT_FALSE(automation().empty());
    click(form->NiceButton2);
    ASSERT_TRUE(form->ResetOKpanel.visible());
    EXPECT_EQ(form->ResetMessage.text(), "Reset ALL controls to their defaults???");
    host.calls.clear();
    received->sent.clear();
    click(form->ResetAllBtn);
    EXPECT_FALSE(form->ResetOKpanel.visible());
    EXPECT_FALSE(form->Automation.LEDon());
    ASSERT_GE(received->sent.size(), 2u);
    EXPECT_EQ(received->sent[0], (HostCall{-1, ADoubler::kResetAll, 1.0f}));
    EXPECT_EQ(received->sent[1], (HostCall{-1, ADoubler::kResetPhaseRange, 1.0f}));
    idle();
    EXPECT_EQ(form->StereoWidth.position(), 50);
    EXPECT_EQ(form->StrWidthLbl.text(), "100%");
    EXPECT_FALSE(form->INVL.LEDon());
    EXPECT_EQ(form->FaderR.position(), 90);
    EXPECT_EQ(form->faderLinkDb, 0.0f);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(Overlays, ResetCancelChangesNothing) {
    drag(form->StereoWidth, 80);
    click(form->NiceButton2);
    click(form->BitBtn4);
    EXPECT_FALSE(form->ResetOKpanel.visible());
    idle();
    EXPECT_EQ(form->StereoWidth.position(), 80);
    EXPECT_EQ(received->count(ADoubler::kResetAll), 0u);
}

TEST_F(Overlays, QuestionMarkOpensAndClosesTheAboutDialog) {
    click(form->NiceButton1);
    click(form->NiceButton3);
    ASSERT_NE(form->aboutWindow(), nullptr);
    platform::HeadlessWindow* dialog = windows.windowOf(form->aboutWindow());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->topLevel());
    EXPECT_EQ(dialog->width(), 447);
    EXPECT_EQ(dialog->height(), 368);
    click(form->NiceButton3);
    EXPECT_EQ(form->aboutWindow(), nullptr);
    EXPECT_EQ(received->sent.back(), (HostCall{-1, ADoubler::kRefreshPanel, 0.0f}));
    // Closed by the user, the next click opens a new one.
    click(form->NiceButton3);
    windows.windowOf(form->aboutWindow())->requestClose();
    click(form->NiceButton3);
    EXPECT_NE(form->aboutWindow(), nullptr);
    // The editor's close takes the dialog with the panel.
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    EXPECT_TRUE(windows.windows().empty());
}

TEST_F(Overlays, TimersSendResyncAndWatchdogOnlyWithAnEffect) {
    EXPECT_EQ(form->Timer1.interval(), 1000u);
    EXPECT_EQ(form->Timer2.interval(), 200u);
    received->sent.clear();
    for (int tick = 0; tick < 5; ++tick) {
        clock.advance(200);
        windows.fireDueTimers();
    }
    EXPECT_EQ(received->count(ADoubler::kAudioWatchdog), 5u);
    EXPECT_EQ(received->count(ADoubler::kResync), 1u);
    // A panel without an effect: the timers tick and send nothing.
    TuStereoform bare(windows);
    received->sent.clear();
    clock.advance(1000);
    windows.fireDueTimers();
    EXPECT_EQ(received->count(ADoubler::kResync), 1u);  // the open panel's only
}

TEST_F(Overlays, RequestsFromOtherThreadsWaitForThePanelsThread) {
    const std::uint32_t before = editor().refreshCount();
    std::thread([&] {
        effect->dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);  // resume
        effect->setParameter(ADoubler::kSetLatency, 300.0f);
        effect->setParameter(ADoubler::kOutputWidth, 0.2f);
    }).join();
    EXPECT_EQ(editor().refreshCount(), before);
    EXPECT_EQ(form->LatencyLB.text(), "750ms");
    EXPECT_EQ(form->StereoWidth.position(), 50);
    idle();
    EXPECT_EQ(editor().refreshCount(), before + 1);
    EXPECT_EQ(form->LatencyLB.text(), "300ms");
    EXPECT_EQ(form->StereoWidth.position(), 20);
    idle();
    EXPECT_EQ(editor().refreshCount(), before + 1);
    // On the panel's own thread, resume refreshes at once.
    effect->dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
    EXPECT_EQ(editor().refreshCount(), before + 2);
}

}  // namespace
}  // namespace widefield
