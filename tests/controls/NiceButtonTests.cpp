// NiceButtonTests.cpp — the LED push button, driven through a headless form.
//
//   faces: the frame for every state, the pressed look, dragging out and back
//   release: where it counts as a click, where it toggles the lamp, which buttons
//   repaint only on a real change, and every new face at once; the image list
//   sets the size
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/NiceButton.h"
#include "controls/NiceButtonImages.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "toolkit/Form.h"

using controls::TNiceButton;
using platform::HeadlessWindow;
using platform::MouseButton;
using toolkit::Rect;

namespace {

class NiceButtonTest : public ::testing::Test {
protected:
    NiceButtonTest() {
        form.openChild(nullptr);
        button.setImagelist(&lamp);
        button.onClick = [this] { clicks.push_back(button.LEDon()); };
    }
    HeadlessWindow& window() { return *windows.windows().back(); }
    // Form coordinates of a point given in the button's own.
    static constexpr int X(int x) { return 20 + x; }
    static constexpr int Y(int y) { return 30 + y; }
    toolkit::Image buttonPixels() {
        const toolkit::Image& whole = window().paintNow();
        toolkit::Image part(button.width(), button.height());
        for (int y = 0; y < part.height; ++y)
            for (int x = 0; x < part.width; ++x) part.at(x, y) = whole.at(X(x), Y(y));
        return part;
    }

    platform::ManualClock clock{0};
    platform::HeadlessWindowSystem windows{clock};
    toolkit::Form form{windows, 200, 100};
    const toolkit::ImageList lamp = controls::makeLampButtonImages();
    const toolkit::ImageList peak = controls::makePeakButtonImages();
    TNiceButton button{&form, Rect::ofSize(20, 30, 10, 10)};
    std::vector<bool> clicks;  // the lamp as each click handler saw it
};

}  // namespace

TEST_F(NiceButtonTest, ShowsTheFrameOfEveryState) {
    struct Case {
        bool showLed, ledOn;
        int idle, pressed;
    };
    for (const Case c : {Case{false, false, 0, 1}, Case{false, true, 0, 1}, Case{true, false, 2, 3},
                         Case{true, true, 4, 5}}) {
        button.setShowLED(c.showLed);
        button.setLEDon(c.ledOn);
        EXPECT_EQ(button.frameIndex(), c.idle);
        window().press(X(10), Y(10), MouseButton::right);  // any button shows the pressed face
        EXPECT_EQ(button.frameIndex(), c.pressed);
        window().release(X(10), Y(10), MouseButton::right);
        button.setLEDon(c.ledOn);  // undo a toggle, should there be one
        EXPECT_EQ(button.frameIndex(), c.idle);
    }
}

TEST_F(NiceButtonTest, PressedLitLampMovesFaceAndCaptionOnePixelAndFollowsThePointer) {
    button.setShowLED(true);
    button.setLEDon(true);
    button.setCaption("ON");
    button.setFont(toolkit::Font{13, true, toolkit::colors::white});
    const toolkit::Image up = buttonPixels();
    window().press(X(30), Y(12));
    EXPECT_EQ(button.frameIndex(), 5);
    const toolkit::Image down = buttonPixels();
    // Frame 5 is frame 4 moved one pixel down-right; the caption has to move along.
    int differing = 0;
    for (int y = 0; y + 1 < up.height; ++y)
        for (int x = 0; x + 1 < up.width; ++x) differing += down.at(x + 1, y + 1) != up.at(x, y);
    EXPECT_EQ(differing, 0);
    EXPECT_NE(down.pixels, up.pixels);

    window().mouseMove(X(0), Y(12));  // the edge counts as outside
    EXPECT_EQ(button.frameIndex(), 4);
    EXPECT_EQ(buttonPixels().pixels, up.pixels);
    window().mouseMove(X(70), Y(12));
    EXPECT_EQ(button.frameIndex(), 4);
    window().mouseMove(X(1), Y(1));
    EXPECT_EQ(button.frameIndex(), 5);
    EXPECT_EQ(buttonPixels().pixels, down.pixels);
}

TEST_F(NiceButtonTest, ReleaseOutsideChangesNothingAndRaisesNoClick) {
    button.setShowLED(true);
    button.setAutoToggle(true);
    button.setLEDon(true);
    window().press(X(30), Y(12));
    window().mouseMove(X(100), Y(12));
    window().release(X(100), Y(12));
    EXPECT_TRUE(button.LEDon());
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(button.frameIndex(), 4);
    EXPECT_FALSE(button.pressed());
}

TEST_F(NiceButtonTest, AutoToggleFlipsOnReleaseOfAnyButtonAndClickSeesTheLampBefore) {
    button.setShowLED(true);
    button.setAutoToggle(true);
    window().click(X(30), Y(12));
    EXPECT_TRUE(button.LEDon());
    EXPECT_EQ(clicks, std::vector<bool>{false});  // the handler ran before the flip
    EXPECT_EQ(button.frameIndex(), 4);
    window().click(X(30), Y(12), MouseButton::right);
    EXPECT_FALSE(button.LEDon());
    window().click(X(30), Y(12), MouseButton::middle);
    EXPECT_TRUE(button.LEDon());
    EXPECT_EQ(clicks.size(), 1u);  // only the left button clicks

    button.setAutoToggle(false);
    window().click(X(30), Y(12));
    EXPECT_TRUE(button.LEDon());
    EXPECT_EQ(clicks.size(), 2u);
}

TEST_F(NiceButtonTest, ReleaseOnTheTopOrLeftEdgeClicksButDoesNotToggle) {
    button.setShowLED(true);
    button.setAutoToggle(true);
    window().press(X(30), Y(12));
    window().release(X(0), Y(12));
    window().press(X(30), Y(12));
    window().release(X(30), Y(0));
    EXPECT_EQ(clicks, (std::vector<bool>{false, false}));
    EXPECT_FALSE(button.LEDon());
}

TEST_F(NiceButtonTest, DoubleClickRaisesOneClickAndLeavesTheLampAsItWas) {
    button.setShowLED(true);
    button.setAutoToggle(true);
    int doubleClicks = 0;
    button.onDoubleClick = [&] { ++doubleClicks; };
    window().doubleClick(X(30), Y(12));
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_FALSE(button.LEDon());
}

TEST_F(NiceButtonTest, WritingTheLampRepaintsOnlyOnARealChange) {
    button.setShowLED(true);
    windows.idle();
    ASSERT_FALSE(window().needsPaint());
    int paints = window().paintCount();
    button.setLEDon(false);
    EXPECT_EQ(window().paintCount(), paints);
    button.setLEDon(true);
    EXPECT_EQ(window().paintCount(), paints + 1);
    paints = window().paintCount();
    button.setLEDon(true);
    windows.idle();
    EXPECT_EQ(window().paintCount(), paints);
}

TEST_F(NiceButtonTest, EveryNewFaceReachesTheWindowAtOnce) {
    // What the window shows of the button, without an idle turn in between.
    const auto shown = [this] {
        const toolkit::Image& whole = window().lastImage();
        if (whole.width < X(button.width()) || whole.height < Y(button.height())) return toolkit::Image();
        toolkit::Image part(button.width(), button.height());
        for (int y = 0; y < part.height; ++y)
            for (int x = 0; x < part.width; ++x) part.at(x, y) = whole.at(X(x), Y(y));
        return part;
    };
    button.setShowLED(true);
    EXPECT_FALSE(window().needsPaint());
    EXPECT_EQ(shown().pixels, lamp.frame(2).pixels);
    button.setLEDon(true);
    EXPECT_EQ(shown().pixels, lamp.frame(4).pixels);
    window().press(X(30), Y(12));
    EXPECT_EQ(shown().pixels, lamp.frame(5).pixels);
    window().mouseMove(X(70), Y(12));
    EXPECT_EQ(shown().pixels, lamp.frame(4).pixels);
    window().mouseMove(X(30), Y(12));
    EXPECT_EQ(shown().pixels, lamp.frame(5).pixels);
    window().release(X(30), Y(12));
    EXPECT_EQ(shown().pixels, lamp.frame(4).pixels);
    button.setShowLED(false);
    EXPECT_EQ(shown().pixels, lamp.frame(0).pixels);
    EXPECT_FALSE(window().needsPaint());
}

TEST_F(NiceButtonTest, TheImageListGivesTheButtonItsSize) {
    EXPECT_EQ(button.bounds(), Rect::ofSize(20, 30, 66, 25));
    button.setImagelist(&peak);
    EXPECT_EQ(button.bounds(), Rect::ofSize(20, 30, 27, 16));
    EXPECT_EQ(peak.count(), 2);
    EXPECT_EQ(lamp.count(), 6);
}
