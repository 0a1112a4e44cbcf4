// PanelTests.cpp — Tonemark's panel in its editor on the headless backend: what a
// reading shows, the update cycle with the watchdog, the strip and its arrows,
// the About toggle, and settings that arrive from the host's threads.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <utility>
#include <vector>
#include <string>

#include "tests/tuner/ToneFixture.h"
#include "toolkit/Png.h"
#include "tuner/NoteConversion.h"
#include "tuner/PanelArtwork.h"
#include "tuner/uFFT.h"

namespace tonemark {
namespace {

using testing::EffectHarness;

class Panel : public ::testing::Test {
protected:
    void SetUp() override {
        h.clock.set(1000);
        ASSERT_EQ(h.fx().dispatcher(effEditOpen, 0, 0, &hostWindow, 0.0f), 1);
        form = h.editor().getForm();
        ASSERT_NE(form, nullptr);
    }
    platform::HeadlessWindow& window() { return *h.windows.windowOf(form->window()->nativeHandle()); }
    // A click at the centre of a control, through the window as a user makes it.
    void click(const toolkit::Control& control, int dx = 0, int dy = 0) {
        const toolkit::Rect r = control.formBounds();
        window().click((r.left + r.right) / 2 + dx, (r.top + r.bottom) / 2 + dy);
    }
    void doubleClick(const toolkit::Control& control) {
        const toolkit::Rect r = control.formBounds();
        window().doubleClick((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    struct Texts {
        std::string note, sharp, octave, midi, frequency, cents;
        bool operator==(const Texts& o) const {
            return note == o.note && sharp == o.sharp && octave == o.octave && midi == o.midi &&
                   frequency == o.frequency && cents == o.cents;
        }
        friend void PrintTo(const Texts& t, std::ostream* out) {
            *out << '"' << t.note << "\" \"" << t.sharp << "\" \"" << t.octave << "\" \"" << t.midi << "\" \""
                 << t.frequency << "\" \"" << t.cents << '"';
        }
    };
    Texts texts() const {
        return {form->notelbl.text(), form->sharplbl.text(), form->octaveLbl.text(),
                form->midiLbl.text(), form->freqLbl.text(),  form->centslbl.text()};
    }
    // The frequency `cents` away from MIDI note `note` with A3 at 440 Hz.
    static float frequencyOf(int note, double cents) {
        return static_cast<float>(440.0 * std::pow(2.0, (note - 69 + cents / 100.0) / 12.0));
    }

    EffectHarness h;
    int hostWindow = 0;
    TuFFTForm* form = nullptr;
};

TEST_F(Panel, OpensAsTheHostsChildWithItsStartTexts) {
    EXPECT_EQ(window().parent(), &hostWindow);
    EXPECT_FALSE(window().topLevel());
    EXPECT_TRUE(window().visible());
    EXPECT_EQ(window().width(), 444);
    EXPECT_EQ(window().height(), 141);
    EXPECT_EQ(form->effect, &h.fx());
    EXPECT_EQ((Texts{"A", "#", "0", "000", "0,000.00", "+0"}), texts());
    EXPECT_EQ(form->StaticText1.text(), "440");
    EXPECT_EQ(form->AccuracyLbl.text(), "Normal");
    EXPECT_FALSE(form->controlepanel.visible());
    EXPECT_FALSE(form->ledLit());
    EXPECT_EQ(form->pointer.left(), 200);
}

TEST_F(Panel, ShowsAReadingInTheFormatsOfEachAccuracy) {
    form->ShowReading(440.0f, 0.0f);
    EXPECT_EQ((Texts{"A", " ", "3", "69", "440.00", "+0"}), texts());
    EXPECT_EQ(form->pointer.left(), 200);
    EXPECT_TRUE(form->ledLit());
    form->Accuracy.setPosition(0);
    form->ShowReading(440.0f, 0.0f);
    EXPECT_EQ(form->freqLbl.text(), "440.0");
    EXPECT_EQ(form->centslbl.text(), "+0");
    form->Accuracy.setPosition(2);
    form->ShowReading(440.0f, 0.0f);
    EXPECT_EQ(form->freqLbl.text(), "440.000");
    EXPECT_EQ(form->centslbl.text(), "+0.0");

    form->Accuracy.setPosition(1);
    form->ShowReading(466.16f, 0.0f);  // A sharp, about -0.01 cents
    EXPECT_EQ((Texts{"A", "#", "3", "70", "466.16", "+0"}), texts());

    // Twelve and a half cents flat of E4 (the first float whose conversion
    // reaches -12.5; float logarithms step by about a thousandth of a cent):
    // whole cents round away from zero.
    float flat = frequencyOf(76, -12.5);
    for (int step = 0; step < 64 && convertToNote(flat, 0.0f, 440).cents > -12.5f; ++step)
        flat = std::nextafter(flat, 0.0f);
    ASSERT_LE(convertToNote(flat, 0.0f, 440).cents, -12.5f);
    ASSERT_GT(convertToNote(flat, 0.0f, 440).cents, -12.502f);
    form->ShowReading(flat, 0.0f);
    EXPECT_EQ(form->centslbl.text(), "-13");
    EXPECT_EQ(form->pointer.left(), 150);
    form->Accuracy.setPosition(2);
    form->ShowReading(flat, 0.0f);
    EXPECT_EQ(form->centslbl.text(), "-12.5");
}

TEST_F(Panel, ShowsTheWholeNoteRangeAndOnlyDarkensTheLampBeyondIt) {
    form->ShowReading(frequencyOf(0, 0.0), 0.0f);
    EXPECT_EQ((Texts{"C", " ", "-2", "0", "8.18", "+0"}), texts());
    form->ShowReading(frequencyOf(112, 0.0), 0.0f);
    const Texts e7{"E", " ", "7", "112", "5274.04", "+0"};
    EXPECT_EQ(e7, texts());
    EXPECT_TRUE(form->ledLit());
    form->ShowReading(frequencyOf(113, 0.0), 0.0f);
    EXPECT_FALSE(form->ledLit());
    EXPECT_EQ(e7, texts());
    form->ShowReading(440.0f, 0.0f);
    EXPECT_TRUE(form->ledLit());
    form->ShowReading(440.0f, 1.0f);  // no reading: only the lamp says so
    EXPECT_FALSE(form->ledLit());
    EXPECT_EQ(form->freqLbl.text(), "440.00");
}

TEST_F(Panel, AReadingWithoutANoteLeavesEveryLabelAndThePointerAsTheyWere) {
    form->ShowReading(frequencyOf(62, 20.0), 0.0f);  // D, twenty cents sharp
    const Texts shown = texts();
    EXPECT_EQ((Texts{"D", " ", "3", "62", "297.08", "+20"}), shown);
    const int pointerLeft = form->pointer.left();
    EXPECT_EQ(pointerLeft, 280);
    // No reading, no peak, below note 0, above note 112, not a number.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const auto& [frequency, noReading] : std::vector<std::pair<float, float>>{
             {440.0f, 1.0f}, {0.0f, 0.0f}, {1.0f, 0.0f}, {frequencyOf(113, 0.0), 0.0f}, {nan, 0.0f}, {-440.0f, 0.0f}}) {
        form->ShowReading(440.0f, 0.0f);
        form->ShowReading(frequencyOf(62, 20.0), 0.0f);
        ASSERT_TRUE(form->ledLit());
        form->ShowReading(frequency, noReading);
        EXPECT_FALSE(form->ledLit()) << frequency << " " << noReading;
        EXPECT_EQ(shown, texts()) << frequency << " " << noReading;
        EXPECT_EQ(form->pointer.left(), pointerLeft) << frequency << " " << noReading;
        EXPECT_EQ(form->StaticText1.text(), "440");
        EXPECT_EQ(form->AccuracyLbl.text(), "Normal");
    }
}

TEST_F(Panel, TheFormatsFollowAClickOnTheAccuracyArrowsFromTheNextReading) {
    form->ShowReading(440.0f, 0.0f);
    click(form->infobtn);
    click(form->Accuracy, 0, -4);  // up: Super
    EXPECT_EQ(form->AccuracyLbl.text(), "Super");
    EXPECT_EQ(form->freqLbl.text(), "440.00");  // the shown reading keeps its format
    EXPECT_EQ(form->centslbl.text(), "+0");
    form->ShowReading(440.0f, 0.0f);
    EXPECT_EQ(form->freqLbl.text(), "440.000");
    EXPECT_EQ(form->centslbl.text(), "+0.0");
    form->ShowReading(frequencyOf(69, -7.4), 0.0f);
    EXPECT_EQ(form->centslbl.text(), "-7.4");
    click(form->Accuracy, 0, 4);
    click(form->Accuracy, 0, 4);  // down twice: Economy
    EXPECT_EQ(form->AccuracyLbl.text(), "Economy");
    form->ShowReading(440.0f, 0.0f);
    EXPECT_EQ(form->freqLbl.text(), "440.0");
    EXPECT_EQ(form->centslbl.text(), "+0");
    form->ShowReading(frequencyOf(69, -7.4), 0.0f);
    EXPECT_EQ(form->centslbl.text(), "-7");
    EXPECT_EQ(form->freqLbl.text(), "438.1");
}

TEST_F(Panel, ReadingsFollowThePitchRefPosition) {
    form->PitchRef.setPosition(430);
    form->ShowReading(430.0f, 0.0f);
    EXPECT_EQ((Texts{"A", " ", "3", "69", "430.00", "+0"}), texts());
}

TEST_F(Panel, UpdateCycleShowsTonesAndTheWatchdogStopsIt) {
    h.feed({{440.0, 0.5}}, 1.0);
    h.fx().dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    EXPECT_EQ((Texts{"A", " ", "3", "69", "440.00", "+0"}), texts());
    EXPECT_TRUE(form->ledLit());
    EXPECT_EQ(form->pointer.left(), 200);

    // Audio stops: the first tick clears the seen mark, the second finds none.
    for (int tick = 0; tick < 2; ++tick) {
        h.clock.advance(TuFFTForm::kWatchdogInterval);
        h.fx().dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    }
    EXPECT_TRUE(h.fx().isAudioStale());
    EXPECT_FALSE(form->ledLit());
    EXPECT_FALSE(h.editor().updatePending());
    EXPECT_EQ(form->freqLbl.text(), "440.00");  // the last reading stays

    // Audio returns: the first block restarts the cycle, the next reading lights the lamp.
    h.feed({{220.0, 0.5}}, 1.0);
    EXPECT_TRUE(h.editor().updatePending());
    h.clock.advance(60);
    h.fx().dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(form->freqLbl.text(), "220.00");
    EXPECT_EQ(form->octaveLbl.text(), "2");
    EXPECT_TRUE(form->ledLit());
}

TEST_F(Panel, StripTogglesFromItsButtonsAndDoubleClicks) {
    click(form->infobtn);
    EXPECT_TRUE(form->controlepanel.visible());
    click(form->BitBtn1);
    EXPECT_FALSE(form->controlepanel.visible());
    click(form->infobtn);
    doubleClick(form->Label4);  // the first press of a double click is a click on the label: nothing
    EXPECT_FALSE(form->controlepanel.visible());
    click(form->infobtn);
    for (const toolkit::Control* target :
         {static_cast<const toolkit::Control*>(&form->Label5), static_cast<const toolkit::Control*>(&form->StaticText1),
          static_cast<const toolkit::Control*>(&form->AccuracyLbl)}) {
        doubleClick(*target);
        EXPECT_FALSE(form->controlepanel.visible());
        click(form->infobtn);
    }
    EXPECT_TRUE(form->controlepanel.visible());
}

TEST_F(Panel, ArrowsSetTheEffectAndTheStripTexts) {
    click(form->infobtn);
    click(form->PitchRef, 0, -4);  // upper arrow
    EXPECT_EQ(h.fx().getReferencePitch(), 441);
    EXPECT_EQ(form->StaticText1.text(), "441");
    click(form->Accuracy, 0, -4);
    EXPECT_EQ(h.fx().getAccuracy(), 2);
    EXPECT_EQ(form->AccuracyLbl.text(), "Super");
    h.fx().measure();  // the detector takes a new setting before it measures
    EXPECT_EQ(h.fx().getDetector().fftSize(), 32768);
    click(form->Accuracy, 0, -4);  // no wrap at the top
    EXPECT_EQ(h.fx().getAccuracy(), 2);
    click(form->Accuracy, 0, 4);
    click(form->Accuracy, 0, 4);
    EXPECT_EQ(form->AccuracyLbl.text(), "Economy");
    h.fx().measure();
    EXPECT_EQ(h.fx().getDetector().fftSize(), 8192);
}

TEST_F(Panel, HostSettingsReachTheControlsAtTheNextIdle) {
    h.fx().setParameter(ADoubler::kReferencePitch, 450.0f);
    h.fx().setParameter(ADoubler::kAccuracy, 0.0f);
    // Marked only: the widgets belong to the thread that runs the idle requests.
    EXPECT_EQ(form->StaticText1.text(), "440");
    h.fx().dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(form->PitchRef.position(), 450);
    EXPECT_EQ(form->StaticText1.text(), "450");
    EXPECT_EQ(form->AccuracyLbl.text(), "Economy");
    // Out of the arrows' range: shown at the nearest end; the effect keeps its value.
    h.fx().setParameter(ADoubler::kReferencePitch, 470.0f);
    h.fx().setParameter(ADoubler::kAccuracy, 3.0f);
    h.fx().dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(form->StaticText1.text(), "453");
    EXPECT_EQ(form->AccuracyLbl.text(), "Super");
    EXPECT_EQ(h.fx().getParameter(ADoubler::kReferencePitch), 470.0f);
    EXPECT_EQ(h.fx().getParameter(ADoubler::kAccuracy), 3.0f);
}

TEST_F(Panel, ReopeningBuildsAFreshPanelFromTheEffect) {
    form->ShowReading(440.0f, 0.0f);
    int otherWindow = 0;
    EXPECT_EQ(h.fx().dispatcher(effEditOpen, 0, 0, &otherWindow, 0.0f), 1);  // reused while open
    EXPECT_EQ(h.editor().getForm(), form);
    EXPECT_EQ(h.editor().getParentWindow(), &otherWindow);
    h.fx().setParameter(ADoubler::kReferencePitch, 432.0f);
    h.fx().dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(h.editor().getForm(), nullptr);
    EXPECT_TRUE(h.windows.windows().empty());
    h.fx().dispatcher(effEditOpen, 0, 0, &hostWindow, 0.0f);
    form = h.editor().getForm();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->StaticText1.text(), "432");
    EXPECT_FALSE(form->ledLit());
    EXPECT_EQ(form->freqLbl.text(), "0,000.00");
}

TEST_F(Panel, AboutButtonOpensThenClosesItsOwnDialog) {
    click(form->infobtn);
    click(form->HelpBtn);
    ASSERT_NE(form->aboutWindow(), nullptr);
    platform::HeadlessWindow* dialog = h.windows.windowOf(form->aboutWindow());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->topLevel());
    EXPECT_TRUE(dialog->alwaysOnTop());
    EXPECT_EQ(dialog->title(), "About");
    EXPECT_EQ(dialog->height(), 320);

    h.fx().dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);  // audio stale: the cycle stops
    EXPECT_FALSE(h.editor().updatePending());
    click(form->HelpBtn);  // closes it and asks the cycle to go on
    EXPECT_EQ(h.windows.windows().size(), 1u);
    EXPECT_TRUE(h.editor().updatePending());

    click(form->HelpBtn);
    ASSERT_NE(form->aboutWindow(), nullptr);
    h.fx().dispatcher(effEditClose, 0, 0, nullptr, 0.0f);  // the dialog goes with the panel
    EXPECT_TRUE(h.windows.windows().empty());
}

TEST_F(Panel, QuickSecondClicksOnTheButtonsAreNotLost) {
    doubleClick(form->infobtn);  // opens the strip; its hide button, now under the pointer, closes it
    EXPECT_FALSE(form->controlepanel.visible());
    click(form->infobtn);
    doubleClick(form->HelpBtn);  // opens the About dialog and closes it again
    EXPECT_EQ(form->aboutWindow(), nullptr);
    EXPECT_EQ(h.windows.windows().size(), 1u);
    EXPECT_TRUE(form->controlepanel.visible());
}

TEST_F(Panel, PanelWithoutEffectOnlyTogglesItsStrip) {
    form->effect = nullptr;
    click(form->infobtn);
    click(form->HelpBtn);
    EXPECT_EQ(form->aboutWindow(), nullptr);
    click(form->PitchRef, 0, -4);
    EXPECT_EQ(h.fx().getReferencePitch(), 440);
    h.clock.advance(1000);
    h.windows.idle();  // the watchdog timer does nothing either
    EXPECT_TRUE(form->controlepanel.visible());
}

TEST_F(Panel, PaintsPointerAndLampWhereTheReadingPutsThem) {
    form->ShowReading(frequencyOf(69, 25.0), 0.0f);
    const toolkit::Image& image = window().paintNow();
    const int pointerX = form->Panel4.left() + 300;
    EXPECT_EQ(image.at(pointerX, form->Panel4.top() + 25), colours::red);
    EXPECT_NE(image.at(pointerX - 1, form->Panel4.top() + 25), colours::red);
    EXPECT_EQ(image.at(form->LED.left() + 4, form->LED.top() + 4), colours::lime);
    form->LedOff();
    EXPECT_EQ(window().paintNow().at(form->LED.left() + 4, form->LED.top() + 4), colours::darkGreen);
}

}  // namespace
}  // namespace tonemark

namespace tonemark {
namespace {

// The window's last picture as a PNG in this test's output folder.
bool saveLastPicture(const platform::HeadlessWindow& window, const char* name) {
    return toolkit::savePng(window.lastImage(), std::string(PANEL_TEST_OUTPUT_DIR) + "/" + name);
}

// Pictures: A 440 as a live tone shows it (the end-to-end checks compare the
// real windows with it), and for looking at, a sharp reading with the strip open.
TEST_F(Panel, SavesPicturesOfAReadingAndTheStrip) {
    form->ShowReading(440.0f, 0.0f);
    window().paintNow();
    EXPECT_TRUE(saveLastPicture(window(), "tonemark-a440.png"));
    click(form->infobtn);  // the same with the strip open, as a click in a real window opens it
    window().paintNow();
    EXPECT_TRUE(saveLastPicture(window(), "tonemark-a440-strip.png"));
    click(form->infobtn);
    form->ShowReading(frequencyOf(69, 8.0), 0.0f);
    EXPECT_TRUE(window().paintNow().width == 444);
    EXPECT_TRUE(saveLastPicture(window(), "tonemark-reading.png"));
    click(form->infobtn);
    window().paintNow();
    EXPECT_TRUE(saveLastPicture(window(), "tonemark-strip.png"));
}

}  // namespace
}  // namespace tonemark
