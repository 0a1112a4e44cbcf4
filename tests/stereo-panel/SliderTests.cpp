// SliderTests.cpp — the panel's sliders driven as a user drives them: what the
// value labels show, what the effect receives, the asymmetry pair, the
// double-click resets, the keys and the wheel, and the refresh from the host.
#include "tests/stereo-panel/PanelFixture.h"

namespace widefield {
namespace {

using platform::Key;
using testing::HostCall;
using testing::PanelTest;
using testing::kGrey;
using testing::kSilver;

class Sliders : public PanelTest {
protected:
    float parameter(std::int32_t index) { return effect->getParameter(index); }
};

TEST_F(Sliders, AsymmetryPairMirrorsFromEitherSide) {
    keyTo(form->Aymmetry, 20);
    EXPECT_EQ(form->rightAsym.position(), 80);
    EXPECT_EQ(form->AymmetryLbl.text(), "60%");
    EXPECT_EQ(form->RightAsymLbl.text(), "-60%");
    EXPECT_EQ(form->AymmetryLbl.font().color, kSilver);
    EXPECT_EQ(parameter(ADoubler::kAsymmetry), 0.2f);
    keyTo(form->Aymmetry, 50);
    EXPECT_EQ(form->RightAsymLbl.font().color, kGrey);
    drag(form->rightAsym, 80);
    EXPECT_EQ(form->Aymmetry.position(), 20);
    EXPECT_EQ(form->AymmetryLbl.text(), "60%");
    EXPECT_EQ(form->RightAsymLbl.text(), "-60%");
    EXPECT_EQ(parameter(ADoubler::kAsymmetry), 0.2f);
    EXPECT_EQ(form->Aymmetry.position() + form->rightAsym.position(), 100);
}

TEST_F(Sliders, RotationLabelsRoundTowardsZero) {
    keyTo(form->Rotation, 33);
    EXPECT_EQ(form->RotationLbl.text(), "-31\xBA");
    EXPECT_EQ(parameter(ADoubler::kInputRotation), 0.33f);
    drag(form->Rotation, 0);
    EXPECT_EQ(form->RotationLbl.text(), "-90\xBA");
    drag(form->Balance, 100);
    EXPECT_EQ(form->BalanceLbl.text(), "90\xBA");
    EXPECT_EQ(parameter(ADoubler::kOutputRotation), 1.0f);
}

TEST_F(Sliders, DelayShowsOneSideAndSendsItsEnds) {
    drag(form->Delay, 0);
    EXPECT_EQ(form->leftDelay.text(), "120");
    EXPECT_EQ(form->leftDelay.font().color, kSilver);
    EXPECT_EQ(form->RightDelay.text(), "0");
    EXPECT_EQ(form->RightDelay.font().color, kGrey);
    EXPECT_EQ(parameter(ADoubler::kDelay), 0.0f);
    drag(form->Delay, 239);
    EXPECT_EQ(form->RightDelay.text(), "119");
    EXPECT_EQ(form->leftDelay.text(), "0");
    EXPECT_EQ(form->leftDelay.font().color, kGrey);
    // The effect keeps whole samples: 239/240 reads back as (119 + 120) / 240.
    EXPECT_FLOAT_EQ(parameter(ADoubler::kDelay), 239.0f / 240.0f);
}

TEST_F(Sliders, BassSlidersCountFromTheTop) {
    drag(form->bassFreq, 95);
    EXPECT_EQ(form->bassFreqLbl.text(), "50Hz");
    EXPECT_EQ(parameter(ADoubler::kBassFrequency), 0.05f);
    drag(form->bassFreq, 0);
    EXPECT_EQ(form->bassFreqLbl.text(), "1000Hz");
    EXPECT_EQ(parameter(ADoubler::kBassFrequency), 1.0f);
    keyTo(form->BassLevel, 70);
    EXPECT_EQ(form->BassLevelLbl.text(), "30%");
    EXPECT_EQ(parameter(ADoubler::kBassBoost), 0.3f);
    keyTo(form->BassWidth, 30);
    EXPECT_EQ(form->BassWidthLbl.text(), "40%");
    EXPECT_EQ(parameter(ADoubler::kBassWidth), 0.7f);
}

TEST_F(Sliders, DoubleClicksOnLabelsAndCaptionsReset) {
    struct Case {
        PanelSlider& slider;
        toolkit::Control& target;
        int away;
        int neutral;
    };
    const Case cases[] = {
        {form->InitWidth, form->InitWidthCaption, 10, 50}, {form->InitWidth, form->InitWidthLbl, 90, 50},
        {form->Rotation, form->RotationCaption, 10, 50},   {form->Aymmetry, form->LeftCaption, 10, 50},
        {form->Aymmetry, form->RightAsymLbl, 70, 50},      {form->centrecut, form->CentreCaption, 5, 50},
        {form->bassFreq, form->FreqCaption, 10, 90},       {form->BassLevel, form->BassLevelLbl, 10, 100},
        {form->BassWidth, form->BassWidthCaption, 10, 50}, {form->Delay, form->delayLbl, 3, 120},
        {form->Delay, form->RightDelay, 200, 120},         {form->Balance, form->BalanceCaption, 80, 50},
        {form->StereoWidth, form->StrWidthLbl, 80, 50},
    };
    for (const Case& c : cases) {
        c.slider.setPosition(c.away);
        doubleClick(c.target);
        EXPECT_EQ(c.slider.position(), c.neutral);
    }
    // "3 way balance" puts both of its sliders back.
    form->Aymmetry.setPosition(5);
    form->centrecut.setPosition(95);
    doubleClick(form->Label49);
    EXPECT_EQ(form->Aymmetry.position(), 50);
    EXPECT_EQ(form->rightAsym.position(), 50);
    EXPECT_EQ(form->centrecut.position(), 50);
    EXPECT_EQ(parameter(ADoubler::kCentreCut), 0.5f);
}

TEST_F(Sliders, FourResetsSendNeutralEvenWhenTheSliderIsThere) {
    // The host moved these behind the panel's back; the sliders still stand at 50.
    effect->setParameter(ADoubler::kInputRotation, 0.504f);
    effect->setParameter(ADoubler::kOutputRotation, 0.504f);
    effect->setParameter(ADoubler::kOutputWidth, 0.504f);
    effect->setParameter(ADoubler::kInputWidth, 0.504f);
    effect->setParameter(ADoubler::kDelay, 0.501f);
    idle();
    doubleClick(form->RotationLbl);
    doubleClick(form->BalanceLbl);
    doubleClick(form->StrWidthLbl);
    doubleClick(form->leftDelay);
    doubleClick(form->InitWidthLbl);
    EXPECT_EQ(parameter(ADoubler::kInputRotation), 0.5f);
    EXPECT_EQ(parameter(ADoubler::kOutputRotation), 0.5f);
    EXPECT_EQ(parameter(ADoubler::kOutputWidth), 0.5f);
    EXPECT_EQ(parameter(ADoubler::kDelay), 0.5f);
    // InitWidth's reset only moves the slider, which stood at 50 already.
    EXPECT_EQ(parameter(ADoubler::kInputWidth), 0.504f);
}

TEST_F(Sliders, HostAutomationReachesTheSliderInOnePass) {
    // Already at 50: the handler does not run and the effect keeps the host's value.
    effect->setParameter(ADoubler::kOutputWidth, 0.503f);
    const std::uint32_t before = editor().refreshCount();
    idle();
    EXPECT_EQ(editor().refreshCount(), before + 1);
    EXPECT_EQ(form->StereoWidth.position(), 50);
    EXPECT_EQ(parameter(ADoubler::kOutputWidth), 0.503f);
    // Elsewhere: the slider moves to 50 and shows it; the effect keeps 0.503.
    keyTo(form->StereoWidth, 30);
    idle();
    effect->setParameter(ADoubler::kOutputWidth, 0.503f);
    idle();
    EXPECT_EQ(form->StereoWidth.position(), 50);
    EXPECT_EQ(parameter(ADoubler::kOutputWidth), 0.503f);
    EXPECT_EQ(form->StrWidthLbl.text(), "100%");
    // The refresh cleared the dirty mark and set it nowhere: no second pass.
    const std::uint32_t after = editor().refreshCount();
    idle();
    idle();
    EXPECT_EQ(editor().refreshCount(), after);
}

TEST_F(Sliders, ArrowsStepByLinePagesByATenthAndTheWheelByOneStep) {
    keyTo(form->StereoWidth, 50);
    window().key(Key::pageDown);
    EXPECT_EQ(form->StereoWidth.position(), 60);
    window().key(Key::pageUp);
    window().key(Key::pageUp);
    EXPECT_EQ(form->StereoWidth.position(), 40);
    EXPECT_EQ(parameter(ADoubler::kOutputWidth), 0.4f);
    // The latency slider steps by 5 and pages by 99 (a tenth of 5..1000).
    click(form->NiceButton1);
    keyTo(form->LatencyTB, 750);
    window().key(Key::right);
    EXPECT_EQ(form->LatencyTB.position(), 755);
    EXPECT_EQ(effect->latency(), 755);
    EXPECT_EQ(form->LatencyLB.text(), "755ms");
    window().key(Key::pageUp);
    EXPECT_EQ(form->LatencyTB.position(), 656);
    // The wheel over a slider moves it by one step, up towards the minimum.
    const toolkit::Point over = centreOf(form->Balance);
    window().wheel(over.x, over.y, -1);
    EXPECT_EQ(form->Balance.position(), 51);
    EXPECT_EQ(form->BalanceLbl.text(), "1\xBA");
    window().wheel(over.x, over.y, 2);
    EXPECT_EQ(form->Balance.position(), 49);
    const toolkit::Point latency = centreOf(form->LatencyTB);
    window().wheel(latency.x, latency.y, -1);
    EXPECT_EQ(form->LatencyTB.position(), 661);
    // Over something else the wheel does nothing.
    const toolkit::Point caption = centreOf(form->BalanceCaption);
    window().wheel(caption.x, caption.y, 3);
    EXPECT_EQ(form->Balance.position(), 49);
}

TEST_F(Sliders, LatencyFollowsTheEffectWithoutSendingBack) {
    effect->setParameter(ADoubler::kSetLatency, 420.0f);
    EXPECT_EQ(form->LatencyLB.text(), "420ms");
    EXPECT_EQ(form->LatencyTB.position(), 420);
    // Beyond the slider's range the label tells the truth and the slider waits at its end.
    effect->setParameter(ADoubler::kSetLatency, 1500.0f);
    EXPECT_EQ(form->LatencyLB.text(), "1500ms");
    EXPECT_EQ(form->LatencyTB.position(), 1000);
    EXPECT_EQ(effect->latency(), 1500);
    // No latency is ever sent as automation.
    form->Automation.setLEDon(true);
    click(form->NiceButton1);
    keyTo(form->LatencyTB, 500);
    EXPECT_EQ(effect->latency(), 500);
    EXPECT_TRUE(automation().empty());
}

}  // namespace
}  // namespace widefield
