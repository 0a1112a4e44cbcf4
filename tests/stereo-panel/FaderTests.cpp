// FaderTests.cpp — the two output faders: readouts, the link and its offset,
// Control drags, the top overflow of either partner, silence, setFaders from
// the effect's gains (which it keeps) and the readouts' double-click.
#include "tests/stereo-panel/PanelFixture.h"

#include "stereo/LevelScale.h"

namespace widefield {
namespace {

using testing::PanelTest;

class Faders : public PanelTest {
protected:
    float sentGain(std::int32_t index) { return effect->getParameter(index); }
};

TEST_F(Faders, LinkedDragMovesBothAndSendsHalfTheGain) {
    drag(form->FaderL, 189);
    EXPECT_EQ(form->FaderR.position(), 189);
    EXPECT_EQ(form->LFdrLVL.text(), "-6.00db");
    EXPECT_EQ(form->RFdrLvl.text(), "-6.00db");
    EXPECT_NEAR(sentGain(ADoubler::kGainLeft), 0.2506, 0.0001);
    EXPECT_NEAR(sentGain(ADoubler::kGainRight), 0.2506, 0.0001);
    EXPECT_EQ(form->faderLinkDb, 0.0f);
}

TEST_F(Faders, ControlUnlinksAndTheNewOffsetHolds) {
    drag(form->FaderL, 189);
    windows.setControlKeyDown(true);
    drag(form->FaderL, 147);
    EXPECT_EQ(form->FaderR.position(), 189);
    EXPECT_FLOAT_EQ(form->faderLinkDb, -3.0f);
    windows.setControlKeyDown(false);
    drag(form->FaderL, 90);
    EXPECT_EQ(form->FaderR.position(), 147);
    EXPECT_EQ(form->RFdrLvl.text(), "-3.00db");
    // The right fader drags the left one the other way round.
    drag(form->FaderR, 189);
    EXPECT_EQ(form->FaderL.position(), 147);
}

TEST_F(Faders, ThePartnerStopsAtTheTopAndTheOffsetShrinks) {
    windows.setControlKeyDown(true);
    drag(form->FaderR, 30);
    windows.setControlKeyDown(false);
    ASSERT_FLOAT_EQ(form->faderLinkDb, 3.0f);
    ASSERT_EQ(form->FaderL.position(), 90);
    // Upwards one row at a time, as a slow drag goes.
    keyTo(form->FaderL, 31);
    EXPECT_GT(form->FaderR.position(), 0);
    keyTo(form->FaderL, 30);
    EXPECT_EQ(form->FaderR.position(), 0);
    float previous = form->faderLinkDb;
    for (int row = 29; row >= 0; --row) {
        keyTo(form->FaderL, row);
        EXPECT_EQ(form->FaderR.position(), 0);
        EXPECT_LT(form->faderLinkDb, previous);
        previous = form->faderLinkDb;
    }
    EXPECT_FLOAT_EQ(form->faderLinkDb, 0.0f);
}

TEST_F(Faders, TheLeftPartnerStopsAtTheTopAndTheOffsetShrinksToo) {
    windows.setControlKeyDown(true);
    drag(form->FaderL, 30);
    windows.setControlKeyDown(false);
    ASSERT_FLOAT_EQ(form->faderLinkDb, -3.0f);
    ASSERT_EQ(form->FaderR.position(), 90);
    keyTo(form->FaderR, 31);
    EXPECT_GT(form->FaderL.position(), 0);
    keyTo(form->FaderR, 30);
    EXPECT_EQ(form->FaderL.position(), 0);
    float previous = form->faderLinkDb;
    for (int row = 29; row >= 0; --row) {
        keyTo(form->FaderR, row);
        EXPECT_EQ(form->FaderL.position(), 0);
        EXPECT_GT(form->faderLinkDb, previous);
        previous = form->faderLinkDb;
    }
    EXPECT_FLOAT_EQ(form->faderLinkDb, 0.0f);
    EXPECT_FLOAT_EQ(effect->gain(false), effect->gain(true));
}

TEST_F(Faders, BottomRowIsSilence) {
    drag(form->FaderL, 288);
    EXPECT_EQ(form->LFdrLVL.text(), "-inf");
    EXPECT_EQ(form->RFdrLvl.text(), "-inf");
    EXPECT_EQ(sentGain(ADoubler::kGainLeft), 0.0f);
    EXPECT_EQ(effect->gain(false), 0.0f);
    keyTo(form->FaderL, 287);
    EXPECT_EQ(form->LFdrLVL.text(), "-94.80db");
}

TEST_F(Faders, EffectGainsPlaceTheFadersAndTheOffset) {
    effect->setParameter(ADoubler::kGainLeft, 0.5f);
    effect->setParameter(ADoubler::kGainRight, 0.25f);
    idle();
    EXPECT_EQ(form->FaderL.position(), 90);
    EXPECT_EQ(form->FaderR.position(), 189);
    EXPECT_NEAR(form->faderLinkDb, -6.02, 0.001);
    // The faders follow without sending: the effect keeps its own gains, the
    // right one between two rows.
    EXPECT_EQ(effect->gain(false), 1.0f);
    EXPECT_EQ(effect->gain(true), 0.5f);
    EXPECT_NE(static_cast<float>(faderGain(189)), 0.5f);
    // A fresh panel from design positions lands the same way.
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    openPanel();
    EXPECT_EQ(form->FaderL.position(), 90);
    EXPECT_EQ(form->FaderR.position(), 189);
}

TEST_F(Faders, KnotsOneDbApartOnTheSameLevelKeepThePartnerOnTheLowerRow) {
    keyTo(form->FaderL, 66);
    EXPECT_EQ(form->FaderR.position(), 65);
    EXPECT_EQ(form->FaderL.position(), 66);
    EXPECT_EQ(form->LFdrLVL.text(), form->RFdrLvl.text());
}

TEST_F(Faders, DoubleClickOnTheReadoutsPutsBothAtZero) {
    windows.setControlKeyDown(true);
    drag(form->FaderL, 120);
    windows.setControlKeyDown(false);
    drag(form->FaderR, 40);
    doubleClick(form->RFdrLvl);
    EXPECT_EQ(form->FaderL.position(), 90);
    EXPECT_EQ(form->FaderR.position(), 90);
    EXPECT_EQ(form->faderLinkDb, 0.0f);
    EXPECT_EQ(sentGain(ADoubler::kGainLeft), 0.5f);
    EXPECT_EQ(sentGain(ADoubler::kGainRight), 0.5f);
    drag(form->FaderL, 100);
    doubleClick(form->FaderReadoutFrame);
    EXPECT_EQ(form->FaderR.position(), 90);
}

TEST_F(Faders, ALinkedDragWhileSendIsLitBracketsBothGains) {
    click(form->Automation);
    host.calls.clear();
    drag(form->FaderL, 100);
    ASSERT_GE(host.calls.size(), 4u);
    EXPECT_EQ(host.calls[0].opcode, TuStereoform::kAudioMasterBeginEdit);
    EXPECT_EQ(host.calls[0].index, ADoubler::kGainLeft);
    EXPECT_EQ(host.calls[1].opcode, TuStereoform::kAudioMasterBeginEdit);
    EXPECT_EQ(host.calls[1].index, ADoubler::kGainRight);
    const testing::HostCall& last = host.calls.back();
    EXPECT_EQ(last.opcode, TuStereoform::kAudioMasterEndEdit);
    EXPECT_EQ(last.index, ADoubler::kGainLeft);
    bool right = false;
    for (const testing::HostCall& call : automation()) right = right || call.index == ADoubler::kGainRight;
    EXPECT_TRUE(right);
}

}  // namespace
}  // namespace widefield
