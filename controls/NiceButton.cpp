// NiceButton.cpp — face selection, drawing and the mouse rules of TNiceButton.
#include "controls/NiceButton.h"

namespace controls {

using toolkit::Canvas;
using toolkit::MouseButton;
using toolkit::ShiftState;

TNiceButton::TNiceButton(toolkit::Control* parent, toolkit::Rect bounds)
    : toolkit::Panel(parent, bounds, toolkit::colors::black, toolkit::BevelStyle::none) {}

void TNiceButton::setLEDon(bool value) {
    if (value == ledOn_) return;
    ledOn_ = value;
    DrawFace();
}

void TNiceButton::setShowLED(bool value) {
    showLed_ = value;
    DrawFace();
}

void TNiceButton::setImagelist(const toolkit::ImageList* list) {
    imageList_ = list;
    if (list) setSize(list->width(), list->height());
    invalidate();
}

void TNiceButton::setFont(const toolkit::Font& font) {
    font_ = font;
    DrawFace();
}

void TNiceButton::setCaption(const std::string& caption) {
    caption_ = caption;
    DrawFace();
}

void TNiceButton::chooseFrame() {
    frameIndex_ = showLed_ ? (ledOn_ ? 4 : 2) : 0;
    if (pressed_ && !pointerOutside_) frameIndex_ += 1;
}

void TNiceButton::DrawFace() {
    chooseFrame();
    // Only a button with a list has a face to show. It reaches the window now,
    // not at the next paint turn, so a press shows while the button is held
    // even when the host's idle calls are far apart.
    if (imageList_) repaint();
}

void TNiceButton::paint(Canvas& canvas) {
    chooseFrame();
    if (!imageList_) {
        canvas.fillRect(toolkit::Rect{0, 0, width(), height()}, color());
        return;
    }
    imageList_->draw(canvas, frameIndex_, 0, 0);
    const toolkit::TextExtent text = Canvas::textExtent(caption_, font_);
    int x = (width() - text.width) / 2;
    int y = (height() - text.height) / 2;
    if (pressed_ && !pointerOutside_) {
        ++x;
        ++y;
    }
    canvas.textOut(x, y, caption_, font_);
}

void TNiceButton::mouseDown(MouseButton button, const ShiftState& shift, int x, int y) {
    pressed_ = true;
    pointerOutside_ = false;
    DrawFace();
    toolkit::Panel::mouseDown(button, shift, x, y);
}

void TNiceButton::mouseMove(const ShiftState& shift, int x, int y) {
    if (pressed_) {
        pointerOutside_ = !strictlyInside(x, y);
        DrawFace();
    }
    toolkit::Panel::mouseMove(shift, x, y);
}

void TNiceButton::mouseUp(MouseButton button, const ShiftState& shift, int x, int y) {
    pressed_ = false;
    if (strictlyInside(x, y) && autoToggle_) ledOn_ = !ledOn_;
    DrawFace();
    toolkit::Panel::mouseUp(button, shift, x, y);
}

}  // namespace controls
