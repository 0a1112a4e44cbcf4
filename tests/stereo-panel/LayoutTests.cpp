// LayoutTests.cpp — Widefield's panel as it opens: the window, the defaults on
// every value label and lamp, the places the displays keep, which controls
// lie over which, the editor's open, reopen and close, and the pictures the
// end-to-end checks compare against.
#include "controls/ZoomMenu.h"
#include "tests/stereo-panel/PanelFixture.h"

#include "toolkit/Png.h"

namespace widefield {
namespace {

using testing::PanelTest;
using toolkit::Rect;
using testing::kGrey;
using testing::kSilver;

class Layout : public PanelTest {
protected:
    // The window's last paint, for the end-to-end checks and for looking at.
    bool savePicture(const std::string& name) {
        return toolkit::savePng(window().lastImage(), std::string(PANEL_TEST_OUTPUT_DIR) + "/" + name);
    }
};

TEST_F(Layout, OpensAsABorderlessChildOfTheHostsWindow) {
    EXPECT_EQ(window().parent(), &hostWindow);
    EXPECT_FALSE(window().topLevel());
    EXPECT_TRUE(window().visible());
    EXPECT_EQ(window().width(), 723);
    EXPECT_EQ(window().height(), 386);
    EXPECT_EQ(form->effect, effect.get());
    ERect* rect = nullptr;
    EXPECT_EQ(effect->dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 1);
    EXPECT_EQ((std::vector<int>{rect->top, rect->left, rect->bottom, rect->right}),
              (std::vector<int>{0, 0, 386, 723}));
    EXPECT_EQ(form->color(), toolkit::rgb(0, 0, 0));
}

TEST_F(Layout, DefaultsShowEveryValueLabelGrey) {
    struct Expected {
        const toolkit::Label& label;
        const char* text;
    };
    const Expected expected[] = {
        {form->InitWidthLbl, "100%"}, {form->RotationLbl, "0\xBA"},  {form->AymmetryLbl, "0%"},
        {form->CentreLbl, "0%"},      {form->RightAsymLbl, "0%"},    {form->bassFreqLbl, "100Hz"},
        {form->BassLevelLbl, "0%"},   {form->BassWidthLbl, "0%"},    {form->leftDelay, "0"},
        {form->RightDelay, "0"},      {form->BalanceLbl, "0\xBA"},   {form->StrWidthLbl, "100%"},
    };
    for (const Expected& e : expected) {
        EXPECT_EQ(e.label.text(), e.text);
        EXPECT_EQ(e.label.font().color, kGrey) << e.text;
    }
    EXPECT_EQ(form->LFdrLVL.text(), "0.00db");
    EXPECT_EQ(form->RFdrLvl.text(), "0.00db");
    EXPECT_EQ(form->LatencyLB.text(), "750ms");
    EXPECT_EQ(form->LatencyTB.position(), 750);
}

TEST_F(Layout, DefaultsPutEverySliderAtItsNeutralPlaceAndOnlyFluorescenceLit) {
    EXPECT_EQ(form->InitWidth.position(), 50);
    EXPECT_EQ(form->Rotation.position(), 50);
    EXPECT_EQ(form->Aymmetry.position(), 50);
    EXPECT_EQ(form->rightAsym.position(), 50);
    EXPECT_EQ(form->centrecut.position(), 50);
    EXPECT_EQ(form->bassFreq.position(), 90);
    EXPECT_EQ(form->BassLevel.position(), 100);
    EXPECT_EQ(form->BassWidth.position(), 50);
    EXPECT_EQ(form->Delay.position(), 120);
    EXPECT_EQ(form->Balance.position(), 50);
    EXPECT_EQ(form->StereoWidth.position(), 50);
    EXPECT_EQ(form->FaderL.position(), 90);
    EXPECT_EQ(form->FaderR.position(), 90);
    for (const controls::TNiceButton* lamp :
         {&form->INVL, &form->INVR, &form->Mono, &form->Bypass, &form->ChannelSwap, &form->DCfilter,
          &form->BassBypass, &form->Pseudo, &form->MetersOff, &form->Automation})
        EXPECT_FALSE(lamp->LEDon()) << lamp->caption();
    EXPECT_TRUE(form->flure.LEDon());
    EXPECT_FALSE(form->peekpanel.visible());
    EXPECT_FALSE(form->SavePanel.visible());
    EXPECT_FALSE(form->ResetOKpanel.visible());
    // The refresh that set them ended in one pass and sent nothing the host sees.
    EXPECT_FALSE(effect->isPanelDirty());
    EXPECT_TRUE(automation().empty());
}

TEST_F(Layout, ABuiltPanelShowsDesignPositionsBeforeAnyRefresh) {
    // The labels follow the sliders from creation on, also off-neutral.
    TuStereoform bare(windows);
    EXPECT_EQ(bare.Balance.position(), 75);
    EXPECT_EQ(bare.BalanceLbl.text(), "45\xBA");
    EXPECT_EQ(bare.BalanceLbl.font().color, kSilver);
    EXPECT_EQ(bare.AymmetryLbl.text(), "80%");
    EXPECT_EQ(bare.RightAsymLbl.text(), "-80%");
    EXPECT_EQ(bare.bassFreqLbl.text(), "900Hz");
    EXPECT_EQ(bare.BassLevelLbl.text(), "90%");
    EXPECT_EQ(bare.leftDelay.text(), "70");
    EXPECT_EQ(bare.leftDelay.font().color, kSilver);
    EXPECT_EQ(bare.RightDelay.font().color, kGrey);
    EXPECT_EQ(bare.LFdrLVL.text(), "0.81db");
    EXPECT_EQ(bare.RFdrLvl.text(), "1.86db");
    EXPECT_EQ(bare.faderLinkDb, 0.0f);
    EXPECT_EQ(bare.effect, nullptr);
    EXPECT_TRUE(bare.flure.LEDon());
}

TEST_F(Layout, ThePanelIsShownOnlyAfterItsControlsAreInLine) {
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    // The refresh reads the effect's settings into the controls; the window
    // must still be hidden while it does.
    int readsWhileShown = 0, reads = 0;
    received->onGet = [&] {
        ++reads;
        for (const platform::HeadlessWindow* w : windows.windows()) readsWhileShown += w->visible() ? 1 : 0;
    };
    openPanel();
    received->onGet = nullptr;
    EXPECT_GT(reads, 0);
    EXPECT_EQ(readsWhileShown, 0);
    EXPECT_TRUE(window().visible());
}

TEST_F(Layout, DisplaysKeepTheirPlacesTheScopeShowsItsGraticule) {
    EXPECT_EQ(form->ScopeFrame.formBounds(), Rect::ofSize(326, 51, 260, 260));
    EXPECT_EQ(form->DrawPanel.formBounds(), Rect::ofSize(328, 53, 256, 256));
    EXPECT_EQ(form->PaintBox1.formBounds(), Rect::ofSize(328, 53, 256, 256));
    EXPECT_EQ(form->meter.formBounds(), Rect::ofSize(645, 58, 19, 288));
    EXPECT_EQ(form->MeterHelper.formBounds(), Rect::ofSize(645, 58, 19, 288));
    EXPECT_EQ(form->PhaseMeter.formBounds(), Rect::ofSize(328, 343, 256, 15));
    EXPECT_EQ(form->PHaseMeterHelper.formBounds(), Rect::ofSize(328, 343, 256, 15));
    EXPECT_EQ(form->PeakFrame.formBounds(), Rect::ofSize(602, 24, 107, 19));
    EXPECT_EQ(form->SetMaxAsPeeks.formBounds(), Rect::ofSize(642, 45, 27, 16));
    EXPECT_EQ(form->FaderL.formBounds(), Rect::ofSize(612, 49, 25, 307));
    EXPECT_EQ(form->FaderReadoutFrame.formBounds(), Rect::ofSize(604, 358, 107, 19));
    const toolkit::Image& image = window().paintNow();
    // The scope shows its graticule from the start; the strips stay black until
    // the first readings.
    const toolkit::Image& scope = form->displays.displays().scopeSurface();
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) ASSERT_EQ(image.at(328 + x, 53 + y), scope.at(x, y)) << x << "," << y;
    EXPECT_EQ(scope.at(128, 128), widefield::displayColors::axes);
    for (const toolkit::Control* area : {static_cast<const toolkit::Control*>(&form->MeterHelper),
                                         static_cast<const toolkit::Control*>(&form->PHaseMeterHelper)}) {
        const Rect r = area->formBounds();
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                // The peak button's point reaches three rows into the meter strip.
                if (!form->SetMaxAsPeeks.formBounds().contains(x, y)) {
                    ASSERT_EQ(image.at(x, y) & 0xFFFFFF, 0u) << x << "," << y;
                }
    }
    // The phase strip's frame is white, the sections' frames are drawn.
    EXPECT_EQ(image.at(327, 342) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(Layout, OnlyTheStackedLayersOverlap) {
    // stack() puts frames, bars and marks at the bottom, and the bass
    // frequency slider, the peak button and the overlays at the top; between
    // them controls share pixels only where the order cannot show: the column
    // titles and values, centred 40 wide on sliders 32 apart (transparent,
    // their texts apart).
    std::vector<toolkit::Control*> children = form->children();
    // The zoom menu, an overlay of the whole panel, lies over everything.
    ASSERT_FALSE(children.empty());
    if (dynamic_cast<controls::ZoomMenu*>(children.back()) != nullptr) children.pop_back();
    using Controls = std::vector<const toolkit::Control*>;
    const Controls bottom = {&form->InputFrame,     &form->BalanceFrame,   &form->BassFrame,      &form->DelayFrame,
                             &form->OutputFrame,    &form->DecorationBar1, &form->DecorationBar2, &form->DecorationBar3,
                             &form->DecorationBar4, &form->ScopeFrame,     &form->PhaseFrame,     &form->LevelMarks};
    const Controls top = {&form->bassFreq, &form->SetMaxAsPeeks, &form->peekpanel, &form->SavePanel,
                          &form->ResetOKpanel};
    ASSERT_GT(children.size(), bottom.size() + top.size());
    EXPECT_EQ(Controls(children.begin(), children.begin() + static_cast<std::ptrdiff_t>(bottom.size())), bottom);
    EXPECT_EQ(Controls(children.end() - static_cast<std::ptrdiff_t>(top.size()), children.end()), top);
    const std::vector<Controls> sideBySide = {
        {&form->LeftCaption, &form->CentreCaption, &form->RightCaption},
        {&form->AymmetryLbl, &form->CentreLbl, &form->RightAsymLbl},
        {&form->FreqCaption, &form->BoostCaption, &form->BassWidthCaption},
        {&form->bassFreqLbl, &form->BassLevelLbl, &form->BassWidthLbl}};
    const auto neighbours = [&](const toolkit::Control* a, const toolkit::Control* b) {
        for (const Controls& row : sideBySide)
            for (std::size_t k = 0; k + 1 < row.size(); ++k)
                if ((row[k] == a && row[k + 1] == b) || (row[k] == b && row[k + 1] == a)) return true;
        return false;
    };
    const std::size_t end = children.size() - top.size();
    for (std::size_t i = bottom.size(); i < end; ++i)
        for (std::size_t j = i + 1; j < end; ++j) {
            const Rect shared = children[i]->formBounds().intersect(children[j]->formBounds());
            EXPECT_TRUE(shared.empty() || neighbours(children[i], children[j]))
                << "controls at " << children[i]->left() << "," << children[i]->top() << " and "
                << children[j]->left() << "," << children[j]->top();
        }
    for (const toolkit::Control* label : {&form->LeftCaption, &form->CentreLbl, &form->BoostCaption})
        EXPECT_TRUE(static_cast<const toolkit::Label*>(label)->transparent());
}

TEST_F(Layout, ButtonsCarryTheirCaptionsAndFaces) {
    EXPECT_EQ(form->INVL.caption(), "L +/-");
    EXPECT_EQ(form->ChannelSwap.caption(), "R<->L");
    EXPECT_EQ(form->Pseudo.caption(), "Psuedo St");
    EXPECT_EQ(form->Automation.caption(), "Send");
    EXPECT_TRUE(form->Automation.AutoToggle());
    EXPECT_FALSE(form->NiceButton1.ShowLED());
    EXPECT_EQ(form->NiceButton1.caption(), "i");
    EXPECT_EQ(form->NiceButton2.Font().color, toolkit::rgb(255, 0, 0));
    EXPECT_EQ(form->INVL.frameIndex(), 2);
    EXPECT_EQ(form->flure.frameIndex(), 4);
    EXPECT_EQ(form->NiceButton3.caption(), "");
    EXPECT_EQ(form->SetMaxAsPeeks.width(), 27);
    EXPECT_FALSE(form->SetMaxAsPeeks.ShowLED());
    // Marked bands and ticks.
    EXPECT_EQ(form->InitWidth.selectionStart(), 49);
    EXPECT_EQ(form->BassWidth.selectionStart(), 48);
    EXPECT_EQ(form->Delay.selectionEnd(), 121);
    EXPECT_FALSE(form->bassFreq.hasSelection());
    EXPECT_FALSE(form->FaderL.hasSelection());
    EXPECT_EQ(form->LatencyTB.tickFrequency(), 100);
    EXPECT_EQ(form->StereoWidth.tickFrequency(), 0);
}

TEST_F(Layout, ReopeningReusesThePanelAndCloseDestroysIt) {
    int other = 0;
    const std::uint32_t before = editor().refreshCount();
    EXPECT_EQ(effect->dispatcher(effEditOpen, 0, 0, &other, 0.0f), 1);
    EXPECT_EQ(editor().getForm(), form);
    EXPECT_EQ(editor().getParentWindow(), &other);
    EXPECT_EQ(editor().refreshCount(), before + 1);
    EXPECT_EQ(windows.windows().size(), 1u);
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(editor().getForm(), nullptr);
    EXPECT_TRUE(windows.windows().empty());
    EXPECT_EQ(windows.timerCount(), 0u);
    // A fresh panel takes everything from the effect again, Send unlit.
    effect->setParameter(ADoubler::kOutputWidth, 0.2f);
    openPanel();
    EXPECT_EQ(form->StereoWidth.position(), 20);
    EXPECT_EQ(form->StrWidthLbl.text(), "40%");
    EXPECT_FALSE(form->Automation.LEDon());
}

TEST_F(Layout, SavesPicturesAtDefaultsAndWithTheOptionsOpen) {
    window().paintNow();
    EXPECT_TRUE(savePicture("widefield-defaults.png"));
    click(form->NiceButton1);
    window().paintNow();
    EXPECT_TRUE(savePicture("widefield-options.png"));
}

// The gestures the end-to-end check makes in real windows (plughost --drag,
// --double-click, --control-drag, --wheel at these points), made here as the
// window system delivers them, with what each must do.
TEST_F(Layout, SavesPictureOfRealGestures) {
    const auto drag = [&](int x0, int y0, int x1, int y1) {
        window().press(x0, y0);
        for (int step = 1; step <= 8; ++step) window().mouseMove(x0 + (x1 - x0) * step / 8, y0 + (y1 - y0) * step / 8);
        window().release(x1, y1);
        idle();
    };
    drag(129, 360, 160, 360);
    EXPECT_EQ(form->StereoWidth.position(), 75);
    EXPECT_EQ(form->StrWidthLbl.text(), "150%");
    drag(124, 57, 90, 57);
    EXPECT_EQ(form->InitWidth.position(), 23);
    window().doubleClick(214, 56);
    idle();
    EXPECT_EQ(form->InitWidth.position(), 50);
    windows.setControlKeyDown(true);
    drag(624, 146, 624, 250);
    windows.setControlKeyDown(false);
    EXPECT_EQ(form->FaderL.position(), 191);
    EXPECT_EQ(form->FaderR.position(), 90);
    window().wheel(129, 333, -3);
    idle();
    EXPECT_EQ(form->Balance.position(), 53);
    EXPECT_EQ(form->BalanceLbl.text(), "5\xBA");
    // The real window plays silence meanwhile, without the scope's afterglow
    // (whose traces depend on when the host idles): the phase strip shows its
    // marker at 0 once the panel has drawn a reading.
    effect->setParameter(ADoubler::kSetFluorescence, 0.0f);
    std::vector<float> silence(512, 0.0f), outLeft(512), outRight(512);
    float* inputs[2] = {silence.data(), silence.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    for (int block = 0; block < 4; ++block) effect->processReplacing(inputs, outputs, 512);
    idle();
    window().paintNow();
    EXPECT_TRUE(savePicture("widefield-gestures.png"));
}

}  // namespace
}  // namespace widefield
