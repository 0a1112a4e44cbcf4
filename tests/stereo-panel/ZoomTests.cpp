// ZoomTests.cpp — Widefield's panel at every zoom level: the size the host is
// told, the stored choice, clicks at the zoomed centre of every control, and
// the whole panel at 200 % against the 100 % picture doubled.
#include <cstdlib>

#include "tests/stereo-panel/PanelFixture.h"
#include "tests/support/DoubledPicture.h"

namespace widefield::testing {
namespace {

using ZoomPanel = PanelTest;

// Every showing control of the tree under `control`.
void collect(toolkit::Control& control, std::vector<toolkit::Control*>& out) {
    for (toolkit::Control* child : control.children()) {
        if (!child->showing()) continue;
        out.push_back(child);
        collect(*child, out);
    }
}

TEST_F(ZoomPanel, AClickAtTheZoomedCentreOfEveryControlReachesIt) {
    std::vector<toolkit::Control*> controls;
    collect(*form, controls);
    ASSERT_GT(controls.size(), 40u);
    for (int level : toolkit::kZoomLevels) {
        const toolkit::Zoom zoom(level);
        form->setZoom(zoom);
        for (toolkit::Control* control : controls) {
            const toolkit::Rect logical = control->formBounds();
            const toolkit::Point centre{(logical.left + logical.right) / 2, (logical.top + logical.bottom) / 2};
            toolkit::Control* expected = form->controlAt(centre.x, centre.y);
            const toolkit::Rect device = zoom.toDevice(logical);
            const int x = (device.left + device.right) / 2, y = (device.top + device.bottom) / 2;
            EXPECT_EQ(form->controlAt(zoom.toLogical(x), zoom.toLogical(y)), expected) << level;
        }
    }
    // The window follows the form's zoom.
    form->setZoom(toolkit::Zoom(150));
    EXPECT_EQ(window().width(), 1084);
}

TEST_F(ZoomPanel, AtTwoHundredPercentAllButTheTextIsTheHundredPercentPictureDoubled) {
    const auto compare = [&](const char* what) {
        const test_support::DoublingResult result = test_support::compareFormDoubled(*form, window());
        EXPECT_TRUE(result.sizesMatch) << what;
        EXPECT_EQ(result.differing, 0) << what << ": first at " << result.firstDifference.x << ","
                                       << result.firstDifference.y;
        // The text is left out, and only the text.
        EXPECT_GT(result.textPixels, 0) << what;
        EXPECT_LT(result.textPixels, result.compared / 5) << what;
    };
    compare("defaults");
    click(form->NiceButton1);
    ASSERT_TRUE(form->peekpanel.visible());
    compare("the options open");
}

TEST_F(ZoomPanel, TheStoredChoiceSetsTheSizeBeforeAndAfterOpen) {
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    effect.reset();
    store.values["software\\Brisora\\Widefield\\Zoom"] = "175";
    platform::Services services;
    services.clock = &clock;
    services.settings = &store;
    services.hostProgram = &hostProgram;
    services.windows = &windows;
    effect = std::make_unique<ADoubler>(&RecordingHost::callback, services);
    ERect* rect = nullptr;
    ASSERT_EQ(effect->dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 1);
    EXPECT_EQ(rect->right, 1265);
    EXPECT_EQ(rect->bottom, 675);
    openPanel();
    EXPECT_EQ(window().width(), 1265);
    EXPECT_EQ(window().height(), 675);
    ASSERT_EQ(effect->dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 1);
    EXPECT_EQ(rect->right, 1265);
    // A pick asks the host for the size and stores the choice.
    editor().panelZoom().choose(200);
    EXPECT_EQ(store.values["software\\Brisora\\Widefield\\Zoom"], "200");
    EXPECT_EQ(window().width(), 1446);
}

TEST_F(ZoomPanel, AHostsScaleIsOfferedNotApplied) {
    EXPECT_EQ(effect->dispatcher(50, 0x50726553, 0x41654373, nullptr, 1.5f), 1);
    EXPECT_EQ(form->zoom().percent(), 100);
    ASSERT_TRUE(editor().panelZoom().choice().hostLevel().has_value());
    EXPECT_EQ(*editor().panelZoom().choice().hostLevel(), 150);
}

}  // namespace
}  // namespace widefield::testing
