// UpDown.h — a pair of arrow buttons stepping an integer position in a range.
//
// The upper (or right) arrow steps up by the increment, the lower (or left) one
// down; the position stops at the ends (no wrap). Every press on an arrow (and
// the up/down keys while focused) raises onClick with the arrow, after the
// position has moved. A position set from code is clamped and raises nothing.
#pragma once

#include <functional>

#include "toolkit/Control.h"

namespace toolkit {

class UpDown : public Control {
public:
    enum class Button { up, down };
    enum class Orientation { vertical, horizontal };

    UpDown(Control* parent, Rect bounds, int minimum = 0, int maximum = 100, int position = 0,
           Orientation orientation = Orientation::vertical);

    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    void setRange(int minimum, int maximum);
    int position() const { return position_; }
    void setPosition(int position);
    int increment() const { return increment_; }
    void setIncrement(int increment) { increment_ = increment; }

    std::function<void(Button)> onClick;

    // The arrow under a point, in the control's coordinates.
    Button buttonAt(int x, int y) const;
    // Steps as a press on `button` does, raising onClick.
    void step(Button button);

    bool focusable() const override { return true; }
    void paint(Canvas& canvas) override;
    void mouseDown(MouseButton button, const ShiftState& shift, int x, int y) override;
    void mouseUp(MouseButton button, const ShiftState& shift, int x, int y) override;
    void keyDown(const platform::KeyEvent& key) override;

private:
    Rect buttonRect(Button button) const;

    int minimum_;
    int maximum_;
    int position_;
    int increment_ = 1;
    Orientation orientation_;
    bool pressed_ = false;
    Button pressedButton_ = Button::up;
};

}  // namespace toolkit
