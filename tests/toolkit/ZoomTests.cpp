// ZoomTests.cpp — the zoomed canvas and form, the zoom menu and the zoom choice.
//
//   mapping: cells tile at every level and map back; 200 % of every drawing
//   operation is the 100 % picture doubled; text comes from the zoomed size;
//   the form's window, clicks and drags at a zoom; the menu; bad zoom texts
#include <gtest/gtest.h>

#include <string>

#include "controls/PanelZoom.h"
#include "controls/PanelZoomControl.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "toolkit/Bevel.h"
#include "toolkit/Canvas.h"
#include "toolkit/Colors.h"
#include "toolkit/Form.h"
#include "toolkit/Panel.h"
#include "toolkit/TrackBar.h"

using namespace toolkit;
using platform::HeadlessWindow;

namespace {

// Every drawing operation except text, at logical coordinates.
void drawSampler(Canvas& canvas) {
    canvas.fillRect(Rect{0, 0, 60, 40}, rgb(10, 20, 30));
    canvas.frameRect(Rect{2, 2, 30, 20}, colors::white);
    canvas.line(1, 38, 58, 3, colors::red);
    canvas.line(50, 1, 44, 39, colors::lime);
    const Point corners[] = {{5, 30}, {20, 25}, {35, 35}, {35, 22}};
    canvas.polyline(corners, 4, colors::navy);
    canvas.ellipse(Rect{34, 4, 56, 18}, colors::silver, colors::maroon);
    drawBevel(canvas, Rect{8, 22, 28, 36}, BevelStyle::raised, 2);
    Image small(5, 4, colors::gray);
    small.at(1, 1) = colors::red;
    small.at(4, 3) = colors::lime;
    canvas.draw(small, 40, 25);
    canvas.drawPart(small, Rect{1, 1, 5, 4}, 50, 30);
    canvas.stretchDraw(small, Rect{12, 10, 22, 18});
    canvas.setPixel(59, 39, colors::white);
    Canvas inner = canvas.within(Rect{30, 20, 45, 30});
    inner.fillRect(Rect{-5, -5, 4, 3}, colors::green);  // clipped to the inner area
    inner.line(0, 9, 30, 0, colors::white);
}

bool isDoubled(const Image& small, const Image& big) {
    if (big.width != 2 * small.width || big.height != 2 * small.height) return false;
    for (int y = 0; y < big.height; ++y)
        for (int x = 0; x < big.width; ++x)
            if (big.at(x, y) != small.at(x / 2, y / 2)) return false;
    return true;
}

}  // namespace

TEST(ZoomMapping, CellsTileAndMapBackAtEveryLevel) {
    for (int level : kZoomLevels) {
        const Zoom zoom(level);
        for (int logical = -50; logical < 800; ++logical) {
            const int first = zoom.toDevice(logical), next = zoom.toDevice(logical + 1);
            ASSERT_GE(next - first, level / 100) << level << " " << logical;
            for (int device = first; device < next; ++device) ASSERT_EQ(zoom.toLogical(device), logical) << level;
        }
        EXPECT_EQ(zoom.toDevice(723), 723 * level / 100);
    }
    EXPECT_EQ(Zoom(200).fontSize(11), 22);
    EXPECT_EQ(Zoom(200).fontSize(16), 32);
    EXPECT_EQ(Zoom(100).fontSize(11), 11);
}

TEST(ZoomCanvas, TwoHundredPercentIsTheHundredPercentPictureDoubled) {
    Image small(60, 40, colors::black), big(120, 80, colors::black);
    Canvas smallCanvas(small), bigCanvas(big, Zoom(200));
    drawSampler(smallCanvas);
    drawSampler(bigCanvas);
    EXPECT_TRUE(isDoubled(small, big));
    // Clipped canvases too: only the clip's cells are drawn.
    Image clippedSmall(60, 40, colors::black), clippedBig(120, 80, colors::black);
    Canvas a = Canvas(clippedSmall).clippedTo(Rect{7, 5, 41, 33});
    Canvas b = Canvas(clippedBig, Zoom(200)).clippedTo(Rect{7, 5, 41, 33});
    drawSampler(a);
    drawSampler(b);
    EXPECT_TRUE(isDoubled(clippedSmall, clippedBig));
}

TEST(ZoomCanvas, ImageCopiesPutEverySourcePixelOnItsCellAtEveryLevel) {
    // The copy walks cells, not device pixels; whatever the level, offset,
    // negative origin or clip, each device pixel must still hold the source
    // pixel of the logical cell it lies in.
    Image source(37, 23);
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < source.width; ++x) source.at(x, y) = rgb(static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 11), 99);
    const struct {
        int x, y;
        Rect part, clip;
    } cases[] = {{3, 5, Rect{0, 0, 37, 23}, Rect{0, 0, 60, 40}},
                 {-4, -2, Rect{2, 1, 30, 20}, Rect{0, 0, 60, 40}},
                 {11, 7, Rect{1, 1, 37, 23}, Rect{13, 9, 29, 17}},
                 {0, 0, Rect{5, 3, 6, 4}, Rect{0, 0, 60, 40}}};
    for (int level : kZoomLevels) {
        const Zoom zoom(level);
        for (const auto& c : cases) {
            Image image(zoom.toDevice(60), zoom.toDevice(40), colors::black);
            Canvas(image, zoom).within(Rect{1, 2, 60, 40}).clippedTo(c.clip.offset(-1, -2)).drawPart(source, c.part, c.x, c.y);
            const Rect logicalClip = c.clip.intersect(Rect{1, 2, 60, 40});
            for (int dy = 0; dy < image.height; ++dy)
                for (int dx = 0; dx < image.width; ++dx) {
                    const int lx = zoom.toLogical(dx), ly = zoom.toLogical(dy);
                    const int sx = lx - 1 - c.x + c.part.left, sy = ly - 2 - c.y + c.part.top;
                    const bool inside = logicalClip.contains(lx, ly) && c.part.contains(sx, sy) &&
                                        Rect{0, 0, source.width, source.height}.contains(sx, sy);
                    ASSERT_EQ(image.at(dx, dy), inside ? source.at(sx, sy) : colors::black)
                        << level << " at " << dx << "," << dy;
                }
        }
    }
}

TEST(ZoomCanvas, FractionalLevelsFillWholeCells) {
    Image image(90, 60, colors::black);
    Canvas canvas(image, Zoom(150));
    canvas.fillRect(Rect{1, 1, 3, 2}, colors::white);  // device 1..4 x 1..3
    EXPECT_EQ(image.at(1, 1), colors::white);
    EXPECT_EQ(image.at(3, 2), colors::white);
    EXPECT_EQ(image.at(4, 1), colors::black);
    EXPECT_EQ(image.at(0, 0), colors::black);
    canvas.line(0, 10, 10, 10, colors::red);  // a one-pixel line is one cell thick
    EXPECT_EQ(image.at(0, 15), colors::red);
    EXPECT_EQ(image.at(14, 15), colors::red);  // logical (9, 10) covers device 13..14 x 15
    EXPECT_EQ(image.at(15, 15), colors::black);  // the end point is left out
}

TEST(ZoomCanvas, TextIsDrawnFromTheFontAtTheZoomedSize) {
    // 11 px text at 200 % is 22 px text at 100 % at the doubled place, not
    // 11 px glyphs stretched.
    for (const int size : {11, 16}) {
        Image zoomed(200, 80, colors::black), direct(200, 80, colors::black);
        Canvas(zoomed, Zoom(200)).textOut(3, 4, "Hz 440", Font{size, size == 16, colors::white});
        Canvas(direct).textOut(6, 8, "Hz 440", Font{2 * size, size == 16, colors::white});
        EXPECT_EQ(zoomed.pixels, direct.pixels) << size;
    }
    EXPECT_EQ(sizedFace(false, 22).size(), 22);
}

TEST(ZoomForm, WindowImageAndClicksFollowTheZoom) {
    platform::ManualClock clock{0};
    platform::HeadlessWindowSystem windows{clock};
    Form form{windows, 100, 60, colors::black};
    Panel left(&form, Rect::ofSize(0, 0, 33, 60), colors::red);
    Panel right(&form, Rect::ofSize(33, 0, 67, 60), colors::navy);
    form.setZoom(Zoom(175));
    form.openChild(nullptr);
    HeadlessWindow& window = *windows.windows().back();
    EXPECT_EQ(window.width(), 175);
    EXPECT_EQ(window.height(), 105);
    EXPECT_EQ(form.paint().width, 175);
    int leftPresses = 0, rightPresses = 0;
    left.onMouseDown = [&](MouseButton, const ShiftState&, int, int) { ++leftPresses; };
    right.onMouseDown = [&](MouseButton, const ShiftState&, int, int) { ++rightPresses; };
    // The boundary between logical 32 and 33 lies between device 56 and 57.
    window.press(56, 10);
    window.release(56, 10);
    window.press(57, 10);
    window.release(57, 10);
    EXPECT_EQ(leftPresses, 1);
    EXPECT_EQ(rightPresses, 1);
}

TEST(ZoomForm, ADragAtOneHundredFiftyGivesTheSameSettingAsAtOneHundred) {
    const auto dragBy = [](int level, int logicalDistance) {
        platform::ManualClock clock{0};
        platform::HeadlessWindowSystem windows{clock};
        Form form{windows, 300, 200, colors::black};
        TrackBar slider(&form, Rect::ofSize(0, 0, 111, 25), TrackBar::Orientation::horizontal, 0, 100, 40);
        form.setZoom(Zoom(level));
        form.openChild(nullptr);
        HeadlessWindow& window = *windows.windows().back();
        const Zoom zoom(level);
        const Rect thumb = zoom.toDevice(slider.thumbRect());
        const int x = (thumb.left + thumb.right) / 2, y = (thumb.top + thumb.bottom) / 2;
        window.press(x, y);
        window.mouseMove(x + zoom.toDevice(logicalDistance), y);
        window.release(x + zoom.toDevice(logicalDistance), y);
        return slider.position();
    };
    for (int distance : {-30, -7, 1, 13, 20, 45}) EXPECT_EQ(dragBy(150, distance), dragBy(100, distance)) << distance;
}

TEST(ZoomMenu, RightClickOnTheBackgroundOpensTheMenuAndAPickApplies) {
    platform::ManualClock clock{0};
    platform::HeadlessWindowSystem windows{clock};
    Form form{windows, 300, 200, colors::black};
    Panel background(&form, Rect::ofSize(0, 0, 300, 200), colors::gray);
    controls::PanelZoomControl zoom("Test");
    platform::MemorySettingsStore store;
    zoom.choice().attach(&store);
    zoom.choice().setHostScale(1.5);
    bool hostTakes = true;
    zoom.requestHostSize = [&](int, int) { return hostTakes; };
    zoom.attach(form);
    form.openChild(nullptr);
    HeadlessWindow& window = *windows.windows().back();
    window.press(20, 20, platform::MouseButton::right);
    window.release(20, 20, platform::MouseButton::right);
    controls::ZoomMenu& menu = *zoom.menu();
    ASSERT_TRUE(menu.visible());
    ASSERT_EQ(menu.itemCount(), 6);
    EXPECT_EQ(menu.itemText(5), "Host: 150%");
    const Rect pick = menu.itemBounds(4);  // 200 %
    window.press(pick.left + 5, pick.top + 5);
    window.release(pick.left + 5, pick.top + 5);
    EXPECT_FALSE(menu.visible());
    EXPECT_EQ(form.zoom().percent(), 200);
    EXPECT_EQ(window.width(), 600);
    EXPECT_EQ(store.values["software\\Brisora\\Test\\Zoom"], "200");
    // A host that keeps its size: stored, not applied, and the menu says so.
    hostTakes = false;
    window.press(40, 40, platform::MouseButton::right);
    window.release(40, 40, platform::MouseButton::right);
    const Rect host = zoom.zoom().toDevice(menu.itemBounds(5));
    window.press(host.left + 4, host.top + 4);
    window.release(host.left + 4, host.top + 4);
    EXPECT_EQ(form.zoom().percent(), 200);
    EXPECT_EQ(store.values["software\\Brisora\\Test\\Zoom"], "150");
    EXPECT_TRUE(menu.visible());
    zoom.detach();
}

TEST(ZoomChoice, BadValuesGiveOneHundredOrTheNearestLevel) {
    const std::string stored150 = "150";
    struct Case {
        const char* environment;
        const char* stored;
        int expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, 100},   {"", nullptr, 100},        {"abc", nullptr, 100},   {"-40", nullptr, 100},
        {"10000", nullptr, 200},   {"137", nullptr, 125},     {"138", nullptr, 150},   {" 175 %", nullptr, 175},
        {"99999999999999999999", nullptr, 200}, {"1.5", "175", 175}, {nullptr, "", 100}, {nullptr, "junk", 100},
        {nullptr, "-5", 100},      {nullptr, "10000", 200},   {nullptr, "160", 150},   {"200", "125", 200},
        {"x", "125", 125},
    };
    for (const Case& c : cases) {
        const std::string stored = c.stored ? c.stored : "";
        EXPECT_EQ(controls::resolveZoom(c.environment, c.stored ? &stored : nullptr), c.expected)
            << (c.environment ? c.environment : "(none)") << " / " << (c.stored ? c.stored : "(none)");
    }
}
