// WidgetTests.cpp — the behaviour rules of the widgets, driven through a headless form.
//
//   TrackBar     clamping, change only on a real change, drag, track clicks, keys,
//                vertical minimum at the top
//   UpDown       steps, limits without wrap, click on every press, code sets silently
//   PageControl  tab clicks switch pages and show only the active one
//   TextView     wrapping and scrolling
//   PictureButton, Label: pressed look, double-click events; a gallery picture
//   stacking     front and back among siblings: what paints last, what the mouse finds
#include <gtest/gtest.h>

#include <string>

#include "platform/headless/HeadlessWindowSystem.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/PageControl.h"
#include "toolkit/Panel.h"
#include "toolkit/PictureButton.h"
#include "toolkit/Png.h"
#include "toolkit/Shape.h"
#include "toolkit/TextView.h"
#include "toolkit/TrackBar.h"
#include "toolkit/UpDown.h"

using namespace toolkit;
using platform::HeadlessWindow;
using platform::Key;

namespace {

class WidgetTest : public ::testing::Test {
protected:
    WidgetTest() { form.openChild(nullptr); }
    HeadlessWindow& window() { return *windows.windows().back(); }

    platform::ManualClock clock{0};
    platform::HeadlessWindowSystem windows{clock};
    Form form{windows, 300, 200, colors::black};
};

}  // namespace

TEST_F(WidgetTest, TrackBarClampsAndFiresOnlyOnRealChanges) {
    TrackBar slider(&form, Rect::ofSize(10, 10, 135, 25), TrackBar::Orientation::horizontal, 0, 100, 50);
    int changes = 0;
    slider.onChange = [&] { ++changes; };
    slider.setPosition(50);
    EXPECT_EQ(changes, 0);
    slider.setPosition(120);
    EXPECT_EQ(slider.position(), 100);
    EXPECT_EQ(changes, 1);
    slider.setPosition(100);
    slider.setPosition(250);  // clamps to the value it already has
    EXPECT_EQ(changes, 1);
    slider.setPosition(-3);
    EXPECT_EQ(slider.position(), 0);
    EXPECT_EQ(changes, 2);
    slider.setRange(10, 20);  // the position follows the range
    EXPECT_EQ(slider.position(), 10);
    EXPECT_EQ(changes, 3);
}

TEST_F(WidgetTest, TrackBarDragFollowsThePointerWithTheSameRule) {
    TrackBar slider(&form, Rect::ofSize(0, 0, 111, 25), TrackBar::Orientation::horizontal, 0, 100, 0);
    int changes = 0;
    slider.onChange = [&] { ++changes; };
    // usable length 100: position p puts the thumb at x = p.
    EXPECT_EQ(slider.thumbRect().left, 0);
    slider.setPosition(40);
    EXPECT_EQ(slider.thumbRect().left, 40);
    changes = 0;
    window().press(45, 12);  // grab the thumb at its centre
    window().mouseMove(65, 12);
    EXPECT_EQ(slider.position(), 60);
    window().mouseMove(65, 3);  // moving across the track changes nothing
    EXPECT_EQ(changes, 1);
    window().mouseMove(500, 12);
    EXPECT_EQ(slider.position(), 100);
    window().release(500, 12);
    EXPECT_EQ(changes, 2);
    window().press(20, 12);  // track left of the thumb: one page down
    window().release(20, 12);
    EXPECT_EQ(slider.position(), 98);
}

TEST_F(WidgetTest, VerticalTrackBarHasItsMinimumAtTheTopAndKeysStepIt) {
    TrackBar slider(&form, Rect::ofSize(20, 20, 25, 93), TrackBar::Orientation::vertical, 0, 100, 50);
    EXPECT_LT(slider.thumbRect().top, TrackBar(nullptr, Rect::ofSize(0, 0, 25, 93), TrackBar::Orientation::vertical,
                                               0, 100, 80)
                                          .thumbRect()
                                          .top);
    slider.setPosition(0);
    EXPECT_EQ(slider.thumbRect().top, 0);
    window().click(30, 20 + slider.thumbRect().top + 5);  // focus it
    slider.setLineSize(5);
    window().key(Key::down);
    EXPECT_EQ(slider.position(), 5);
    window().key(Key::up);
    window().key(Key::up);
    EXPECT_EQ(slider.position(), 0);
    window().key(Key::end);
    EXPECT_EQ(slider.position(), 100);
    window().key(Key::pageUp);
    EXPECT_EQ(slider.position(), 98);
}

TEST_F(WidgetTest, UpDownStepsWithinItsRangeAndClicksEveryPress) {
    UpDown arrows(&form, Rect::ofSize(182, 8, 19, 16), 425, 453, 440);
    int clicks = 0;
    UpDown::Button last = UpDown::Button::down;
    arrows.onClick = [&](UpDown::Button b) {
        ++clicks;
        last = b;
    };
    arrows.setPosition(999);  // from code: clamped, silent
    EXPECT_EQ(arrows.position(), 453);
    EXPECT_EQ(clicks, 0);
    window().click(190, 10);  // upper arrow at the maximum: no wrap
    EXPECT_EQ(arrows.position(), 453);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(last, UpDown::Button::up);
    window().click(190, 21);
    EXPECT_EQ(arrows.position(), 452);
    EXPECT_EQ(last, UpDown::Button::down);
    arrows.setIncrement(10);
    window().click(190, 21);
    window().click(190, 21);
    window().click(190, 21);
    EXPECT_EQ(arrows.position(), 425);
    window().key(Key::up);
    EXPECT_EQ(arrows.position(), 435);
    EXPECT_EQ(clicks, 6);
}

TEST_F(WidgetTest, PageControlShowsTheClickedTabsPage) {
    PageControl pages(&form, Rect::ofSize(0, 0, 300, 180), 90, 25, Font{13, true});
    TabSheet& first = pages.addPage("ABOUT");
    TabSheet& second = pages.addPage("HINTS");
    int changes = 0;
    pages.onChange = [&] { ++changes; };
    EXPECT_EQ(pages.activePage(), 0);
    EXPECT_TRUE(first.visible());
    EXPECT_FALSE(second.visible());
    window().click(2 + 90 + 45, 12);
    EXPECT_EQ(pages.activePage(), 1);
    EXPECT_FALSE(first.visible());
    EXPECT_TRUE(second.visible());
    EXPECT_EQ(changes, 1);
    window().click(2 + 90 + 45, 12);  // the shown tab again: nothing
    EXPECT_EQ(changes, 1);
    pages.setActivePage(0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(form.controlAt(50, 100), &first);
}

TEST_F(WidgetTest, StackingDecidesWhatPaintsOverAndWhatTheMouseFinds) {
    Panel red(&form, Rect::ofSize(10, 10, 50, 50), colors::red, BevelStyle::none);
    Panel white(&form, Rect::ofSize(30, 30, 50, 50), colors::white, BevelStyle::none);
    EXPECT_EQ(form.controlAt(40, 40), &white);
    red.bringToFront();
    EXPECT_EQ(form.controlAt(40, 40), &red);
    EXPECT_EQ(window().paintNow().at(40, 40), colors::red);
    red.sendToBack();
    EXPECT_EQ(form.controlAt(40, 40), &white);
    EXPECT_EQ(window().paintNow().at(40, 40), colors::white);
    EXPECT_EQ(form.children(), (std::vector<Control*>{&red, &white}));
}

TEST_F(WidgetTest, TextViewWrapsAtSpacesAndScrolls) {
    std::string text = "This is a simple but very accurate instrument tuner.\n";
    for (int i = 0; i < 30; ++i) text += "Line " + std::to_string(i) + "\n";
    TextView view(&form, Rect::ofSize(0, 0, 150, 100), text, Font{13, true});
    ASSERT_GT(view.lines().size(), 31u);
    EXPECT_EQ(view.lines()[0].rfind("This is", 0), 0u);
    for (const std::string& line : view.lines()) {
        EXPECT_LE(Canvas::textExtent(line, view.font()).width, 150 - 10 - TextView::scrollBarWidth) << line;
        EXPECT_TRUE(line.empty() || line.front() != ' ');
    }
    EXPECT_TRUE(view.hasScrollBar());
    window().click(20, 20);
    window().key(Key::down);
    EXPECT_EQ(view.topLine(), 1);
    window().key(Key::end);
    EXPECT_EQ(view.topLine(), static_cast<int>(view.lines().size()) - view.visibleLines());
    window().click(150 - 8, 5);  // the up arrow
    EXPECT_EQ(view.topLine(), static_cast<int>(view.lines().size()) - view.visibleLines() - 1);
}

TEST_F(WidgetTest, TextViewWithBothScrollBarsShowsThemAlwaysAndScrollsSideways) {
    TextView view(&form, Rect::ofSize(0, 0, 150, 100), "Short", Font{13, true});
    EXPECT_FALSE(view.hasScrollBar());
    view.setScrollBars(TextView::ScrollBars::both);
    EXPECT_TRUE(view.hasScrollBar());
    EXPECT_TRUE(view.hasHorizontalScrollBar());
    const int lineHeight = Canvas::textExtent("", view.font()).height;
    EXPECT_EQ(view.visibleLines(), (100 - 4 - 2 - TextView::scrollBarWidth) / lineHeight);
    // Both bars are drawn: the corner square between them, the arrows' glyphs.
    const toolkit::Image& shown = window().paintNow();
    EXPECT_EQ(shown.at(150 - 2 - 8, 100 - 2 - 8), colors::buttonFace);
    EXPECT_EQ(shown.at(2 + 6, (82 + 98 - 1) / 2), colors::black);  // the left arrow
    EXPECT_EQ(shown.at((132 + 148 - 1) / 2, 2 + 6), colors::black);  // the up arrow

    // Without wrap a wide line scrolls sideways by the arrows, the track and the keys.
    view.setWordWrap(false);
    view.setText("A line much wider than the view it is shown in, to scroll along");
    const int area = 150 - 2 * (2 + 3) - TextView::scrollBarWidth;
    const int widest = Canvas::textExtent(view.lines()[0], view.font()).width;
    ASSERT_GT(widest, area);
    const int barY = 100 - 2 - 8;
    window().click(150 - 2 - TextView::scrollBarWidth - 8, barY);  // right arrow
    EXPECT_EQ(view.horizontalOffset(), TextView::horizontalStep);
    window().click(2 + 8, barY);  // left arrow
    EXPECT_EQ(view.horizontalOffset(), 0);
    window().click(150 - 2 - TextView::scrollBarWidth - 24, barY);  // the track right of the thumb
    EXPECT_EQ(view.horizontalOffset(), std::min(area, widest - area));
    window().key(Key::right);
    window().key(Key::right);
    window().key(Key::right);
    EXPECT_LE(view.horizontalOffset(), widest - area);
    view.setHorizontalOffset(100000);
    EXPECT_EQ(view.horizontalOffset(), widest - area);
    window().key(Key::left);
    EXPECT_EQ(view.horizontalOffset(), widest - area - TextView::horizontalStep);
    // Wrapped text never needs the sideways scroll.
    view.setWordWrap(true);
    EXPECT_EQ(view.horizontalOffset(), 0);
}

TEST_F(WidgetTest, PictureButtonShowsPressedOnlyWhilePointerInside) {
    PictureButton ok(&form, Rect::ofSize(186, 8, 75, 25), "", PictureButton::Kind::ok);
    int clicks = 0;
    ok.onClick = [&] { ++clicks; };
    EXPECT_EQ(ok.caption(), "OK");
    window().press(200, 20);
    EXPECT_TRUE(ok.showsPressed());
    window().mouseMove(100, 100);
    EXPECT_FALSE(ok.showsPressed());
    window().release(100, 100);
    EXPECT_EQ(clicks, 0);
    window().click(200, 20);
    EXPECT_EQ(clicks, 1);
}

TEST_F(WidgetTest, PictureButtonClicksOnBothPressesOfADoubleClick) {
    PictureButton help(&form, Rect::ofSize(8, 6, 21, 21));
    int clicks = 0, doubles = 0;
    help.onClick = [&] { ++clicks; };
    help.onDoubleClick = [&] { ++doubles; };
    window().doubleClick(18, 16);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(doubles, 0);
    EXPECT_FALSE(help.showsPressed());
    window().doubleClick(18, 16);
    EXPECT_EQ(clicks, 4);
}

TEST_F(WidgetTest, LabelDoubleClickReachesItsHandler) {
    Label label(&form, 10, 150, "Width", Font{13, false, colors::silver});
    int doubles = 0, clicks = 0;
    label.onDoubleClick = [&] { ++doubles; };
    label.onClick = [&] { ++clicks; };
    EXPECT_GT(label.width(), 0);
    window().doubleClick(12, 155);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(clicks, 1);
}

TEST_F(WidgetTest, GalleryPicture) {
    Panel strip(&form, Rect::ofSize(5, 5, 290, 190), colors::buttonFace);
    TrackBar horizontal(&strip, Rect::ofSize(10, 10, 135, 25), TrackBar::Orientation::horizontal, 0, 100, 30);
    horizontal.setSelection(49, 51);
    TrackBar ticked(&strip, Rect::ofSize(10, 40, 135, 35), TrackBar::Orientation::horizontal, 5, 1000, 750);
    ticked.setTickFrequency(100);
    TrackBar vertical(&strip, Rect::ofSize(155, 10, 25, 93), TrackBar::Orientation::vertical, 0, 100, 10);
    vertical.setSelection(49, 51);
    UpDown arrows(&strip, Rect::ofSize(190, 10, 19, 16), 0, 2, 1);
    Panel sunken(&strip, Rect::ofSize(10, 80, 97, 41), colors::white, BevelStyle::lowered);
    Label freq(&sunken, Rect::ofSize(8, 2, 81, 22), "0,440.00", Font{19, false, colors::maroon}, Alignment::right);
    Shape led(&strip, Rect::ofSize(190, 40, 9, 9), Shape::Kind::ellipse, colors::lime, colors::silver);
    PictureButton ok(&strip, Rect::ofSize(120, 130, 75, 25), "", PictureButton::Kind::ok);
    PictureButton cancel(&strip, Rect::ofSize(200, 130, 75, 25), "", PictureButton::Kind::cancel);
    TextView text(&strip, Rect::ofSize(215, 10, 70, 110), "Read-only text that wraps and scrolls. " 
                  "More text to need a scroll bar here, and more.", Font{11});
    windows.idle();
    EXPECT_EQ(window().lastImage().at(190 + 5 + 4, 40 + 5 + 4), colors::lime);
    EXPECT_TRUE(savePng(window().lastImage(), std::string(TOOLKIT_TEST_OUTPUT_DIR) + "/widgets.png"));
}
