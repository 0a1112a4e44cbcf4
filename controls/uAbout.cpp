// uAbout.cpp — the About dialog's layout, its stored credit lines, and the toggle.
//
// Layout (client 447 wide): the page control fills everything above the 41-pixel
// strip with the OK button. On the ABOUT page the logo box and the title box sit
// side by side at the top, the credit box with f and L across the lower half.
#include "controls/uAbout.h"

#include <algorithm>

namespace controls {

using toolkit::Alignment;
using toolkit::Bevel;
using toolkit::BevelStyle;
using toolkit::Font;
using toolkit::Label;
using toolkit::Rect;
namespace colors = toolkit::colors;

std::string unscramble(const std::string& stored, int key) {
    const std::size_t n = stored.size();
    std::string result(n, '\0');
    if (n == 0) return result;
    const auto byteAt = [&stored](std::size_t i) { return static_cast<int>(static_cast<unsigned char>(stored[i])); };
    // From the last byte down to the second: the step from the byte before, less the key.
    for (std::size_t i = n - 1; i >= 1; --i) {
        int step = byteAt(i) - byteAt(i - 1);
        if (byteAt(i - 1) > byteAt(i)) step += 256;
        result[i] = static_cast<char>(static_cast<unsigned char>((step - key) & 0xFF));
    }
    result[0] = static_cast<char>(static_cast<unsigned char>((byteAt(0) - key) & 0xFF));
    return result;
}

namespace {

constexpr int kTabWidth = 148;
constexpr int kTabHeight = 25;
constexpr Font kTabFont{19, true, colors::black};
constexpr Font kTitleFont{19, true, colors::black};
constexpr Font kVersionFont{19, true, toolkit::rgb(0, 0, 128)};
constexpr Font kFFont{15, false, colors::black};
constexpr Font kLFont{13, false, colors::black};
constexpr Font kTaglineFont{13, false, toolkit::rgb(64, 64, 64)};
constexpr Font kThanksHeadFont{19, true, colors::black};
constexpr Font kThanksFont{13, false, colors::black};

// Page coordinates of the ABOUT page's boxes.
constexpr int kMargin = 8;      // from the page edge to a box
constexpr int kLogoLeft = 16;   // the logo, inside its box
constexpr int kBoxPadding = kLogoLeft - kMargin;
constexpr int kCreditTop = 150;
constexpr int kCreditBottom = 232;

Rect pageArea(int clientHeight) {
    // What PageControl gives its pages: the control less the tabs and a two-pixel edge.
    return Rect{0, 0, TuFAbout::kWidth - 4, clientHeight - TuFAbout::kStripHeight - kTabHeight - 4};
}

Rect logoBox(const AboutContent& content) {
    return Rect{kMargin, content.logoTop - kBoxPadding, kLogoLeft + TuFAbout::kLogoWidth + kBoxPadding,
                content.logoTop + TuFAbout::kLogoHeight + kBoxPadding};
}

Rect titleBox(const AboutContent& content) {
    const Rect logo = logoBox(content);
    return Rect{logo.right + kMargin, logo.top, pageArea(content.height).right - kMargin, logo.bottom};
}

}  // namespace

TuFAbout::TuFAbout(platform::WindowSystem& windows, const AboutContent& content)
    : toolkit::Form(windows, kWidth, content.height, colors::buttonFace),
      PageControl1(this, Rect{0, 0, kWidth, content.height - kStripHeight}, kTabWidth, kTabHeight, kTabFont),
      AboutSheet(PageControl1.addPage("ABOUT")),
      HintsSheet(PageControl1.addPage("HINTS")),
      ThanksSheet(PageControl1.addPage("THANKS")),
      LogoFrame(&AboutSheet, logoBox(content), Bevel::Shape::frame, BevelStyle::lowered),
      Logo(&AboutSheet, Rect::ofSize(kLogoLeft, content.logoTop, kLogoWidth, kLogoHeight)),
      TitleFrame(&AboutSheet, titleBox(content), Bevel::Shape::frame, BevelStyle::lowered),
      Version(&AboutSheet, Rect{}, content.version, kVersionFont, Alignment::centre),
      CreditFrame(&AboutSheet, Rect{kMargin, kCreditTop, pageArea(content.height).right - kMargin, kCreditBottom},
                  Bevel::Shape::frame, BevelStyle::lowered),
      f(&AboutSheet, Rect::ofSize(13, 167, 416, 17), std::string(), kFFont, Alignment::centre),
      L(&AboutSheet, Rect::ofSize(13, 193, 417, 22), std::string(), kLFont, Alignment::centre),
      Tagline(&AboutSheet, Rect{kMargin, kCreditBottom, pageArea(content.height).right - kMargin,
                                pageArea(content.height).bottom},
              content.tagline, kTaglineFont, Alignment::centre),
      Hints(&HintsSheet, content.hintsBounds, content.hints, content.hintsFont),
      ThanksFrame(&ThanksSheet, Rect{kMargin, kMargin, pageArea(content.height).right - kMargin,
                                     pageArea(content.height).bottom - kMargin},
                  Bevel::Shape::frame, BevelStyle::lowered),
      BottomPanel(this, Rect::ofSize(0, content.height - kStripHeight, kWidth, kStripHeight), colors::buttonFace,
                  BevelStyle::none),
      OKButton(&BottomPanel, Rect::ofSize(186, 8, 75, 25), std::string(), toolkit::PictureButton::Kind::ok),
      tag_(content.key) {
    FormCreate(content);
}

TuFAbout::~TuFAbout() = default;

void TuFAbout::FormCreate(const AboutContent& content) {
    // The credit lines: the first stored one is L, the second f.
    L.setText(unscramble(content.scrambledL, tag_));
    f.setText(unscramble(content.scrambledF, tag_));

    if (content.makeLogo) Logo.setPicture(content.makeLogo());

    // Title lines and version, centred as a block in the title box.
    const Rect box = titleBox(content);
    const int lineHeight = toolkit::Canvas::textExtent("Ag", kTitleFont).height;
    const int versionGap = 6;
    const int lines = static_cast<int>(content.titleLines.size());
    const int blockHeight = lines * lineHeight + (content.version.empty() ? 0 : versionGap + lineHeight);
    int y = box.top + (box.height() - blockHeight) / 2;
    for (const std::string& line : content.titleLines) {
        TitleLines.push_back(
            std::make_unique<Label>(&AboutSheet, Rect{box.left + 2, y, box.right - 2, y + lineHeight}, line,
                                    kTitleFont, Alignment::centre));
        y += lineHeight;
    }
    Version.setBounds(Rect{box.left + 2, y + versionGap, box.right - 2, y + versionGap + lineHeight});
    Version.setVisible(!content.version.empty());
    Tagline.setCentreVertically(true);
    Tagline.setVisible(!content.tagline.empty());

    // THANKS: a heading and a few centred lines in the frame.
    const std::vector<std::pair<std::string, Font>> thanks = {
        {content.productName + " is made by Brisora", kThanksHeadFont},
        {std::string(), kThanksFont},
        {"Thank you to everyone who tried the early builds", kThanksFont},
        {"and told us what they heard and what they missed.", kThanksFont},
        {std::string(), kThanksFont},
        {"The text on our panels is set in Liberation Sans,", kThanksFont},
        {"used under the SIL Open Font License 1.1.", kThanksFont},
        {std::string(), kThanksFont},
        {"VST is a trademark of Steinberg Media Technologies GmbH.", kThanksFont},
    };
    const Rect frame = ThanksFrame.bounds();
    int thanksHeight = 0;
    for (const auto& line : thanks) thanksHeight += toolkit::Canvas::textExtent("Ag", line.second).height + 2;
    y = frame.top + (frame.height() - thanksHeight) / 2;
    for (const auto& [text, font] : thanks) {
        const int height = toolkit::Canvas::textExtent("Ag", font).height;
        const Rect line{frame.left + 2, y, frame.right - 2, y + height};
        ThanksLines.push_back(std::make_unique<Label>(&ThanksSheet, line, text, font, Alignment::centre));
        y += height + 2;
    }

    Hints.setFont(content.hintsFont);
    Hints.setScrollBars(content.hintsScrollBars);
    PageControl1.setActivePage(std::clamp(content.startPage, 0, PageControl1.pageCount() - 1));
    OKButton.onClick = [this] { OKButtonClick(); };
    setDefaultButton(&OKButton);
    onCloseRequest = [this] { FormClose(); };
}

void TuFAbout::open() { openTopLevel("About", /*alwaysOnTop*/ true); }

void TuFAbout::OKButtonClick() { FormClose(); }

void TuFAbout::FormClose() {
    // Closing frees the dialog: hidden now, destroyed by its owner right after.
    if (!isStillWindow()) return;
    requestClose();
    if (onClosed) onClosed();
}

// ---- AboutToggle -------------------------------------------------------------------------

AboutToggle::AboutToggle() = default;

AboutToggle::~AboutToggle() = default;

bool AboutToggle::toggle(platform::WindowSystem& windows, const AboutContent& content, toolkit::Zoom zoom) {
    if (dialog_ && dialog_->isStillWindow()) {
        dialog_.reset();
        return true;
    }
    dialog_.reset();  // closed by the user and not yet freed
    dialog_ = std::make_unique<TuFAbout>(windows, content);
    if (!freeTimer_) freeTimer_ = std::make_unique<toolkit::Timer>(windows, 1, [this] { freeClosedDialog(); }, false);
    dialog_->onClosed = [this] { freeTimer_->setEnabled(true); };
    dialog_->setZoom(zoom);
    dialog_->open();
    return false;
}

void AboutToggle::freeClosedDialog() {
    freeTimer_->setEnabled(false);
    if (dialog_ && !dialog_->isStillWindow()) dialog_.reset();
}

void* AboutToggle::aboutWindow() const {
    if (!isOpen() || !dialog_->window()) return nullptr;
    return dialog_->window()->nativeHandle();
}

bool AboutToggle::isOpen() const { return dialog_ && dialog_->isStillWindow(); }

}  // namespace controls
