// RefreshTests.cpp — refreshPanel's mappings from the effect's settings to the
// controls, with every setting away from its neutral value (so a swapped
// index, a lost reversal or a wrong lamp shows), and that the refresh sends
// nothing back: values between the steps stay as the host set them.
#include "tests/stereo-panel/PanelFixture.h"

#include "stereo/LevelScale.h"

namespace widefield {
namespace {

using testing::HostCall;
using testing::PanelTest;

class Refresh : public PanelTest {
protected:
    // The host sets its values while the editor is closed; the panel opens on them.
    void reopenAfter(const std::function<void()>& hostSets) {
        effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
        hostSets();
        openPanel();
    }
};

TEST_F(Refresh, EverySliderShowsItsOwnSettingAwayFromNeutral) {
    reopenAfter([&] {
        effect->setParameter(ADoubler::kOutputWidth, 0.83f);
        effect->setParameter(ADoubler::kOutputRotation, 0.27f);
        effect->setParameter(ADoubler::kInputRotation, 0.64f);
        effect->setParameter(ADoubler::kDelay, 0.3f);  // 72 - 120 samples
        effect->setParameter(ADoubler::kAsymmetry, 0.22f);
        effect->setParameter(ADoubler::kInputWidth, 0.71f);
        effect->setParameter(ADoubler::kCentreCut, 0.36f);
        effect->setParameter(ADoubler::kBassFrequency, 0.42f);
        effect->setParameter(ADoubler::kBassBoost, 0.13f);
        effect->setParameter(ADoubler::kBassWidth, 0.69f);
        effect->setParameter(ADoubler::kGainLeft, 0.25f);   // gain 0.5
        effect->setParameter(ADoubler::kGainRight, 0.4f);   // gain 0.8
        effect->setParameter(ADoubler::kSetLatency, 345.0f);
    });
    EXPECT_EQ(form->StereoWidth.position(), 83);
    EXPECT_EQ(form->Balance.position(), 27);
    EXPECT_EQ(form->Rotation.position(), 64);
    EXPECT_EQ(form->Delay.position(), 72);
    EXPECT_EQ(form->Aymmetry.position(), 22);
    EXPECT_EQ(form->rightAsym.position(), 78);
    EXPECT_EQ(form->InitWidth.position(), 71);
    EXPECT_EQ(form->centrecut.position(), 36);
    EXPECT_EQ(form->bassFreq.position(), 58);
    EXPECT_EQ(form->BassLevel.position(), 87);
    EXPECT_EQ(form->BassWidth.position(), 31);
    EXPECT_EQ(form->FaderL.position(), levelRow(0.5));
    EXPECT_EQ(form->FaderR.position(), levelRow(0.8));
    EXPECT_NEAR(form->faderLinkDb, 20.0 * std::log10(0.8 / 0.5), 0.001);
    EXPECT_EQ(form->LatencyTB.position(), 345);
    EXPECT_EQ(form->LatencyLB.text(), "345ms");
    // The labels the handlers wrote on the way.
    EXPECT_EQ(form->StrWidthLbl.text(), "166%");
    EXPECT_EQ(form->leftDelay.text(), "48");
    EXPECT_EQ(form->bassFreqLbl.text(), "420Hz");
    EXPECT_EQ(form->BassLevelLbl.text(), "13%");
    // Each value sits on its slider's grid already: the refresh sent nothing
    // that changed it.
    EXPECT_EQ(effect->getParameter(ADoubler::kBassFrequency), 0.42f);
    EXPECT_EQ(effect->getParameter(ADoubler::kAsymmetry), 0.22f);
}

TEST_F(Refresh, EachLampShowsItsOwnSwitch) {
    struct Lamp {
        std::int32_t index;  // or the fluorescence command
        controls::TNiceButton TuStereoform::*button;
    };
    const Lamp lamps[] = {
        {ADoubler::kInvertLeft, &TuStereoform::INVL},    {ADoubler::kInvertRight, &TuStereoform::INVR},
        {ADoubler::kMonoOut, &TuStereoform::Mono},       {ADoubler::kBypass, &TuStereoform::Bypass},
        {ADoubler::kMetersOff, &TuStereoform::MetersOff}, {ADoubler::kSwapChannels, &TuStereoform::ChannelSwap},
        {ADoubler::kBassOn, &TuStereoform::BassBypass},  {ADoubler::kDcFilter, &TuStereoform::DCfilter},
        {ADoubler::kPseudoStereo, &TuStereoform::Pseudo}, {ADoubler::kSetFluorescence, &TuStereoform::flure},
    };
    // One switch at a time away from its default: only its own lamp differs.
    for (const Lamp& changed : lamps) {
        reopenAfter([&] {
            for (const Lamp& lamp : lamps) {
                const bool on = (lamp.index == ADoubler::kSetFluorescence) != (&lamp == &changed);
                effect->setParameter(lamp.index, on ? 1.0f : 0.0f);
            }
        });
        for (const Lamp& lamp : lamps) {
            const bool expected = (lamp.index == ADoubler::kSetFluorescence) != (&lamp == &changed);
            EXPECT_EQ((form->*lamp.button).LEDon(), expected)
                << (form->*lamp.button).caption() << " with index " << changed.index << " changed";
        }
    }
    EXPECT_FALSE(form->Automation.LEDon());
}

TEST_F(Refresh, HostValuesBetweenTheStepsStayAndNothingGoesBack) {
    // Values off the sliders' grids and between the faders' rows: the controls
    // move to the nearest step and say so, the effect keeps the host's values,
    // and neither the effect nor the host hears anything from the panel,
    // whether "Send" is dark or lit.
    const auto hostSets = [&](float offset) {
        effect->setParameter(ADoubler::kOutputWidth, 0.733f + offset);
        effect->setParameter(ADoubler::kInputRotation, 0.641f + offset);
        effect->setParameter(ADoubler::kDelay, 0.3f + offset);
        effect->setParameter(ADoubler::kBassWidth, 0.692f + offset);
        effect->setParameter(ADoubler::kGainLeft, 0.3f + offset);
    };
    for (const bool lit : {false, true}) {
        if (lit) click(form->Automation);
        const float offset = lit ? 0.1f : 0.0f;
        host.calls.clear();
        received->sent.clear();
        hostSets(offset);
        const std::size_t hostSends = received->sent.size();
        idle();
        EXPECT_EQ(form->StereoWidth.position(), lit ? 83 : 73);
        EXPECT_EQ(form->StrWidthLbl.text(), lit ? "166%" : "146%");
        EXPECT_EQ(form->BassWidth.position(), lit ? 21 : 31);
        EXPECT_EQ(effect->getParameter(ADoubler::kOutputWidth), 0.733f + offset);
        EXPECT_EQ(effect->getParameter(ADoubler::kInputRotation), 0.641f + offset);
        EXPECT_EQ(effect->getParameter(ADoubler::kDelay), 0.3f + offset);
        EXPECT_EQ(effect->getParameter(ADoubler::kBassWidth), 0.692f + offset);
        EXPECT_EQ(effect->getParameter(ADoubler::kGainLeft), 0.3f + offset);
        EXPECT_EQ(received->sent.size(), hostSends) << "lit: " << lit;
        EXPECT_TRUE(automation().empty()) << "lit: " << lit;
    }
}

}  // namespace
}  // namespace widefield
