// AboutTests.cpp — the About dialog of both plug-ins.
//
//   unscramble   worked examples by hand, round trips, the lines both plug-ins store
//   AboutToggle  open / destroy from the panel, OK and close box free it, two panels,
//                lifetime
//   TuFAbout     window, pages, credit lines, OK button per plug-in; pictures to look at
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "controls/uAbout.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "stereo/AboutContent.h"
#include "toolkit/Png.h"
#include "tuner/AboutContent.h"

using controls::AboutContent;
using controls::AboutToggle;
using controls::TuFAbout;
using controls::unscramble;
using platform::HeadlessWindow;

namespace {

// The other direction, for making test lines: each stored byte is the one
// before plus the text byte plus the key.
std::string scramble(const std::string& plain, int key) {
    std::string stored(plain.size(), '\0');
    int previous = 0;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        previous = ((i == 0 ? 0 : previous) + static_cast<unsigned char>(plain[i]) + key) & 0xFF;
        stored[i] = static_cast<char>(previous);
    }
    return stored;
}

const std::string middleDot = "\xC2\xB7";

class AboutTest : public ::testing::Test {
protected:
    HeadlessWindow* windowOf(const AboutToggle& toggle) const { return windows.windowOf(toggle.aboutWindow()); }
    // The centre of a control in its form's coordinates.
    static toolkit::Point centreOf(const toolkit::Control& control) {
        const toolkit::Rect r = control.formBounds();
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    platform::ManualClock clock{0};
    platform::HeadlessWindowSystem windows{clock};
};

}  // namespace

TEST(Unscramble, HandWorkedExamples) {
    // "Hi", key 3: 'H' + 3 = 0x4B; 0x4B + 'i' + 3 = 0xB7.
    EXPECT_EQ(unscramble("\x4B\xB7", 3), "Hi");
    // A step downwards counts round the byte: 0xF0 -> 0x10 is a step of 0x20, less 5 = 0x1B.
    EXPECT_EQ(unscramble("\xF0\x10", 5), "\xEB\x1B");
    // Steps smaller than the key wrap below zero: 1 - 5 = 0xFC, 2 - 5 = 0xFD.
    EXPECT_EQ(unscramble("\x02\x03", 5), "\xFD\xFC");
    // Equal bytes are a step of 0; a zero byte is kept like any other.
    EXPECT_EQ(unscramble(std::string("\x05\x05\x0A", 3), 5), std::string("\x00\xFB\x00", 3));
    EXPECT_EQ(scramble("Hi", 3), "\x4B\xB7");
}

TEST(Unscramble, UndoesScrambleForAnyBytesAndKey) {
    std::string everyByte;
    for (int b = 255; b >= 0; --b) everyByte.push_back(static_cast<char>(b));
    for (int key : {0, 1, 5, 9, 127, 200, 255, 256 + 7, -3}) {
        for (const std::string& text : {everyByte, std::string("Free to use in any host. No warranty."),
                                        "Tonemark instrument tuner  " + middleDot + "  Brisora", std::string("ab")}) {
            const std::string stored = scramble(text, key);
            ASSERT_EQ(stored.size(), text.size());
            EXPECT_EQ(unscramble(stored, key), text) << "key " << key;
        }
    }
    // The plain text does not show in what is stored.
    EXPECT_EQ(scramble("Free to use", 5).find("Free"), std::string::npos);
}

TEST(Unscramble, BothPluginsStoreTheirCreditLinesWithTheirOwnKeys) {
    const AboutContent& tm = tonemark::aboutContent();
    const AboutContent& wf = widefield::aboutContent();
    EXPECT_NE(tm.key, wf.key);
    EXPECT_EQ(unscramble(tm.scrambledF, tm.key), "Tonemark instrument tuner  " + middleDot + "  Brisora");
    EXPECT_EQ(unscramble(tm.scrambledL, tm.key), "Free to use in any host. No warranty.");
    EXPECT_EQ(unscramble(wf.scrambledF, wf.key), "Widefield stereo processor  " + middleDot + "  Brisora");
    EXPECT_EQ(unscramble(wf.scrambledL, wf.key), "Free to use in any host. Use at your own risk.");
    for (const std::string* stored : {&tm.scrambledF, &tm.scrambledL, &wf.scrambledF, &wf.scrambledL})
        EXPECT_EQ(stored->find("Brisora"), std::string::npos);
}

TEST_F(AboutTest, ToggleOpensTheDialogThenDestroysIt) {
    AboutToggle toggle;
    EXPECT_FALSE(toggle.isOpen());
    EXPECT_EQ(toggle.aboutWindow(), nullptr);

    EXPECT_FALSE(toggle.toggle(windows, tonemark::aboutContent()));
    ASSERT_EQ(windows.windows().size(), 1u);
    HeadlessWindow* window = windowOf(toggle);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(toggle.isOpen());
    EXPECT_TRUE(window->topLevel());
    EXPECT_TRUE(window->alwaysOnTop());
    EXPECT_TRUE(window->visible());
    EXPECT_EQ(window->title(), "About");

    EXPECT_TRUE(toggle.toggle(windows, tonemark::aboutContent()));  // the panel now asks for an update
    EXPECT_TRUE(windows.windows().empty());
    EXPECT_FALSE(toggle.isOpen());
    EXPECT_EQ(toggle.aboutWindow(), nullptr);
    EXPECT_EQ(toggle.dialog(), nullptr);
}

TEST_F(AboutTest, OkEnterOrTheCloseBoxFreeTheDialogAndTheNextToggleBuildsAFreshOne) {
    AboutToggle toggle;
    // The next turn of the window system's timers, where a closed dialog is freed.
    const auto nextTurn = [this] {
        clock.advance(1);
        windows.idle();
    };
    toggle.toggle(windows, tonemark::aboutContent());
    HeadlessWindow* window = windowOf(toggle);
    ASSERT_NE(window, nullptr);
    TuFAbout* first = toggle.dialog();
    first->Hints.setTopLine(5);  // the user scrolled the hints
    const toolkit::Point ok = centreOf(first->OKButton);
    window->click(ok.x, ok.y);
    EXPECT_FALSE(window->visible());
    EXPECT_FALSE(toggle.isOpen());
    EXPECT_EQ(toggle.aboutWindow(), nullptr);
    nextTurn();
    EXPECT_TRUE(windows.windows().empty());
    EXPECT_EQ(toggle.dialog(), nullptr);

    EXPECT_FALSE(toggle.toggle(windows, tonemark::aboutContent()));  // opens, does not close
    ASSERT_EQ(windows.windows().size(), 1u);
    window = windowOf(toggle);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->visible());
    EXPECT_EQ(toggle.dialog()->Hints.topLine(), 0);  // the hints as they are loaded
    EXPECT_EQ(toggle.dialog()->Hints.text(), tonemark::aboutContent().hints);

    window->requestClose();  // the close box
    EXPECT_FALSE(toggle.isOpen());
    EXPECT_FALSE(window->visible());
    nextTurn();
    EXPECT_TRUE(windows.windows().empty());
    EXPECT_FALSE(toggle.toggle(windows, widefield::aboutContent()));
    EXPECT_TRUE(toggle.isOpen());
    EXPECT_EQ(windows.windows().size(), 1u);

    // Enter presses OK as well; a toggle before the next turn opens a new one at once.
    windowOf(toggle)->key(platform::Key::enter);
    EXPECT_FALSE(toggle.isOpen());
    EXPECT_FALSE(toggle.toggle(windows, widefield::aboutContent()));
    EXPECT_TRUE(toggle.isOpen());
    EXPECT_EQ(windows.windows().size(), 1u);
    nextTurn();  // the new one stays
    EXPECT_TRUE(toggle.isOpen());
}

TEST_F(AboutTest, EachPanelClosesOnlyItsOwnDialogAndTakesItAlongWhenDestroyed) {
    AboutToggle first;
    {
        AboutToggle second;
        first.toggle(windows, tonemark::aboutContent());
        second.toggle(windows, tonemark::aboutContent());
        ASSERT_EQ(windows.windows().size(), 2u);
        EXPECT_NE(first.aboutWindow(), second.aboutWindow());

        EXPECT_TRUE(first.toggle(windows, tonemark::aboutContent()));
        ASSERT_EQ(windows.windows().size(), 1u);
        EXPECT_EQ(windows.windows()[0]->nativeHandle(), second.aboutWindow());
        EXPECT_TRUE(second.isOpen());

        EXPECT_FALSE(first.toggle(windows, tonemark::aboutContent()));
        EXPECT_EQ(windows.windows().size(), 2u);
    }
    // The second panel went and took its dialog along; the first one's stays.
    ASSERT_EQ(windows.windows().size(), 1u);
    EXPECT_EQ(windows.windows()[0]->nativeHandle(), first.aboutWindow());
    EXPECT_TRUE(first.isOpen());
}

namespace {

struct Expected {
    const char* name;
    const AboutContent& (*content)();
    int height;
    int startPage;
    std::string f;
    std::string L;
    std::string hintsStart;
};

void PrintTo(const Expected& expected, std::ostream* out) { *out << expected.name; }

class AboutLayoutTest : public AboutTest, public ::testing::WithParamInterface<Expected> {};

}  // namespace

TEST_P(AboutLayoutTest, WindowPagesCreditLinesAndOkButton) {
    const Expected& e = GetParam();
    TuFAbout dialog(windows, e.content());
    dialog.open();
    ASSERT_EQ(windows.windows().size(), 1u);
    HeadlessWindow& window = *windows.windows()[0];
    EXPECT_EQ(window.width(), 447);
    EXPECT_EQ(window.height(), e.height);
    EXPECT_EQ(window.title(), "About");
    EXPECT_TRUE(window.alwaysOnTop());
    EXPECT_EQ(dialog.Tag(), e.content().key);

    ASSERT_EQ(dialog.PageControl1.pageCount(), 3);
    EXPECT_EQ(dialog.PageControl1.page(0).caption(), "ABOUT");
    EXPECT_EQ(dialog.PageControl1.page(1).caption(), "HINTS");
    EXPECT_EQ(dialog.PageControl1.page(2).caption(), "THANKS");
    EXPECT_EQ(dialog.PageControl1.tabRect(1).width(), 148);
    EXPECT_EQ(dialog.PageControl1.tabRect(1).height(), 25);
    EXPECT_EQ(dialog.PageControl1.activePage(), e.startPage);
    EXPECT_EQ(dialog.PageControl1.bounds().bottom, e.height - 41);

    EXPECT_EQ(dialog.f.text(), e.f);
    EXPECT_EQ(dialog.L.text(), e.L);
    EXPECT_EQ(dialog.f.bounds(), toolkit::Rect::ofSize(13, 167, 416, 17));
    EXPECT_EQ(dialog.L.bounds(), toolkit::Rect::ofSize(13, 193, 417, 22));
    EXPECT_EQ(dialog.Logo.picture().width, TuFAbout::kLogoWidth);
    EXPECT_EQ(dialog.Logo.picture().height, TuFAbout::kLogoHeight);
    EXPECT_EQ(dialog.Hints.text().rfind(e.hintsStart, 0), 0u);
    // Every page's content lies inside its page.
    for (int page = 0; page < 3; ++page)
        for (const toolkit::Control* child : dialog.PageControl1.page(page).children()) {
            const toolkit::Rect area = dialog.PageControl1.page(page).bounds();
            EXPECT_GE(child->left(), 0);
            EXPECT_GE(child->top(), 0);
            EXPECT_LE(child->bounds().right, area.width());
            EXPECT_LE(child->bounds().bottom, area.height());
        }
    EXPECT_EQ(dialog.OKButton.formBounds(), toolkit::Rect::ofSize(186, e.height - 41 + 8, 75, 25));
    EXPECT_EQ(dialog.OKButton.caption(), "OK");

    // A picture of each page, to look at.
    const std::string base = std::string(CONTROLS_TEST_OUTPUT_DIR) + "/about_" + e.name;
    for (int page : {0, 1, 2}) {
        const toolkit::Point tab{dialog.PageControl1.tabRect(page).left + 20, 12};
        window.click(tab.x, tab.y);
        EXPECT_EQ(dialog.PageControl1.activePage(), page);
        EXPECT_TRUE(toolkit::savePng(window.paintNow(), base + "_" + std::to_string(page) + ".png"));
    }
    dialog.Hints.setTopLine(static_cast<int>(dialog.Hints.lines().size()));
    dialog.PageControl1.setActivePage(AboutContent::hintsPage);
    EXPECT_TRUE(toolkit::savePng(window.paintNow(), base + "_1_end.png"));
    const toolkit::Point ok = centreOf(dialog.OKButton);
    window.click(ok.x, ok.y);
    EXPECT_FALSE(dialog.isStillWindow());
}

INSTANTIATE_TEST_SUITE_P(
    BothPlugins, AboutLayoutTest,
    ::testing::Values(Expected{"tonemark", &tonemark::aboutContent, 320, AboutContent::aboutPage,
                               "Tonemark instrument tuner  " + middleDot + "  Brisora",
                               "Free to use in any host. No warranty.",
                               "This is a simple but very accurate instrument tuner."},
                      Expected{"widefield", &widefield::aboutContent, 368, AboutContent::hintsPage,
                               "Widefield stereo processor  " + middleDot + "  Brisora",
                               "Free to use in any host. Use at your own risk.", "General Hints:"}),
    [](const ::testing::TestParamInfo<Expected>& info) { return std::string(info.param.name); });

TEST_F(AboutTest, TonemarksHintsShowBothScrollBarsAndWidefieldsOnlyWhatTheyNeed) {
    TuFAbout tonemarkDialog(windows, tonemark::aboutContent());
    EXPECT_TRUE(tonemarkDialog.Hints.hasScrollBar());
    EXPECT_TRUE(tonemarkDialog.Hints.hasHorizontalScrollBar());
    TuFAbout widefieldDialog(windows, widefield::aboutContent());
    EXPECT_FALSE(widefieldDialog.Hints.hasHorizontalScrollBar());
}
