// UpDown.cpp — arrow geometry, stepping, painting.
#include "toolkit/UpDown.h"

#include <algorithm>

#include "toolkit/Bevel.h"
#include "toolkit/Colors.h"

namespace toolkit {

UpDown::UpDown(Control* parent, Rect bounds, int minimum, int maximum, int position, Orientation orientation)
    : Control(parent, bounds), minimum_(minimum), maximum_(std::max(minimum, maximum)),
      position_(std::clamp(position, minimum_, maximum_)), orientation_(orientation) {}

void UpDown::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    position_ = std::clamp(position_, minimum_, maximum_);
}

void UpDown::setPosition(int position) { position_ = std::clamp(position, minimum_, maximum_); }

Rect UpDown::buttonRect(Button button) const {
    if (orientation_ == Orientation::vertical) {
        const int half = height() / 2;
        return button == Button::up ? Rect{0, 0, width(), half} : Rect{0, half, width(), height()};
    }
    const int half = width() / 2;
    return button == Button::down ? Rect{0, 0, half, height()} : Rect{half, 0, width(), height()};
}

UpDown::Button UpDown::buttonAt(int x, int y) const {
    return buttonRect(Button::up).contains(x, y) ? Button::up : Button::down;
}

void UpDown::step(Button button) {
    const long long next = static_cast<long long>(position_) + (button == Button::up ? increment_ : -increment_);
    const int clamped = static_cast<int>(std::clamp<long long>(next, minimum_, maximum_));
    if (clamped != position_) {
        position_ = clamped;
        invalidate();
    }
    if (onClick) onClick(button);
}

void UpDown::paint(Canvas& canvas) {
    for (Button button : {Button::up, Button::down}) {
        const Rect r = buttonRect(button);
        const bool down = pressed_ && pressedButton_ == button;
        canvas.fillRect(r, colors::buttonFace);
        if (down) {
            canvas.frameRect(r, colors::buttonShadow);
        } else {
            canvas.fillRect(Rect{r.left, r.bottom - 1, r.right, r.bottom}, colors::darkShadow);
            canvas.fillRect(Rect{r.right - 1, r.top, r.right, r.bottom}, colors::darkShadow);
            drawBevel(canvas, Rect{r.left, r.top, r.right - 1, r.bottom - 1}, BevelStyle::raised);
        }
        // A small solid triangle in the middle, shifted with the pressed face.
        const int shift = down ? 1 : 0;
        const int cx = (r.left + r.right - 1) / 2 + shift, cy = (r.top + r.bottom - 1) / 2 + shift;
        const int size = std::max(1, std::min(r.width(), r.height()) / 4);
        for (int i = 0; i < size; ++i) {
            if (orientation_ == Orientation::vertical) {
                const int row = button == Button::up ? cy - size / 2 + i : cy + size / 2 - i;
                canvas.fillRect(Rect{cx - i, row, cx + i + 1, row + 1}, colors::black);
            } else {
                const int column = button == Button::down ? cx - size / 2 + i : cx + size / 2 - i;
                canvas.fillRect(Rect{column, cy - i, column + 1, cy + i + 1}, colors::black);
            }
        }
    }
}

void UpDown::mouseDown(MouseButton button, const ShiftState& shift, int x, int y) {
    if (button == MouseButton::left) {
        pressed_ = true;
        pressedButton_ = buttonAt(x, y);
        invalidate();
        step(pressedButton_);
    }
    Control::mouseDown(button, shift, x, y);
}

void UpDown::mouseUp(MouseButton button, const ShiftState& shift, int x, int y) {
    if (button == MouseButton::left && pressed_) {
        pressed_ = false;
        invalidate();
    }
    Control::mouseUp(button, shift, x, y);
}

void UpDown::keyDown(const platform::KeyEvent& key) {
    using platform::Key;
    const bool vertical = orientation_ == Orientation::vertical;
    if (key.key == (vertical ? Key::up : Key::right)) step(Button::up);
    if (key.key == (vertical ? Key::down : Key::left)) step(Button::down);
}

}  // namespace toolkit
