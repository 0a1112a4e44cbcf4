// uAbout.h — the About dialog of both plug-ins, and the panels' open/close toggle.
//
//   unscramble    turns a stored credit line back into its text
//   AboutContent  what one plug-in puts into the dialog (sizes, texts, logo)
//   TuFAbout      the dialog: a modeless, always-on-top window with the pages
//                 ABOUT, HINTS and THANKS above a strip with an OK button
//   AboutToggle   what a panel's About button does: open a dialog, or close
//                 the one this panel opened
//
// The two credit lines (the labels f and L on the ABOUT page) are kept in the
// binary as running sums of their bytes, so they do not show up as plain text:
// stored byte i is stored byte i-1 plus text byte i plus the key, modulo 256
// (the first one is text byte 1 plus the key). The key is the dialog's Tag.
//
// The dialog closes itself (OK, Enter or the close box) by hiding its window at
// once and telling its owner, who frees it at the next turn of the window
// system (an object cannot destroy its window from inside that window's call).
// Everything here runs on the user-interface thread.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Bevel.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/PageControl.h"
#include "toolkit/Panel.h"
#include "toolkit/Picture.h"
#include "toolkit/PictureButton.h"
#include "toolkit/TextView.h"
#include "toolkit/Timer.h"

namespace controls {

// The text behind a stored credit line; the result has the stored line's length.
std::string unscramble(const std::string& stored, int key);

// A stored line kept as a byte array in the source, as a string of those bytes.
template <std::size_t N>
std::string storedLine(const unsigned char (&stored)[N]) {
    return std::string(reinterpret_cast<const char*>(stored), N);
}

struct AboutContent {
    enum Page { aboutPage = 0, hintsPage = 1, thanksPage = 2 };

    std::string productName;              // used on the THANKS page
    int height = 320;                     // client height; the width is always TuFAbout::kWidth
    int startPage = aboutPage;            // the page the dialog opens on
    int key = 0;                          // the dialog's Tag, the key of the stored lines
    int logoTop = 30;                     // top of the logo on the ABOUT page
    std::function<toolkit::Image()> makeLogo;  // draws the 231 x 79 logo
    std::vector<std::string> titleLines;  // bold lines in the box right of the logo
    std::string version;                  // below the title lines
    std::string tagline;                  // optional line under the credit box (pages with room)
    std::string hints;                    // the HINTS page
    toolkit::Rect hintsBounds;            // the hints view, in page coordinates
    toolkit::Font hintsFont;
    toolkit::TextView::ScrollBars hintsScrollBars = toolkit::TextView::ScrollBars::verticalWhenNeeded;
    std::string scrambledL;               // stored credit lines (see above)
    std::string scrambledF;
};

class TuFAbout : public toolkit::Form {
public:
    static constexpr int kWidth = 447;
    static constexpr int kStripHeight = 41;
    static constexpr int kLogoWidth = 231;
    static constexpr int kLogoHeight = 79;

    TuFAbout(platform::WindowSystem& windows, const AboutContent& content);
    ~TuFAbout() override;

    // Opens the dialog as a top-level window, caption "About", always on top,
    // and returns at once (modeless).
    void open();
    int Tag() const { return tag_; }

    // Raised when the user has closed the dialog (OK, Enter, close box): the
    // window is hidden and the owner may free the dialog, though not from
    // inside this call.
    std::function<void()> onClosed;

    // The controls, parents first.
    toolkit::PageControl PageControl1;
    toolkit::TabSheet& AboutSheet;
    toolkit::TabSheet& HintsSheet;
    toolkit::TabSheet& ThanksSheet;
    // ABOUT
    toolkit::Bevel LogoFrame;
    toolkit::Picture Logo;
    toolkit::Bevel TitleFrame;
    std::vector<std::unique_ptr<toolkit::Label>> TitleLines;
    toolkit::Label Version;
    toolkit::Bevel CreditFrame;
    toolkit::Label f;
    toolkit::Label L;
    toolkit::Label Tagline;
    // HINTS
    toolkit::TextView Hints;
    // THANKS
    toolkit::Bevel ThanksFrame;
    std::vector<std::unique_ptr<toolkit::Label>> ThanksLines;
    // The bottom strip
    toolkit::Panel BottomPanel;
    toolkit::PictureButton OKButton;

private:
    void FormCreate(const AboutContent& content);
    void OKButtonClick();
    void FormClose();

    int tag_;
};

// One panel's About button. A panel holds one toggle; destroying the toggle
// destroys the dialog it opened.
class AboutToggle {
public:
    AboutToggle();
    ~AboutToggle();
    AboutToggle(const AboutToggle&) = delete;
    AboutToggle& operator=(const AboutToggle&) = delete;

    // If the dialog this toggle opened is still a window, destroys it and returns
    // true (the panel then asks its effect for an update). Otherwise opens a new
    // one and returns false. A dialog the user closes is freed at the window
    // system's next timer turn, so every opening builds the dialog anew.
    bool toggle(platform::WindowSystem& windows, const AboutContent& content, toolkit::Zoom zoom = toolkit::Zoom{});
    // The open dialog's native window handle, or null when none is open.
    void* aboutWindow() const;
    bool isOpen() const;
    // The dialog object, open or closed-but-not-yet-freed, or null.
    TuFAbout* dialog() const { return dialog_.get(); }

private:
    void freeClosedDialog();

    std::unique_ptr<TuFAbout> dialog_;
    // Fires once after the user closed the dialog, to free it.
    std::unique_ptr<toolkit::Timer> freeTimer_;
};

}  // namespace controls
