// NiceButton.h — TNiceButton, the LED push button of Widefield's panel.
//
// The whole face is a frame of an image list, with the caption centred over it:
//   0 plain, 1 plain pressed, 2 lamp unlit, 3 unlit pressed, 4 lamp lit, 5 lit pressed.
// The pressed frame shows while a mouse button held down on the button has the
// pointer strictly inside (0 < x < width, 0 < y < height); the caption then moves
// one pixel down and right with the face. AutoToggle flips the lamp on a release
// strictly inside, for any mouse button; the toolkit's click (left button,
// release inside the client area counted from 0) comes before that release is
// handled, so a click handler still sees the lamp unflipped.
// Without an image list nothing is drawn but the control's background.
#pragma once

#include <string>

#include "toolkit/ImageList.h"
#include "toolkit/Panel.h"

namespace controls {

class TNiceButton : public toolkit::Panel {
public:
    TNiceButton(toolkit::Control* parent, toolkit::Rect bounds);

    bool AutoToggle() const { return autoToggle_; }
    void setAutoToggle(bool value) { autoToggle_ = value; }
    bool LEDon() const { return ledOn_; }
    void setLEDon(bool value);
    bool ShowLED() const { return showLed_; }
    void setShowLED(bool value);
    const toolkit::ImageList* Imagelist() const { return imageList_; }
    // Also gives the button the list's image size.
    void setImagelist(const toolkit::ImageList* list);
    const toolkit::Font& Font() const { return font_; }
    void setFont(const toolkit::Font& font);
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);

    // The state behind the face, for the panel and for tests.
    bool pressed() const { return pressed_; }
    bool pointerOutside() const { return pointerOutside_; }
    int frameIndex() const { return frameIndex_; }

    void paint(toolkit::Canvas& canvas) override;
    void mouseDown(toolkit::MouseButton button, const toolkit::ShiftState& shift, int x, int y) override;
    void mouseMove(const toolkit::ShiftState& shift, int x, int y) override;
    void mouseUp(toolkit::MouseButton button, const toolkit::ShiftState& shift, int x, int y) override;

private:
    // Chooses the frame for the present state and draws the face into the
    // window at once.
    void DrawFace();
    void chooseFrame();
    bool strictlyInside(int x, int y) const { return x > 0 && x < width() && y > 0 && y < height(); }

    bool autoToggle_ = false;
    bool ledOn_ = false;
    bool showLed_ = false;
    const toolkit::ImageList* imageList_ = nullptr;
    toolkit::Font font_;
    std::string caption_;
    bool pressed_ = false;
    bool pointerOutside_ = false;
    int frameIndex_ = 0;
};

}  // namespace controls
