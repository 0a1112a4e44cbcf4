// FormTests.cpp — a headless form end to end, and the form's input routing.
//
//   open as child, paint, click, timer, close; capture from press to release;
//   click only on release inside; double-click order; hidden and disabled
//   controls; Enter on the default button; repaint of invalidated areas only
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/HeadlessWindowSystem.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/Panel.h"
#include "toolkit/Png.h"
#include "toolkit/Timer.h"

using namespace toolkit;
using platform::HeadlessWindow;

namespace {

// A control that records what reaches it.
class Probe : public Control {
public:
    Probe(Control* parent, Rect bounds, std::vector<std::string>& log, Pixel color = colors::red)
        : Control(parent, bounds), log_(log), color_(color) {}
    void paint(Canvas& canvas) override { canvas.fillRect(Rect{0, 0, width(), height()}, color_); }
    void mouseDown(MouseButton, const ShiftState& s, int x, int y) override {
        log_.push_back((s.doubleClick ? "down2 " : "down ") + std::to_string(x) + "," + std::to_string(y));
    }
    void mouseMove(const ShiftState&, int x, int y) override {
        log_.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    }
    void mouseUp(MouseButton, const ShiftState&, int x, int y) override {
        log_.push_back("up " + std::to_string(x) + "," + std::to_string(y));
    }
    void click() override { log_.push_back("click"); }
    void doubleClick() override { log_.push_back("dblclick"); }
    bool focusable() const override { return true; }
    void keyDown(const platform::KeyEvent& key) override { log_.push_back("key " + std::to_string(int(key.key))); }

private:
    std::vector<std::string>& log_;
    Pixel color_;
};

struct TestForm : Form {
    explicit TestForm(platform::WindowSystem& ws) : Form(ws, 120, 80, colors::black) {}
    Panel box{this, Rect::ofSize(10, 10, 60, 40), colors::white, BevelStyle::lowered};
    std::vector<std::string> log;
    Probe probe{&box, Rect::ofSize(10, 10, 20, 20), log};
    Label caption{this, 75, 10, "Ticks", Font{11, false, colors::silver}};
    int ticks = 0;
    Timer timer{*this, 250, [this] { caption.setText("Ticks " + std::to_string(++ticks)); }};
};

class FormTest : public ::testing::Test {
protected:
    platform::ManualClock clock{1000};
    platform::HeadlessWindowSystem windows{clock};
    int hostWindow = 0;  // stands in for the host's window handle
};

}  // namespace

TEST_F(FormTest, OpensAsChildPaintsClicksTicksAndCloses) {
    {
        TestForm form(windows);
        form.openChild(&hostWindow);
        ASSERT_EQ(windows.windows().size(), 1u);
        HeadlessWindow& window = *windows.windows()[0];
        EXPECT_FALSE(window.topLevel());
        EXPECT_EQ(window.parent(), &hostWindow);
        EXPECT_TRUE(window.visible());
        EXPECT_TRUE(form.isStillWindow());

        windows.idle();
        const Image& image = window.lastImage();
        ASSERT_EQ(image.width, 120);
        EXPECT_EQ(image.at(0, 0), colors::black);
        EXPECT_EQ(image.at(10, 10), colors::buttonShadow);  // sunken box's dark top-left edge
        EXPECT_EQ(image.at(15, 15), colors::white);
        EXPECT_EQ(image.at(25, 25), colors::red);

        window.click(25, 25);
        EXPECT_EQ(form.log, (std::vector<std::string>{"down 5,5", "click", "up 5,5"}));

        EXPECT_EQ(form.ticks, 0);
        clock.advance(249);
        windows.idle();
        EXPECT_EQ(form.ticks, 0);
        clock.advance(1);
        windows.idle();
        EXPECT_EQ(form.ticks, 1);
        EXPECT_EQ(form.caption.text(), "Ticks 1");
        EXPECT_EQ(windows.timerCount(), 1u);
        EXPECT_TRUE(savePng(window.lastImage(), std::string(TOOLKIT_TEST_OUTPUT_DIR) + "/form_child.png"));
    }
    // The form took its window and its timer with it.
    EXPECT_TRUE(windows.windows().empty());
    EXPECT_EQ(windows.timerCount(), 0u);
}

TEST_F(FormTest, CaptureKeepsMovesAndReleaseWithThePressedControl) {
    TestForm form(windows);
    form.openChild(&hostWindow);
    HeadlessWindow& window = *windows.windows()[0];
    window.press(25, 25);
    EXPECT_TRUE(window.mouseCaptured());
    window.mouseMove(100, 70);  // far outside the probe
    window.release(100, 70);
    EXPECT_FALSE(window.mouseCaptured());
    EXPECT_EQ(form.log, (std::vector<std::string>{"down 5,5", "move 80,50", "up 80,50"}));  // no click
}

TEST_F(FormTest, ClickCountsTheClientAreaFromZeroAndNeedsTheLeftButton) {
    TestForm form(windows);
    form.openChild(&hostWindow);
    HeadlessWindow& window = *windows.windows()[0];
    window.press(25, 25);
    window.release(20, 20);  // x = 0, y = 0 in the probe
    window.click(25, 25, MouseButton::right);
    window.press(25, 25);
    window.release(40, 25);  // x = 20: one past the right edge
    EXPECT_EQ(form.log, (std::vector<std::string>{"down 5,5", "click", "up 0,0", "down 5,5", "up 5,5", "down 5,5",
                                                  "up 20,5"}));
}

TEST_F(FormTest, DoubleClickRaisesOneClickThenDoubleClickBeforeTheSecondPress) {
    TestForm form(windows);
    form.openChild(&hostWindow);
    windows.windows()[0]->doubleClick(21, 22);
    EXPECT_EQ(form.log, (std::vector<std::string>{"down 1,2", "click", "up 1,2", "dblclick", "down2 1,2", "up 1,2"}));
}

TEST_F(FormTest, OnAPushButtonTheSecondPressOfADoubleClickClicksAgain) {
    struct PushProbe : Probe {
        using Probe::Probe;
        bool secondPressClicks() const override { return true; }
    };
    TestForm form(windows);
    form.openChild(&hostWindow);
    PushProbe push(&form, Rect::ofSize(80, 40, 20, 20), form.log);
    HeadlessWindow& window = *windows.windows()[0];
    window.doubleClick(85, 45);
    EXPECT_EQ(form.log, (std::vector<std::string>{"down 5,5", "click", "up 5,5", "down 5,5", "click", "up 5,5"}));
    // The press of a double click that ends outside is no click, as with the first.
    form.log.clear();
    window.click(85, 45);
    platform::MouseEvent second;
    second.type = platform::MouseEvent::Type::doubleClick;
    second.x = 85;
    second.y = 45;
    second.button = MouseButton::left;
    window.injectMouse(second);
    window.release(110, 45);
    EXPECT_EQ(form.log, (std::vector<std::string>{"down 5,5", "click", "up 5,5", "down 5,5", "up 30,5"}));
}

TEST_F(FormTest, HiddenControlsLetClicksThroughAndDisabledOnesSwallowThem) {
    TestForm form(windows);
    form.openChild(&hostWindow);
    HeadlessWindow& window = *windows.windows()[0];
    int boxClicks = 0;
    form.box.onClick = [&] { ++boxClicks; };
    form.probe.setVisible(false);
    window.click(25, 25);
    EXPECT_EQ(boxClicks, 1);
    form.probe.setVisible(true);
    form.probe.setEnabled(false);
    window.click(25, 25);
    EXPECT_EQ(boxClicks, 1);
    EXPECT_TRUE(form.log.empty());
}

TEST_F(FormTest, KeysGoToTheFocusedControlAndEnterToTheDefaultButton) {
    TestForm form(windows);
    form.openChild(&hostWindow);
    HeadlessWindow& window = *windows.windows()[0];
    window.key(platform::Key::up);  // nothing focused yet
    EXPECT_TRUE(form.log.empty());
    window.click(25, 25);
    form.log.clear();
    window.key(platform::Key::up);
    EXPECT_EQ(form.log, (std::vector<std::string>{"key " + std::to_string(int(platform::Key::up))}));
    int defaultClicks = 0;
    form.caption.onClick = [&] { ++defaultClicks; };
    form.setDefaultButton(&form.caption);
    window.key(platform::Key::enter);
    EXPECT_EQ(defaultClicks, 1);
}

TEST_F(FormTest, PaintsOnlyAfterInvalidationAndKeepsUntouchedPixels) {
    TestForm form(windows);
    form.openChild(&hostWindow);
    HeadlessWindow& window = *windows.windows()[0];
    windows.idle();
    const int paints = window.paintCount();
    windows.idle();
    EXPECT_EQ(window.paintCount(), paints);
    form.caption.setText("Changed");
    EXPECT_TRUE(window.needsPaint());
    windows.idle();
    EXPECT_EQ(window.paintCount(), paints + 1);
    EXPECT_EQ(window.lastImage().at(25, 25), colors::red);
}

TEST_F(FormTest, ClosedTopLevelWindowIsNoLongerAWindow) {
    Form dialog(windows, 50, 40);
    dialog.openTopLevel("About", true);
    HeadlessWindow& window = *windows.windows()[0];
    EXPECT_TRUE(window.topLevel());
    EXPECT_TRUE(window.alwaysOnTop());
    EXPECT_EQ(window.title(), "About");
    window.requestClose();
    EXPECT_FALSE(dialog.isStillWindow());
    EXPECT_FALSE(window.visible());
    dialog.closeWindow();
    EXPECT_TRUE(windows.windows().empty());
}

TEST_F(FormTest, TimerStoppedFromItsOwnTickStaysSilent) {
    Form form(windows, 10, 10);
    int ticks = 0;
    Timer timer(form, 100, {});
    timer.onTimer = [&] {
        ++ticks;
        timer.setEnabled(false);
    };
    clock.advance(100);
    windows.idle();
    clock.advance(100);
    windows.idle();
    EXPECT_EQ(ticks, 1);
    timer.setEnabled(true);
    clock.advance(100);
    windows.idle();
    EXPECT_EQ(ticks, 2);
}
