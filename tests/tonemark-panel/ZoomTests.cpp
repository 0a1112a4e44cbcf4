// ZoomTests.cpp — Tonemark's panel at every zoom level: BRISORA_ZOOM and the
// size the host is told, clicks at the zoomed centre of every control (the
// strip open too), the whole panel at 200 % against the 100 % picture doubled,
// and A 440 at 200 % saved for the real windows' check.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/DoubledPicture.h"
#include "tests/tuner/ToneFixture.h"
#include "toolkit/Png.h"
#include "tuner/uFFT.h"

namespace tonemark {
namespace {

using testing::EffectHarness;

void collect(toolkit::Control& control, std::vector<toolkit::Control*>& out) {
    for (toolkit::Control* child : control.children()) {
        if (!child->showing()) continue;
        out.push_back(child);
        collect(*child, out);
    }
}

// BRISORA_ZOOM for the span of one test.
class ZoomEnvironment {
public:
    explicit ZoomEnvironment(const char* value) { setenv("BRISORA_ZOOM", value, 1); }
    ~ZoomEnvironment() { unsetenv("BRISORA_ZOOM"); }
};

TEST(TonemarkZoom, TheEnvironmentSetsTheSizeBeforeAndAfterOpenAndJunkIsIgnored) {
    const struct {
        const char* value;
        int width, height;
    } cases[] = {{"200", 888, 282}, {"160", 666, 211}, {"junk", 444, 141}, {"100000", 888, 282}, {"-3", 444, 141}};
    for (const auto& c : cases) {
        ZoomEnvironment environment(c.value);
        EffectHarness h;
        ERect* rect = nullptr;
        ASSERT_EQ(h.fx().dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 1);
        EXPECT_EQ(rect->right, c.width) << c.value;
        EXPECT_EQ(rect->bottom, c.height) << c.value;
        int hostWindow = 0;
        ASSERT_EQ(h.fx().dispatcher(effEditOpen, 0, 0, &hostWindow, 0.0f), 1);
        ASSERT_EQ(h.fx().dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 1);
        EXPECT_EQ(rect->right, c.width) << c.value;
        EXPECT_EQ(h.editor().getForm()->paint().width, c.width) << c.value;
    }
}

TEST(TonemarkZoom, AClickAtTheZoomedCentreOfEveryControlReachesIt) {
    EffectHarness h;
    int hostWindow = 0;
    ASSERT_EQ(h.fx().dispatcher(effEditOpen, 0, 0, &hostWindow, 0.0f), 1);
    TuFFTForm& form = *h.editor().getForm();
    std::vector<toolkit::Control*> controls;
    collect(form, controls);
    ASSERT_GT(controls.size(), 10u);
    for (int level : toolkit::kZoomLevels) {
        const toolkit::Zoom zoom(level);
        form.setZoom(zoom);
        for (toolkit::Control* control : controls) {
            // The zoomed centre maps back inside the control, next to its
            // logical centre, and reaches what a click there reaches at 100 %.
            const toolkit::Rect logical = control->formBounds();
            const toolkit::Rect device = zoom.toDevice(logical);
            const int x = zoom.toLogical((device.left + device.right) / 2);
            const int y = zoom.toLogical((device.top + device.bottom) / 2);
            EXPECT_TRUE(logical.contains(x, y)) << level;
            EXPECT_LE(std::abs(x - (logical.left + logical.right) / 2), 1) << level;
            EXPECT_LE(std::abs(y - (logical.top + logical.bottom) / 2), 1) << level;
        }
    }
}

TEST(TonemarkZoom, AtTwoHundredPercentAllButTheTextIsTheHundredPercentPictureDoubled) {
    EffectHarness h;
    h.clock.set(1000);
    int hostWindow = 0;
    ASSERT_EQ(h.fx().dispatcher(effEditOpen, 0, 0, &hostWindow, 0.0f), 1);
    TuFFTForm& form = *h.editor().getForm();
    platform::HeadlessWindow& window = *h.windows.windowOf(form.window()->nativeHandle());
    const auto compare = [&](const char* what) {
        const test_support::DoublingResult result = test_support::compareFormDoubled(form, window);
        EXPECT_TRUE(result.sizesMatch) << what;
        EXPECT_EQ(result.differing, 0) << what << ": first at " << result.firstDifference.x << ","
                                       << result.firstDifference.y;
        EXPECT_GT(result.textPixels, 0) << what;
        EXPECT_LT(result.textPixels, result.compared / 3) << what;
    };
    form.ShowReading(440.0f, 0.0f);
    compare("A 440");
    const toolkit::Rect info = form.infobtn.formBounds();
    window.click((info.left + info.right) / 2, (info.top + info.bottom) / 2);
    ASSERT_TRUE(form.controlepanel.visible());
    compare("A 440 with the strip open");
}

// A 440 with the panel opened at 200 % through BRISORA_ZOOM, as plughost
// editor --zoom 200 opens it: the end-to-end checks compare real windows with it.
TEST(TonemarkZoom, SavesAReadingAtTwoHundredPercent) {
    ZoomEnvironment environment("200");
    EffectHarness h;
    h.clock.set(1000);
    int hostWindow = 0;
    ASSERT_EQ(h.fx().dispatcher(effEditOpen, 0, 0, &hostWindow, 0.0f), 1);
    TuFFTForm& form = *h.editor().getForm();
    form.ShowReading(440.0f, 0.0f);
    platform::HeadlessWindow& window = *h.windows.windowOf(form.window()->nativeHandle());
    const toolkit::Image& picture = window.paintNow();
    EXPECT_EQ(picture.width, 888);
    EXPECT_EQ(picture.height, 282);
    EXPECT_TRUE(toolkit::savePng(picture, std::string(PANEL_TEST_OUTPUT_DIR) + "/tonemark-a440-200.png"));
}

}  // namespace
}  // namespace tonemark
