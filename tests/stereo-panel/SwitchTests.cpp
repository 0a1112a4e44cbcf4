// SwitchTests.cpp — the lamp buttons, the "Send" lamp and what reaches the host:
// automation while it is lit, gesture brackets round drags and clicks, hosts
// that do not know the gesture calls, and the switches that are never automated.
#include "tests/stereo-panel/PanelFixture.h"

namespace widefield {
namespace {

using testing::HostCall;
using testing::PanelTest;

constexpr std::int32_t kBegin = TuStereoform::kAudioMasterBeginEdit;
constexpr std::int32_t kEnd = TuStereoform::kAudioMasterEndEdit;

class Switches : public PanelTest {
protected:
    void lightSend() {
        click(form->Automation);
        ASSERT_TRUE(form->Automation.LEDon());
        host.calls.clear();
    }
};

TEST_F(Switches, EachLampFlipsAndSendsItsSetting) {
    struct Case {
        controls::TNiceButton& button;
        std::int32_t index;
    };
    const Case cases[] = {
        {form->INVL, ADoubler::kInvertLeft},     {form->INVR, ADoubler::kInvertRight},
        {form->Mono, ADoubler::kMonoOut},        {form->Bypass, ADoubler::kBypass},
        {form->ChannelSwap, ADoubler::kSwapChannels}, {form->DCfilter, ADoubler::kDcFilter},
        {form->BassBypass, ADoubler::kBassOn},   {form->Pseudo, ADoubler::kPseudoStereo},
        {form->MetersOff, ADoubler::kMetersOff},
    };
    for (const Case& c : cases) {
        click(c.button);
        EXPECT_TRUE(c.button.LEDon()) << c.button.caption();
        EXPECT_EQ(effect->getParameter(c.index), 1.0f) << c.button.caption();
        click(c.button);
        EXPECT_FALSE(c.button.LEDon());
        EXPECT_EQ(effect->getParameter(c.index), 0.0f);
    }
    // Fluorescence starts lit and sends its command.
    click(form->NiceButton1);
    click(form->flure);
    EXPECT_FALSE(form->flure.LEDon());
    EXPECT_FALSE(effect->fluorescence());
    // With Send out nothing was reported to the host.
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(Switches, SendFlipsItselfAndALitSendReportsEverySwitchAsAGesture) {
    lightSend();
    click(form->INVL);
    EXPECT_EQ(host.calls, (std::vector<HostCall>{{kBegin, ADoubler::kInvertLeft, 0.0f},
                                                  {audioMasterAutomate, ADoubler::kInvertLeft, 1.0f},
                                                  {kEnd, ADoubler::kInvertLeft, 0.0f}}));
    host.calls.clear();
    // Not automatable: meters bypass and fluorescence.
    click(form->MetersOff);
    click(form->NiceButton1);
    click(form->flure);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(effect->getParameter(ADoubler::kMetersOff) == 1.0f);
    // The options panel lies over the top bar until its OK closes it.
    click(form->OKA);
    click(form->Automation);
    EXPECT_FALSE(form->Automation.LEDon());
}

TEST_F(Switches, ADragWhileSendIsLitIsBracketedByBeginAndEnd) {
    lightSend();
    drag(form->StereoWidth, 70);
    ASSERT_GE(host.calls.size(), 3u);
    EXPECT_EQ(host.calls.front(), (HostCall{kBegin, ADoubler::kOutputWidth, 0.0f}));
    EXPECT_EQ(host.calls.back(), (HostCall{kEnd, ADoubler::kOutputWidth, 0.0f}));
    for (std::size_t i = 1; i + 1 < host.calls.size(); ++i) {
        EXPECT_EQ(host.calls[i].opcode, audioMasterAutomate);
        EXPECT_EQ(host.calls[i].index, ADoubler::kOutputWidth);
    }
    EXPECT_EQ(host.calls[host.calls.size() - 2].value, 0.7f);
    // A click on the track moves a page inside its own bracket.
    host.calls.clear();
    const toolkit::Rect track = form->InitWidth.formBounds();
    window().click(track.right - 3, (track.top + track.bottom) / 2);
    EXPECT_EQ(host.calls, (std::vector<HostCall>{{kBegin, ADoubler::kInputWidth, 0.0f},
                                                  {audioMasterAutomate, ADoubler::kInputWidth, 0.6f},
                                                  {kEnd, ADoubler::kInputWidth, 0.0f}}));
}

TEST_F(Switches, AnEditBegunIsEndedWhateverTheLampDoesMeanwhile) {
    lightSend();
    const toolkit::Point thumb = thumbAt(form->Delay);
    window().press(thumb.x, thumb.y);
    form->Automation.setLEDon(false);  // as the reset question does
    window().release(thumb.x + 20, thumb.y);
    ASSERT_FALSE(host.calls.empty());
    EXPECT_EQ(host.calls.front(), (HostCall{kBegin, ADoubler::kDelay, 0.0f}));
    EXPECT_EQ(host.calls.back(), (HostCall{kEnd, ADoubler::kDelay, 0.0f}));
    // Begun unlit: no end, even when the lamp is lit by the release.
    host.calls.clear();
    window().press(thumb.x + 20, thumb.y);
    form->Automation.setLEDon(true);
    window().release(thumb.x + 40, thumb.y);
    for (const HostCall& call : host.calls) EXPECT_NE(call.opcode, kEnd);
}

TEST_F(Switches, SendOutMeansPlainSettingsWithoutGestures) {
    drag(form->StereoWidth, 70);
    click(form->Mono);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(effect->getParameter(ADoubler::kOutputWidth), 0.7f);
}

TEST_F(Switches, AHostThatDoesNotKnowGesturesStillGetsTheAutomation) {
    host.answer = 0;
    lightSend();
    drag(form->Balance, 60);
    click(form->Pseudo);
    EXPECT_EQ(effect->getParameter(ADoubler::kOutputRotation), 0.6f);
    EXPECT_EQ(effect->getParameter(ADoubler::kPseudoStereo), 1.0f);
    EXPECT_EQ(automation().back(), (HostCall{audioMasterAutomate, ADoubler::kPseudoStereo, 1.0f}));
}

TEST_F(Switches, RefreshAfterHostChangesMovesLampsWithoutSending) {
    effect->setParameter(ADoubler::kInvertRight, 1.0f);
    effect->setParameter(ADoubler::kBassOn, 1.0f);
    effect->setParameter(ADoubler::kSetFluorescence, 0.0f);
    lightSend();
    idle();
    EXPECT_TRUE(form->INVR.LEDon());
    EXPECT_TRUE(form->BassBypass.LEDon());
    EXPECT_FALSE(form->flure.LEDon());
    EXPECT_TRUE(host.calls.empty());
}

}  // namespace
}  // namespace widefield
