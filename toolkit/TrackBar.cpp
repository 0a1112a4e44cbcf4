// TrackBar.cpp — slider geometry, painting, mouse and keys.
//
// Geometry: the thumb (thumbThickness along the track) slides over the usable
// length, control length - thumbThickness; position p puts its leading edge at
// (p - min) * usable / (max - min), rounded down. The track is a sunken groove
// four pixels wide through the middle of the breadth (or nearer the top/left
// when ticks take the other side).
#include "toolkit/TrackBar.h"

#include <algorithm>

#include "toolkit/Bevel.h"
#include "toolkit/Colors.h"

namespace toolkit {

TrackBar::TrackBar(Control* parent, Rect bounds, Orientation orientation, int minimum, int maximum, int position)
    : Control(parent, bounds), orientation_(orientation), minimum_(minimum), maximum_(std::max(minimum, maximum)),
      position_(std::clamp(position, minimum_, maximum_)), color_(colors::buttonFace) {}

void TrackBar::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    invalidate();
    setPosition(position_);
}

void TrackBar::setPosition(int position) {
    const int clamped = std::clamp(position, minimum_, maximum_);
    if (clamped == position_) return;
    position_ = clamped;
    invalidate();
    if (onChange) onChange();
}

void TrackBar::setSelection(int start, int end) {
    if (start == selectionStart_ && end == selectionEnd_) return;
    selectionStart_ = start;
    selectionEnd_ = end;
    invalidate();
}

void TrackBar::setTickFrequency(int frequency) {
    if (frequency == tickFrequency_) return;
    tickFrequency_ = frequency;
    invalidate();
}

void TrackBar::setTickColor(Pixel color) {
    if (color == tickColor_) return;
    tickColor_ = color;
    invalidate();
}

void TrackBar::setColor(Pixel color) {
    if (color == color_) return;
    color_ = color;
    invalidate();
}

int TrackBar::thumbOffset(int position) const {
    const int usable = std::max(0, length() - thumbThickness);
    const long long span = static_cast<long long>(maximum_) - minimum_;
    if (span <= 0) return 0;
    return static_cast<int>((static_cast<long long>(position) - minimum_) * usable / span);
}

int TrackBar::positionAt(int coordinate) const {
    const int usable = std::max(1, length() - thumbThickness);
    const long long span = static_cast<long long>(maximum_) - minimum_;
    const long long offset = static_cast<long long>(coordinate) - thumbThickness / 2;
    // Nearest position to the offset, halves away from the minimum.
    const long long scaled = offset * span;
    long long steps = scaled >= 0 ? (2 * scaled + usable) / (2 * usable) : -((-2 * scaled + usable) / (2 * usable));
    steps = std::clamp<long long>(steps, 0, span);
    return static_cast<int>(minimum_ + steps);
}

int TrackBar::trackCentre() const {
    // With ticks the thumb and track sit nearer the top/left to leave the ticks room.
    const int b = breadth();
    if (tickFrequency_ > 0) return std::min(b / 2, thumbBreadth / 2 + 2);
    return b / 2;
}

Rect TrackBar::oriented(int alongStart, int alongEnd, int acrossStart, int acrossEnd) const {
    if (orientation_ == Orientation::horizontal) return Rect{alongStart, acrossStart, alongEnd, acrossEnd};
    return Rect{acrossStart, alongStart, acrossEnd, alongEnd};
}

Rect TrackBar::thumbRect() const {
    const int start = thumbOffset(position_);
    const int centre = trackCentre();
    const int half = std::min(thumbBreadth, breadth()) / 2;
    return oriented(start, start + thumbThickness, centre - half, centre - half + std::min(thumbBreadth, breadth()));
}

void TrackBar::paint(Canvas& canvas) {
    canvas.fillRect(Rect{0, 0, width(), height()}, color_);
    const int centre = trackCentre();
    const int trackStart = thumbThickness / 2 - 2, trackEnd = length() - thumbThickness / 2 + 2;
    // 1. The groove.
    const Rect groove = oriented(trackStart, trackEnd, centre - 2, centre + 2);
    const Rect inside = drawBevel(canvas, groove, BevelStyle::lowered);
    canvas.fillRect(inside, colors::white);
    // 2. The marked band inside the groove.
    if (hasSelection()) {
        const int from = thumbOffset(std::clamp(selectionStart_, minimum_, maximum_)) + thumbThickness / 2;
        const int to = thumbOffset(std::clamp(selectionEnd_, minimum_, maximum_)) + thumbThickness / 2 + 1;
        canvas.fillRect(oriented(from, to, centre - 1, centre + 1), colors::navy);
    }
    // 3. Tick marks on the far side of the thumb, at the multiples and both ends.
    if (tickFrequency_ > 0) {
        const int tickStart = centre + thumbBreadth / 2 + 2;
        const auto tick = [&](int p, int size) {
            const int at = thumbOffset(p) + thumbThickness / 2;
            canvas.fillRect(oriented(at, at + 1, tickStart, tickStart + size), tickColor_);
        };
        for (long long p = minimum_; p <= maximum_; p += tickFrequency_) tick(static_cast<int>(p), 3);
        tick(minimum_, 4);
        tick(maximum_, 4);
    }
    // 4. The thumb: a raised block with a dark outer edge.
    const Rect thumb = thumbRect();
    canvas.fillRect(thumb, color_);
    canvas.fillRect(Rect{thumb.left, thumb.bottom - 1, thumb.right, thumb.bottom}, colors::darkShadow);
    canvas.fillRect(Rect{thumb.right - 1, thumb.top, thumb.right, thumb.bottom}, colors::darkShadow);
    drawBevel(canvas, Rect{thumb.left, thumb.top, thumb.right - 1, thumb.bottom - 1}, BevelStyle::raised);
}

void TrackBar::mouseDown(MouseButton button, const ShiftState& shift, int x, int y) {
    if (button == MouseButton::left) {
        const Rect thumb = thumbRect();
        const int pointer = along(x, y);
        const int thumbStart = along(thumb.left, thumb.top);
        if (thumb.contains(x, y)) {
            dragging_ = true;
            dragMoved_ = false;
            dragStart_ = pointer;
            dragGrip_ = pointer - thumbStart;
        } else if (pointer < thumbStart) {
            setPosition(position_ - pageSize_);
        } else {
            setPosition(position_ + pageSize_);
        }
    }
    Control::mouseDown(button, shift, x, y);
}

void TrackBar::dragTo(int x, int y) {
    // A thumb pressed and let go where it was stays at its position, even where
    // pixels are coarser than positions.
    if (!dragMoved_ && along(x, y) == dragStart_) return;
    dragMoved_ = true;
    setPosition(positionAt(along(x, y) - dragGrip_ + thumbThickness / 2));
}

void TrackBar::mouseMove(const ShiftState& shift, int x, int y) {
    if (dragging_) dragTo(x, y);
    Control::mouseMove(shift, x, y);
}

void TrackBar::mouseUp(MouseButton button, const ShiftState& shift, int x, int y) {
    if (button == MouseButton::left && dragging_) {
        dragTo(x, y);
        dragging_ = false;
    }
    Control::mouseUp(button, shift, x, y);
}

bool TrackBar::mouseWheel(int steps, const ShiftState&) {
    setPosition(static_cast<int>(std::clamp<long long>(
        static_cast<long long>(position_) - static_cast<long long>(steps) * lineSize_, minimum_, maximum_)));
    return true;
}

void TrackBar::keyDown(const platform::KeyEvent& key) {
    using platform::Key;
    switch (key.key) {
        case Key::left:
        case Key::up: setPosition(position_ - lineSize_); break;
        case Key::right:
        case Key::down: setPosition(position_ + lineSize_); break;
        case Key::pageUp: setPosition(position_ - pageSize_); break;
        case Key::pageDown: setPosition(position_ + pageSize_); break;
        case Key::home: setPosition(minimum_); break;
        case Key::end: setPosition(maximum_); break;
        default: break;
    }
}

}  // namespace toolkit
